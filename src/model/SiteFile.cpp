#include "model/SiteFile.h"

#include "model/DeviceTypes.h"
#include "model/FileNames.h"
#include "model/General.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "model/clsIniFile.h"
#include "platform/base/FileReplace.h"

#include <array>
#include <filesystem>
#include <system_error>

namespace model {
namespace {

SiteFileObserver g_silent;
SiteFileObserver* g_observer = &g_silent;
bool g_saving = false;

constexpr int kBarMaximum = 1000;
constexpr int kBarAfterGeneral = 8;

std::string NodeSection(int n)
{
    return "Node" + std::to_string(n);
}

// The five keys of a slot ("Dev7Type" ...), made once: a site file has 160
// of them per node, and every save and load asks for each.
enum DeviceField
{
    kType,
    kLoop,
    kAddress,
    kIdent,
    kName,
    kFieldCount
};

const std::string& DeviceKey(int slot, DeviceField field)
{
    static const auto keys = [] {
        static constexpr const char* kFieldWords[kFieldCount] = {"Type", "Loop", "Address", "Ident", "Name"};
        std::array<std::array<std::string, kFieldCount>, kLastSlot + 1> made;
        for (int j = 0; j <= kLastSlot; ++j)
            for (int f = 0; f < kFieldCount; ++f)
                made[static_cast<std::size_t>(j)][static_cast<std::size_t>(f)] =
                    "Dev" + std::to_string(j) + kFieldWords[f];
        return made;
    }();
    return keys[static_cast<std::size_t>(slot)][static_cast<std::size_t>(field)];
}

// The main window's bar: a value that is raised by steps and capped.
class Bar
{
public:
    explicit Bar(int maximum) { g_observer->ShowProgress(maximum); }
    ~Bar() { g_observer->HideProgress(); }
    Bar(const Bar&) = delete;
    Bar& operator=(const Bar&) = delete;

