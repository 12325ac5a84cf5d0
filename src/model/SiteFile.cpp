#include "model/SiteFile.h"

#include "model/DeviceTypes.h"
#include "model/FileNames.h"
#include "model/General.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "model/IniWriter.h"
#include "model/clsIniFile.h"
#include "platform/base/FileReplace.h"

#include <array>
#include <string_view>
#include <vector>
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
// of them per node.
enum DeviceField
{
    kType,
    kLoop,
    kAddress,
    kIdent,
    kName,
    kFieldCount
};

constexpr std::array<std::string_view, kFieldCount> kFieldWords = {"Type", "Loop", "Address", "Ident", "Name"};

const std::string& DeviceKey(int slot, DeviceField field)
{
    static const auto keys = [] {
        std::array<std::array<std::string, kFieldCount>, kLastSlot + 1> made;
        for (int j = 0; j <= kLastSlot; ++j)
            for (int f = 0; f < kFieldCount; ++f)
                made[static_cast<std::size_t>(j)][static_cast<std::size_t>(f)] =
                    "Dev" + std::to_string(j) + std::string(kFieldWords[static_cast<std::size_t>(f)]);
        return made;
    }();
    return keys[static_cast<std::size_t>(slot)][static_cast<std::size_t>(field)];
}

// The keys of [General] and of a node's section, in the order written.
enum GeneralField
{
    kDisplayMode,
    kSiteName,
    kSiteNameX,
    kSiteNameY,
    kShowSiteName,
    kBorderSiteName,
    kLocked,
    kNumLoops,
    kProtocol,
    kIsLoopInterface,
    kGeneralCount
};
constexpr std::array<std::string_view, kGeneralCount> kGeneralKeys = {
    "DisplayMode", "SiteName", "SiteNameX", "SiteNameY", "ShowSiteName",
    "BorderSiteName", "Locked", "NumLoops", "Protocol", "IsLoopInterface"};

enum NodeField
{
    kLeft,
    kTop,
    kNumber,
    kParent,
    kNodeIdent,
    kNodeName,
    kNodeLoop,
    kNodeAddress,
    kInUse,
    kXChannelA,
    kXChannelB,
    kYChannelA,
    kYChannelB,
    kNodeCountOfFields
};
constexpr std::array<std::string_view, kNodeCountOfFields> kNodeKeys = {
    "Left",     "Top",   "Number",    "Parent",    "NodeIdent", "NodeName", "NodeLoop",
    "NodeAddress", "InUse", "XChannelA", "XChannelB", "YChannelA", "YChannelB"};

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

void WriteNode(IniWriter& ini, const clsNode& node, int n)
{
    ini.Section(NodeSection(n));
    ini.Long("Left", node.Left());
    ini.Long("Top", node.Top());
    ini.Integer("Number", node.NodeNumber());
    ini.Integer("Parent", node.Parent());
    ini.String("NodeIdent", node.NodeIdent());
    ini.String("NodeName", node.Name());
    ini.Integer("NodeLoop", node.NodeLoop());
    ini.Integer("NodeAddress", node.NodeAddress());
    ini.Boolean("InUse", node.InUse());
    if (HasDeviceSlots(n)) {
        ini.Integer("XChannelA", node.X_ChannelA());
        ini.Integer("XChannelB", node.X_ChannelB());
    } else {
        ini.Integer("YChannelA", node.Y_ChannelA());
        ini.Integer("YChannelB", node.Y_ChannelB());
    }
}

void WriteSlot(IniWriter& ini, const clsNode& node, int j)
{
    ini.Long(DeviceKey(j, kType), node.DeviceType(j));
    ini.Integer(DeviceKey(j, kLoop), node.DeviceLoop(j));
    ini.Integer(DeviceKey(j, kAddress), node.DeviceAddress(j));
    ini.String(DeviceKey(j, kIdent), node.DeviceIdent(j));
    ini.String(DeviceKey(j, kName), node.DeviceName(j));
}

// The values of a site file, found in one pass over its key lines as the
// INI getters would find them one by one: for each key, the first line of
// that name under a section entry of that name. A key not found reads as an
// empty value, which the getters take as absent.
class SiteValues
{
public:
    explicit SiteValues(const clsIniFile& ini) : ini_(ini)
    {
        std::vector<int> owner(ini.SectionEntryCount());
        for (std::size_t e = 0; e < owner.size(); ++e)
            owner[e] = SectionOwner(ini.SectionEntry(e));
        for (std::size_t i = 0; i < ini.KeyCount(); ++i) {
            const clsIniFile::KeyLine line = ini.KeyAt(i);
            const int n = owner[line.entry];
            const auto number = static_cast<Line>(i + 1);
            if (n == kGeneral)
                Take(general_, kGeneralKeys, generalHint_, line.key, number);
            else if (n >= 0)
                TakeNodeKey(nodes_[static_cast<std::size_t>(n)], line.key, number);
        }
    }

