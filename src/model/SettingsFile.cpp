// settings.ini: read once at start-up, written once at exit.
#include "model/Settings.h"
#include "model/FileNames.h"
#include "model/SiteState.h"
#include "model/clsIniFile.h"
#include "platform/base/CodePage.h"
#include "platform/base/FileReplace.h"
#include "platform/base/PercentCode.h"
#include "platform/base/ProgramFolder.h"

#include <optional>
#include <string_view>
#include <variant>

using model::clsIniFile;

namespace {

struct WindowKey
{
    const char* name;
    int32_t* value;
};

// [WindowPositions] in writing order (width before height).
const WindowKey kWindowKeys[] = {
    {"MainWindowTop", &MainWindowTop},
    {"MainWindowLeft", &MainWindowLeft},
    {"MainWindowWidth", &MainWindowWidth},
    {"MainWindowHeight", &MainWindowHeight},
    {"NodeWindowTop", &NodeWindowTop},
    {"NodeWindowLeft", &NodeWindowLeft},
    {"DeviceWindowTop", &DeviceWindowTop},
    {"DeviceWindowLeft", &DeviceWindowLeft},
    {"HistoryWindowTop", &HistoryWindowTop},
    {"HistoryWindowLeft", &HistoryWindowLeft},
    {"HistoryWindowWidth", &HistoryWindowWidth},
    {"HistoryWindowHeight", &HistoryWindowHeight},
    {"ErrorCheckWindowTop", &ErrorCheckWindowTop},
    {"ErrorCheckWindowLeft", &ErrorCheckWindowLeft},
    {"ErrorCheckWindowWidth", &ErrorCheckWindowWidth},
    {"ErrorCheckWindowHeight", &ErrorCheckWindowHeight},
    {"CommsWindowWidth", &CommsWindowWidth},
    {"CommsWindowHeight", &CommsWindowHeight},
    {"DiagsWindowWidth", &DiagsWindowWidth},
    {"DiagsWindowHeight", &DiagsWindowHeight},
    {"TreeViewWindowTop", &TreeViewWindowTop},
    {"TreeViewWindowLeft", &TreeViewWindowLeft},
    {"TreeViewWindowWidth", &TreeViewWindowWidth},
    {"TreeViewWindowHeight", &TreeViewWindowHeight},
    {"StatsWindowTop", &StatsWindowTop},
    {"StatsWindowLeft", &StatsWindowLeft},
    {"StatsWindowWidth", &StatsWindowWidth},
    {"StatsWindowHeight", &StatsWindowHeight},
    {"GridWindowTop", &GridWindowTop},
    {"GridWindowLeft", &GridWindowLeft},
    {"GridWindowWidth", &GridWindowWidth},
    {"GridWindowHeight", &GridWindowHeight},
};

// The two quick-info modes are held as 32-bit values but stored as 16-bit.
struct Int32As16
{
    int32_t* value;
};

struct OptionKey
{
    const char* name;
    std::variant<bool*, int16_t*, Int32As16, std::string*> value;
};

// [Options] in writing and reading order.
const OptionKey kOptionKeys[] = {
    {"FilePaths", &FilePaths},
    {"ReOpenLastUsed", &ReOpenLastUsed},
    {"QuickInfo", Int32As16{&QuickInfoMode}},
    {"NodeQuickInfo", Int32As16{&NodeQuickInfoMode}},
    {"Toolbar", &Toolbar},
    {"LogProg", &LogProg},
    {"LogDiags", &LogDiags},
    {"CommsCloseOnComplete", &CommsCloseOnComplete},
    {"StatsUsedFree", &StatsUsedFree},
    {"StatsViewBy", &StatsViewBy},
    {"CheckOnOpen", &CheckOnOpen},
    {"CheckOnClose", &CheckOnClose},
    {"DropOnParent", &DropOnParent},
    {"ConfirmDiffs", &ConfirmDiffs},
    {"LogPaths", &LogFolder},
    {"PortOn", &PortEnabled},
    {"PortCom", &PortNumber},
    {"PortBaud", &PortBaudIndex},
    {"PortBits", &PortDataBits},
    {"PortStop", &PortStopBits},
    {"PortParity", &PortParity},
    {"PortDTR", &PortDTR},
    {"PortRTS", &PortRTS},
};

std::string MruKey(std::size_t i)
{
    return "MRU" + std::to_string(i);
}

// A recent file whose name the code page cannot hold as text (a name that is
// not valid UTF-8, one with characters outside the code page, or one with a
// line end, which a line of the file cannot hold) keeps its
// bytes under a second key, the entry's key followed by "Bytes": each byte
// outside printable ASCII, and "%", written as "%" and two upper-case hex
// digits. The entry's own key then holds the same bytes read as the code
// page, which is what a reader without the second key makes of them.
std::string MruBytesKey(std::size_t i)
{
    return MruKey(i) + "Bytes";
}

std::string EscapeBytes(std::string_view bytes)
{
    return platform::PercentEncode(bytes, [](unsigned char b) { return b >= 0x20 && b <= 0x7E && b != '%'; });
}

// Nothing when the text is not printable ASCII with every "%" starting a byte.
std::optional<std::string> UnescapeBytes(std::string_view text)
{
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x20 || b > 0x7E)
            return std::nullopt;
        if (b != '%') {
            bytes += text[i];
            continue;
        }
        const std::optional<char> byte = platform::PercentByteAt(text, i);
        if (!byte)
            return std::nullopt;
        bytes += *byte;
        i += 2;
    }
    return bytes;
}

