#include "platform/base/RegistryStore.h"

#include "platform/base/FileReplace.h"
#include "platform/base/PercentCode.h"
#include "platform/base/ProgramFolder.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace platform {
namespace {

std::string g_folder;

// Value files start with "=", which an encoded key name never does.
constexpr char kValuePrefix = '=';

std::string Encode(const std::string& name)
{
    const bool onlyDots = !name.empty() && name.find_first_not_of('.') == std::string::npos;
    return PercentEncode(name, [onlyDots](unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ' ||
               c == '_' || c == '-' || (c == '.' && !onlyDots);
    });
}

// A "%" not followed by two hex digits (a name the store did not write)
// stays as it is.
std::string Decode(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const std::optional<char> byte = PercentByteAt(text, i)) {
            out += *byte;
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::optional<fs::path> KeyFolder(int32_t root, const std::string& key)
{
    const char* rootName = nullptr;
    switch (root) {
    case kRegClassesRoot:
        rootName = "HKEY_CLASSES_ROOT";
        break;
    case kRegCurrentUser:
        rootName = "HKEY_CURRENT_USER";
        break;
    case kRegLocalMachine:
        rootName = "HKEY_LOCAL_MACHINE";
        break;
    case kRegUsers:
        rootName = "HKEY_USERS";
        break;
    default:
        return std::nullopt;
    }
    fs::path path = fs::path(RegistryFolder()) / rootName;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t end = key.find('\\', start);
        if (end == std::string::npos)
            end = key.size();
        if (end > start)
            path /= Encode(key.substr(start, end - start));
        start = end + 1;
    }
    return path;
}

std::optional<fs::path> ExistingKey(int32_t root, const std::string& key)
{
    auto path = KeyFolder(root, key);
    std::error_code ec;
    if (!path || !fs::is_directory(*path, ec))
        return std::nullopt;
    return path;
}

fs::path ValueFile(const fs::path& keyFolder, const std::string& name)
{
    return keyFolder / (kValuePrefix + Encode(name));
}

std::vector<std::string> ListEntries(int32_t root, const std::string& key, bool values)
{
    std::vector<std::string> names;
    const auto path = ExistingKey(root, key);
    if (!path)
        return names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(*path, ec)) {
        const std::string file = entry.path().filename().string();
        const bool isValue = !file.empty() && file[0] == kValuePrefix;
        if (values && isValue)
            names.push_back(Decode(file.substr(1)));
        else if (!values && !isValue && entry.is_directory(ec))
            names.push_back(Decode(file));
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

std::string RegistryFolder()
{
    return g_folder.empty() ? JoinPath(UserConfigFolder(), "registry") : g_folder;
}

void SetRegistryFolder(const std::string& path)
{
    g_folder = path;
}

bool RegKeyExists(int32_t root, const std::string& key)
{
    return ExistingKey(root, key).has_value();
}

bool RegCreateKey(int32_t root, const std::string& key)
{
    const auto path = KeyFolder(root, key);
    if (!path)
        return false;
    std::error_code ec;
    fs::create_directories(*path, ec);
    return fs::is_directory(*path, ec);
}

bool RegDeleteKey(int32_t root, const std::string& key)
{
    const auto path = ExistingKey(root, key);
    if (!path || !RegEnumKeys(root, key).empty() || *path == *KeyFolder(root, ""))
        return false;
    std::error_code ec;
    fs::remove_all(*path, ec);
    return !ec;
}

bool RegQueryValue(int32_t root, const std::string& key, const std::string& name, int32_t& type,
                   std::string& data)
{
    const auto path = ExistingKey(root, key);
    std::string bytes;
    if (!path || !ReadWholeFile(ValueFile(*path, name).string(), bytes) || bytes.size() < 4)
        return false;
    uint32_t t = 0;
    for (int i = 3; i >= 0; --i)
        t = (t << 8) | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    type = static_cast<int32_t>(t);
    data = bytes.substr(4);
    return true;
}

bool RegSetValue(int32_t root, const std::string& key, const std::string& name, int32_t type,
                 const std::string& data)
{
    const auto path = ExistingKey(root, key);
    if (!path)
        return false;
    std::string bytes;
    const auto t = static_cast<uint32_t>(type);
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((t >> (8 * i)) & 0xFF);
    bytes += data;
    return ReplaceWholeFile(ValueFile(*path, name).string(), bytes);
}

bool RegDeleteValue(int32_t root, const std::string& key, const std::string& name)
{
    const auto path = ExistingKey(root, key);
    std::error_code ec;
    return path && fs::remove(ValueFile(*path, name), ec);
}

std::vector<std::string> RegEnumValues(int32_t root, const std::string& key)
{
    return ListEntries(root, key, true);
}

std::vector<std::string> RegEnumKeys(int32_t root, const std::string& key)
{
    return ListEntries(root, key, false);
}

} // namespace platform