    std::string_view General(GeneralField field) const { return Value(general_[field]); }
    std::string_view Node(int n, NodeField field) const
    {
        return Value(nodes_[static_cast<std::size_t>(n)].node[field]);
    }
    std::string_view Slot(int n, int j, DeviceField field) const
    {
        return Value(nodes_[static_cast<std::size_t>(n)].slots[static_cast<std::size_t>(j)][field]);
    }

private:
    static constexpr int kGeneral = -1;
    static constexpr int kOther = -2;

    // The number + 1 of the key line that holds a value; 0 for none.
    using Line = uint16_t;
    static_assert(clsIniFile::kMaxEntries < 0xFFFF);
    template <std::size_t N> using Fields = std::array<Line, N>;
    struct NodeValues
    {
        Fields<kNodeCountOfFields> node{};
        std::size_t hint = 0;
        std::array<Fields<kFieldCount>, kLastSlot + 1> slots{};
    };

    std::string_view Value(Line line) const { return line == 0 ? std::string_view() : ini_.KeyAt(line - 1u).value; }

    // A number of up to two digits as to_string writes it (no leading zero),
    // below limit; -1 for anything else.
    static int SmallNumber(std::string_view digits, int limit)
    {
        if (digits.empty() || digits.size() > 2 || (digits.size() == 2 && digits[0] == '0'))
            return -1;
        int value = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9')
                return -1;
            value = value * 10 + (c - '0');
        }
        return value < limit ? value : -1;
    }

    static int SectionOwner(std::string_view name)
    {
        if (name == "General")
            return kGeneral;
        if (name.substr(0, 4) != "Node")
            return kOther;
        const int n = SmallNumber(name.substr(4), kNodeCount);
        return n >= 0 ? n : kOther;
    }

    // Keeps the first line of a name; a getter does not see later ones.
    static void Keep(Line& field, Line line)
    {
        if (field == 0)
            field = line;
    }

    // The key among names, trying first the one after the last match (files
    // are written in order).
    template <std::size_t N>
    static void Take(Fields<N>& fields, const std::array<std::string_view, N>& names, std::size_t& hint,
                     std::string_view key, Line line)
    {
        for (std::size_t tried = 0; tried < N; ++tried) {
            const std::size_t f = (hint + tried) % N;
            if (names[f] == key) {
                Keep(fields[f], line);
                hint = f + 1;
                return;
            }
        }
    }

    static void TakeNodeKey(NodeValues& values, std::string_view key, Line line)
    {
        if (key.size() > 3 && key[0] == 'D' && key[1] == 'e' && key[2] == 'v') {
            std::size_t digits = 3;
            while (digits < key.size() && key[digits] >= '0' && key[digits] <= '9')
                ++digits;
            const int j = SmallNumber(key.substr(3, digits - 3), kLastSlot + 1);
            if (j < 0)
                return;
            const std::string_view word = key.substr(digits);
            for (std::size_t f = 0; f < kFieldCount; ++f)
                if (kFieldWords[f] == word)
                    return Keep(values.slots[static_cast<std::size_t>(j)][f], line);
            return;
        }
        Take(values.node, kNodeKeys, values.hint, key, line);
    }

    const clsIniFile& ini_;
    Fields<kGeneralCount> general_{};
    std::size_t generalHint_ = 0;
    std::array<NodeValues, kNodeCount> nodes_{};
};

int32_t ReadLong(std::string_view text, int32_t defaultValue)
{
    return clsIniFile::ReadLong(text, defaultValue);
}

int16_t ReadInteger(std::string_view text, int16_t defaultValue)
{
    return clsIniFile::ReadInteger(text, defaultValue);
}

std::string ReadString(std::string_view text, const char* defaultValue)
{
    return text.empty() ? std::string(defaultValue) : std::string(text);
}