    void Set(int value)
    {
        value_ = value;
        g_observer->SetProgressValue(value_);
        g_observer->Yield();
    }
    // Raises the value by step while it is below limit, then yields.
    void Raise(int step, int limit)
    {
        if (value_ < limit)
            value_ += step;
        g_observer->SetProgressValue(value_);
        g_observer->Yield();
    }

private:
    int value_ = 0;
};

bool HasDeviceSlots(int n)
{
    return n != 0 || IsLoopInterface;
}

// A stored 0 means "not set" for loops and addresses.
int16_t NotZero(int16_t value)
{
    return value == 0 ? int16_t{-1} : value;
}

void WriteNode(clsIniFile& ini, const clsNode& node, int n)
{
    ini.sSectionName(NodeSection(n));
    ini.SetLong("Left", node.Left());
    ini.SetLong("Top", node.Top());
    ini.SetInteger("Number", node.NodeNumber());
    ini.SetInteger("Parent", node.Parent());
    ini.SetString("NodeIdent", node.NodeIdent());
    ini.SetString("NodeName", node.Name());
    ini.SetInteger("NodeLoop", node.NodeLoop());
    ini.SetInteger("NodeAddress", node.NodeAddress());
    ini.SetBoolean("InUse", node.InUse());
    if (HasDeviceSlots(n)) {
        ini.SetInteger("XChannelA", node.X_ChannelA());
        ini.SetInteger("XChannelB", node.X_ChannelB());
    } else {
        ini.SetInteger("YChannelA", node.Y_ChannelA());
        ini.SetInteger("YChannelB", node.Y_ChannelB());
    }
}

void WriteSlot(clsIniFile& ini, const clsNode& node, int j)
{
    ini.SetLong(DeviceKey(j, kType), node.DeviceType(j));
    ini.SetInteger(DeviceKey(j, kLoop), node.DeviceLoop(j));
    ini.SetInteger(DeviceKey(j, kAddress), node.DeviceAddress(j));
    ini.SetString(DeviceKey(j, kIdent), node.DeviceIdent(j));
    ini.SetString(DeviceKey(j, kName), node.DeviceName(j));
}

void ReadNode(const clsIniFile& ini, clsNode& node, int n)
{
    node.SetLeft(ini.GetLong("Left", 0));
    node.SetTop(ini.GetLong("Top", 0));
    node.SetNodeNumber(ini.GetInteger("Number", 0));
    node.SetParent(ini.GetInteger("Parent", -1));
    node.SetNodeIdent(ini.GetString("NodeIdent", ""));
    node.SetName(ini.GetString("NodeName", ""));
    node.SetNodeLoop(NotZero(ini.GetInteger("NodeLoop", -1)));
    node.SetNodeAddress(NotZero(ini.GetInteger("NodeAddress", -1)));
    if (node.NodeLoop() != -1 && node.NodeAddress() != -1)
        SetOwner(LoopAddressOwner, node.NodeLoop(), node.NodeAddress(), static_cast<int16_t>(n * 100));
    if (HasDeviceSlots(n)) {
        node.SetX_ChannelA(ini.GetInteger("XChannelA", 0));
        node.SetX_ChannelB(ini.GetInteger("XChannelB", 0));
    } else {
        node.SetY_ChannelA(ini.GetInteger("YChannelA", 0));
        node.SetY_ChannelB(ini.GetInteger("YChannelB", 0));
    }
}

void ReadSlot(const clsIniFile& ini, clsNode& node, int n, int j)
{
    node.SetDeviceType(j, ini.GetLong(DeviceKey(j, kType), 0));
    node.SetDeviceLoop(j, NotZero(ini.GetInteger(DeviceKey(j, kLoop), -1)));
    node.SetDeviceAddress(j, NotZero(ini.GetInteger(DeviceKey(j, kAddress), -1)));
    node.SetDeviceIdent(j, ini.GetString(DeviceKey(j, kIdent), ""));
    node.SetDeviceName(j, ini.GetString(DeviceKey(j, kName), ""));
    const int loop = node.DeviceLoop(j);
    const int address = node.DeviceAddress(j);
    if (loop == -1 || address == -1)
        return;
    // SetOwner skips a cell beyond the table (an address above 128, or the
    // second address of a head at 128).
    const auto owner = static_cast<int16_t>(n * 100 + j);
    SetOwner(LoopAddressOwner, loop, address, owner);
    if (IsComboHeadType(node.DeviceType(j)))
        SetOwner(LoopAddressOwner, loop, address + 1, owner);
}

} // namespace

void SetSiteFileObserver(SiteFileObserver* observer)
{
    g_observer = observer != nullptr ? observer : &g_silent;
}

bool SaveSiteFile(const std::string& path, std::string* error)
{
    if (g_saving) {
        if (error != nullptr)
            *error = "A save is already in progress.";
        return false;
    }
    if (path.empty()) {
        if (error != nullptr)
            *error = "No file name was given.";
        return false;
    }
    if (platform::IsReadOnlyFile(path)) {
        if (error != nullptr)
            *error = "\"" + path + "\" is read-only.";
        return false;
    }
    g_saving = true;
    struct ClearFlag
    {
        ~ClearFlag() { g_saving = false; }
    } clearFlag;
    Bar bar(kBarMaximum);

    clsIniFile ini;
    ini.NewFile(path);
    ini.sSectionName("General");
    ini.SetInteger("DisplayMode", DisplayMode == -2 ? int16_t{3} : DisplayMode);
    ini.SetString("SiteName", SiteName);
    ini.SetLong("SiteNameX", SiteNameX);
    ini.SetLong("SiteNameY", SiteNameY);
    ini.SetBoolean("ShowSiteName", ShowSiteName);
    ini.SetBoolean("BorderSiteName", BorderSiteName);
    ini.SetBoolean("Locked", Locked);
    ini.SetInteger("NumLoops", LoopCount);
    ini.SetInteger("Protocol", LoopProtocol);
    ini.SetBoolean("IsLoopInterface", IsLoopInterface);
    bar.Set(kBarAfterGeneral);

    for (int n = 0; n < kNodeCount; ++n) {
        const clsNode& node = Nodes[static_cast<std::size_t>(n)];
        if (node.InUse())
            WriteNode(ini, node, n);
        // Slot 0 is written too, with what the node gives for it.
        for (int j = 0; j <= kLastSlot; ++j) {
            if (node.InUse() && HasDeviceSlots(n))
                WriteSlot(ini, node, j);
            bar.Raise(1, kBarMaximum);
        }
    }

    g_observer->SetStatusText("Writing [" + TrimBlanks(FileNameFromPath(SiteFileName)) + "]");
    g_observer->SetProgressMaximum(ini.GetWriteCount());
    g_observer->SetProgressValue(0);
    ini.Progress(ini.GetWriteCount(), [](int value) { g_observer->SetProgressValue(value); });
    if (!ini.SaveFile(error))
        return false;
    FileChanged = false;
    return true;
}

void LoadSiteFile(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return;
    Bar bar(kBarMaximum);
    g_observer->ClearScreen();
    for (int loop = 1; loop <= 4; ++loop)
        for (int address = 1; address <= 128; ++address)
            SetOwner(LoopAddressOwner, loop, address, -1);

    std::array<bool, kNodeCount> inUse{};
    {
        clsIniFile ini;
        ini.sFileName(path);
        ini.sSectionName("General");
        DisplayMode = ini.GetInteger("DisplayMode", -2);
        if (DisplayMode != -2) {
            SiteName = ini.GetString("SiteName", " Site Name ");
            SiteNameX = ini.GetLong("SiteNameX", 100);
            SiteNameY = ini.GetLong("SiteNameY", 100);
            ShowSiteName = ini.GetBoolean("ShowSiteName", true);
            BorderSiteName = ini.GetBoolean("BorderSiteName", true);
            Locked = ini.GetBoolean("Locked", false);
            LoopCount = ini.GetInteger("NumLoops", 4);
            LoopProtocol = ini.GetInteger("Protocol", 1);
            IsLoopInterface = ini.GetBoolean("IsLoopInterface", false);
            MaxLoopAddress = LoopProtocol == 1 ? 126 : 127;
            bar.Set(kBarAfterGeneral);

            for (int n = 0; n < kNodeCount; ++n) {
                clsNode& node = Nodes[static_cast<std::size_t>(n)];
                ini.sSectionName(NodeSection(n));
                inUse[static_cast<std::size_t>(n)] = ini.GetBoolean("InUse", false);
                const bool used = inUse[static_cast<std::size_t>(n)];
                if (used)
                    ReadNode(ini, node, n);
                // A loop-interface site reads the slots of nodes not in use
                // too: their sections are absent, so they read empty.
                if ((used && n != 0) || IsLoopInterface) {
                    for (int j = 1; j <= kLastSlot; ++j) {
                        ReadSlot(ini, node, n, j);
                        bar.Raise(1, kBarMaximum);
                    }
                } else {
                    bar.Raise(kLastSlot, kBarMaximum - kLastSlot);
                }
            }
        }
    }
    for (int n = 0; n < kNodeCount; ++n)
        Nodes[static_cast<std::size_t>(n)].SetInUse(inUse[static_cast<std::size_t>(n)]);
    FileChanged = false;
}

void ResetSiteFile()
{
    g_saving = false;
    g_observer = &g_silent;
}

} // namespace model