// Entry i as settings.ini holds it. Its bytes, when stored; otherwise its
// text, unless no file has that name while one has the name's bytes as the
// code page writes them (a file named on a system whose names are not UTF-8).
// An entry whose name holds a NUL is dropped (read as empty).
std::string ReadMruEntry(const clsIniFile& ini, std::size_t i)
{
    if (const std::string escaped = ini.GetString(MruBytesKey(i), ""); !escaped.empty())
        if (std::optional<std::string> bytes = UnescapeBytes(escaped); bytes && !bytes->empty())
            return platform::NameHoldsNul(*bytes) ? std::string() : *std::move(bytes);
    std::string text = ini.GetString(MruKey(i), "");
    if (platform::NameHoldsNul(text))
        return {};
    if (std::string bytes = platform::Utf8ToWin1252(text); bytes != text && !model::FileExists(text) && model::FileExists(bytes))
        return bytes;
    return text;
}

template <class... F> struct Visitor : F...
{
    using F::operator()...;
};
template <class... F> Visitor(F...) -> Visitor<F...>;

} // namespace

void LoadSettings()
{
    clsIniFile ini;
    ini.sFileName(SettingsPath());
    LoadSettings(ini);
}

void LoadSettings(clsIniFile& ini)
{
    // Every value starts at its default, which a key that is absent or
    // empty leaves in place.
    ResetSettings();

    ini.sSectionName("WindowPositions");
    for (const auto& key : kWindowKeys)
        *key.value = ini.GetLong(key.name, *key.value);

    ini.sSectionName("Drawing");
    DisplayMode = ini.GetInteger("DisplayMode", -2);

    ini.sSectionName("Options");
    for (const auto& key : kOptionKeys)
        std::visit(
            Visitor{
                [&](bool* v) { *v = ini.GetBoolean(key.name, *v); },
                [&](int16_t* v) { *v = ini.GetInteger(key.name, *v); },
                [&](Int32As16 v) { *v.value = ini.GetInteger(key.name, static_cast<int16_t>(*v.value)); },
                // A folder whose name holds a NUL names none: it is not kept.
                [&](std::string* v) {
                    if (std::string text = ini.GetString(key.name, *v); !platform::NameHoldsNul(text))
                        *v = std::move(text);
                },
            },
            key.value);

    ini.sSectionName("MRUList");
    for (std::size_t i = 1; i < MruFiles.size(); ++i)
        MruFiles[i] = ReadMruEntry(ini, i);

    LoopCount = 4;
    MaxLoopAddress = 126;
    LoopProtocol = 1;
}

bool SaveSettings(std::string* error)
{
    // A fresh model: the file is replaced whole, so a line the reader could
    // not make sense of does not survive the exit.
    clsIniFile ini;
    ini.NewFile(SettingsPath());

    ini.sSectionName("WindowPositions");
    for (const auto& key : kWindowKeys)
        if (*key.value >= 0) // a window dragged off the screen gets its default back
            ini.SetLong(key.name, *key.value);

    ini.sSectionName("Drawing");
    ini.SetInteger("DisplayMode", DisplayMode == -2 ? int16_t{3} : DisplayMode);

    ini.sSectionName("Options");
    for (const auto& key : kOptionKeys)
        std::visit(Visitor{
                       [&](bool* v) { ini.SetBoolean(key.name, *v); },
                       [&](int16_t* v) { ini.SetInteger(key.name, *v); },
                       [&](Int32As16 v) { ini.SetInteger(key.name, static_cast<int16_t>(*v.value)); },
                       // A path the code page cannot store is left out
                       // rather than written with "?" in it, and so is one
                       // holding a NUL.
                       [&](std::string* v) {
                           if (platform::IsWin1252Representable(*v) && !platform::NameHoldsNul(*v))
                               ini.SetString(key.name, *v);
                       },
                   },
                   key.value);

    ini.sSectionName("MRUList");
    for (std::size_t i = 1; i < MruFiles.size(); ++i) {
        if (platform::NameHoldsNul(MruFiles[i])) { // names no file
            ini.SetString(MruKey(i), "");
        } else if (platform::IsWin1252Representable(MruFiles[i]) &&
                   MruFiles[i].find_first_of("\r\n") == std::string::npos) {
            ini.SetString(MruKey(i), MruFiles[i]);
        } else {
            ini.SetString(MruKey(i), platform::Win1252ToUtf8(MruFiles[i]));
            ini.SetString(MruBytesKey(i), EscapeBytes(MruFiles[i]));
        }
    }

    return ini.SaveFile(error);
}