void ReadNode(const SiteValues& values, clsNode& node, int n)
{
    const auto value = [&](NodeField field) { return values.Node(n, field); };
    node.SetLeft(ReadLong(value(kLeft), 0));
    node.SetTop(ReadLong(value(kTop), 0));
    node.SetNodeNumber(ReadInteger(value(kNumber), 0));
    node.SetParent(ReadInteger(value(kParent), -1));
    node.SetNodeIdent(ReadString(value(kNodeIdent), ""));
    node.SetName(ReadString(value(kNodeName), ""));
    node.SetNodeLoop(NotZero(ReadInteger(value(kNodeLoop), -1)));
    node.SetNodeAddress(NotZero(ReadInteger(value(kNodeAddress), -1)));
    if (node.NodeLoop() != -1 && node.NodeAddress() != -1)
        SetOwner(LoopAddressOwner, node.NodeLoop(), node.NodeAddress(), static_cast<int16_t>(n * 100));
    if (HasDeviceSlots(n)) {
        node.SetX_ChannelA(ReadInteger(value(kXChannelA), 0));
        node.SetX_ChannelB(ReadInteger(value(kXChannelB), 0));
    } else {
        node.SetY_ChannelA(ReadInteger(value(kYChannelA), 0));
        node.SetY_ChannelB(ReadInteger(value(kYChannelB), 0));
    }
}

void ReadSlot(const SiteValues& values, clsNode& node, int n, int j)
{
    const auto value = [&](DeviceField field) { return values.Slot(n, j, field); };
    node.SetDeviceType(j, ReadLong(value(kType), 0));
    node.SetDeviceLoop(j, NotZero(ReadInteger(value(kLoop), -1)));
    node.SetDeviceAddress(j, NotZero(ReadInteger(value(kAddress), -1)));
    node.SetDeviceIdent(j, ReadString(value(kIdent), ""));
    node.SetDeviceName(j, ReadString(value(kName), ""));
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

    IniWriter ini;
    ini.Section("General");
    ini.Integer("DisplayMode", DisplayMode == -2 ? int16_t{3} : DisplayMode);
    ini.String("SiteName", SiteName);
    ini.Long("SiteNameX", SiteNameX);
    ini.Long("SiteNameY", SiteNameY);
    ini.Boolean("ShowSiteName", ShowSiteName);
    ini.Boolean("BorderSiteName", BorderSiteName);
    ini.Boolean("Locked", Locked);
    ini.Integer("NumLoops", LoopCount);
    ini.Integer("Protocol", LoopProtocol);
    ini.Boolean("IsLoopInterface", IsLoopInterface);
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
    g_observer->SetProgressMaximum(ini.LineCount());
    g_observer->SetProgressValue(0);
    if (!ini.Save(path, [](int value) { g_observer->SetProgressValue(value); }, error))
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
    clsIniFile ini;
    ini.sFileName(path);
    const SiteValues values(ini);
    DisplayMode = ReadInteger(values.General(kDisplayMode), -2);
    if (DisplayMode != -2) {
        SiteName = ReadString(values.General(kSiteName), " Site Name ");
        SiteNameX = ReadLong(values.General(kSiteNameX), 100);
        SiteNameY = ReadLong(values.General(kSiteNameY), 100);
        ShowSiteName = clsIniFile::ReadBoolean(values.General(kShowSiteName), true);
        BorderSiteName = clsIniFile::ReadBoolean(values.General(kBorderSiteName), true);
        Locked = clsIniFile::ReadBoolean(values.General(kLocked), false);
        LoopCount = ReadInteger(values.General(kNumLoops), 4);
        LoopProtocol = ReadInteger(values.General(kProtocol), 1);
        IsLoopInterface = clsIniFile::ReadBoolean(values.General(kIsLoopInterface), false);
        MaxLoopAddress = LoopProtocol == 1 ? 126 : 127;
        bar.Set(kBarAfterGeneral);

        for (int n = 0; n < kNodeCount; ++n) {
            clsNode& node = Nodes[static_cast<std::size_t>(n)];
            const bool used = clsIniFile::ReadBoolean(values.Node(n, kInUse), false);
            inUse[static_cast<std::size_t>(n)] = used;
            if (used)
                ReadNode(values, node, n);
            // A loop-interface site reads the slots of nodes not in use
            // too: their sections are absent, so they read empty.
            if ((used && n != 0) || IsLoopInterface) {
                for (int j = 1; j <= kLastSlot; ++j) {
                    ReadSlot(values, node, n, j);
                    bar.Raise(1, kBarMaximum);
                }
            } else {
                bar.Raise(kLastSlot, kBarMaximum - kLastSlot);
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
