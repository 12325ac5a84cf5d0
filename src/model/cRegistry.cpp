#include "model/cRegistry.h"

#include "platform/base/RegistryStore.h"

#include <cstdlib>
#include <limits>

namespace model {
namespace {

std::string ValueText(const RegistryValue& value)
{
    if (const auto* s = std::get_if<std::string>(&value))
        return *s;
    if (const auto* n = std::get_if<int32_t>(&value))
        return std::to_string(*n);
    if (const auto* b = std::get_if<std::vector<uint8_t>>(&value))
        return std::string(b->begin(), b->end());
    return {};
}

int32_t BinaryToLong(const std::string& data, bool bigEndian)
{
    uint32_t n = 0;
    for (std::size_t i = 0; i < 4 && i < data.size(); ++i) {
        const auto byte = static_cast<uint32_t>(static_cast<unsigned char>(data[i]));
        n |= bigEndian ? byte << (8 * (3 - i)) : byte << (8 * i);
    }
    if (bigEndian && data.size() < 4)
        n >>= 8 * (4 - data.size());
    return static_cast<int32_t>(n);
}

std::string LongToBinary(int32_t value, bool bigEndian)
{
    const auto n = static_cast<uint32_t>(value);
    std::string out(4, '\0');
    for (std::size_t i = 0; i < 4; ++i)
        out[bigEndian ? 3 - i : i] = static_cast<char>((n >> (8 * i)) & 0xFF);
    return out;
}

// %NAME% is replaced by the environment variable NAME; unknown names stay.
std::string ExpandEnvStr(const std::string& text)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('%', pos);
        const std::size_t close = open == std::string::npos ? open : text.find('%', open + 1);
        if (close == std::string::npos) {
            out += text.substr(pos);
            break;
        }
        out += text.substr(pos, open - pos);
        const std::string name = text.substr(open + 1, close - open - 1);
        const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
        out += value != nullptr ? std::string(value) : text.substr(open, close - open + 1);
        pos = close + 1;
    }
    return out;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

} // namespace

void cRegistry::SetMachine(const std::string& name)
{
    if (name.size() < 3)
        machine_.clear();
    else
        machine_ = name.rfind("\\\\", 0) == 0 ? name : "\\\\" + name;
}

std::string cRegistry::KeyText() const
{
    return "Key: '" + std::to_string(classKey_) + "',Section: '" + sectionKey_ + "'";
}

bool cRegistry::KeyExists() const
{
    return platform::RegKeyExists(classKey_, sectionKey_);
}

bool cRegistry::CreateKey()
{
    if (!platform::RegCreateKey(classKey_, sectionKey_))
        throw RegistryError("Failed to create registry Key: '" + sectionKey_ + "'");
    return true;
}

bool cRegistry::DeleteKey()
{
    if (!platform::RegDeleteKey(classKey_, sectionKey_))
        throw RegistryError("Failed to delete registry " + KeyText());
    return true;
}

bool cRegistry::DeleteValue()
{
    if (!platform::RegKeyExists(classKey_, sectionKey_))
        throw RegistryError("Failed to open key '" + std::to_string(classKey_) + "',Section: '" +
                            sectionKey_ + "' for delete access");
    if (!platform::RegDeleteValue(classKey_, sectionKey_, valueKey_))
        throw RegistryError("Failed to delete registry " + KeyText() + ",Key: '" + valueKey_ + "'");
    return true;
}

RegistryValue cRegistry::Value()
{
    int32_t type = 0;
    std::string data;
    if (!machine_.empty() || !platform::RegQueryValue(classKey_, sectionKey_, valueKey_, type, data))
        return default_;
    valueType_ = type;
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ: {
        while (!data.empty() && data.back() == '\0')
            data.pop_back();
        return type == REG_EXPAND_SZ ? ExpandEnvStr(data) : data;
    }
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
        return BinaryToLong(data, type == REG_DWORD_BIG_ENDIAN);
    default:
        return std::vector<uint8_t>(data.begin(), data.end());
    }
}

void cRegistry::SetValue(const RegistryValue& value)
{
    const std::string text = ValueText(value);
    std::string data;
    bool ok = true;
    switch (valueType_) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        data = text + '\0';
        break;
    case REG_MULTI_SZ:
        data = text + '\0' + '\0';
        break;
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
        if (const auto* n = std::get_if<int32_t>(&value)) {
            data = LongToBinary(*n, valueType_ == REG_DWORD_BIG_ENDIAN);
        } else {
            char* end = nullptr;
            const long long parsed = std::strtoll(text.c_str(), &end, 10);
            ok = !text.empty() && *end == '\0' && parsed >= std::numeric_limits<int32_t>::min() &&
                 parsed <= std::numeric_limits<int32_t>::max();
            data = LongToBinary(static_cast<int32_t>(parsed), valueType_ == REG_DWORD_BIG_ENDIAN);
        }
        break;
    case REG_BINARY:
        data = text;
        break;
    default:
        ok = false;
    }
    ok = ok && platform::RegCreateKey(classKey_, sectionKey_) &&
         platform::RegSetValue(classKey_, sectionKey_, valueKey_, valueType_, data);
    if (!ok)
        throw RegistryError("Failed to set registry value " + KeyText() + ",Key: '" + valueKey_ +
                            "' to value: '" + text + "'");
}

std::vector<std::string> cRegistry::EnumerateValues() const
{
    return platform::RegEnumValues(classKey_, sectionKey_);
}

std::vector<std::string> cRegistry::EnumerateSections() const
{
    return platform::RegEnumKeys(classKey_, sectionKey_);
}

RegistryValue cRegistry::ValueEx(int32_t classKey, const std::string& sectionKey, const std::string& valueKey,
                                 int32_t valueType, const RegistryValue& defaultValue)
{
    Address(classKey, sectionKey, valueKey, valueType);
    default_ = defaultValue;
    return Value();
}

void cRegistry::SetValueEx(int32_t classKey, const std::string& sectionKey, const std::string& valueKey,
                           int32_t valueType, const RegistryValue& value)
{
    Address(classKey, sectionKey, valueKey, valueType);
    SetValue(value);
}

void cRegistry::Address(int32_t classKey, const std::string& sectionKey, const std::string& valueKey,
                        int32_t valueType)
{
    classKey_ = classKey;
    sectionKey_ = sectionKey;
    valueKey_ = valueKey;
    valueType_ = valueType;
}

void cRegistry::SetClassesValue(const std::string& key, const std::string& name, const std::string& value)
{
    SetValueEx(HKEY_CLASSES_ROOT, key, name, REG_SZ, value);
    SetValueEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\" + key, name, REG_SZ, value);
}

void cRegistry::CreateEXEAssociation(const std::string& exePath, const std::string& className,
                                     const std::string& description, const std::string& extension,
                                     bool allowPrint, bool allowAdd, bool allowNew, int32_t iconIndex)
{
    CreateEXEAssociationI(extension, className, description, exePath, allowPrint ? "&Print" : "",
                          allowAdd ? "&Install " + description : "", allowNew ? "&New" : "", iconIndex);
}

void cRegistry::CreateEXEAssociationI(const std::string& extension, const std::string& className,
                                      const std::string& description, const std::string& exePath,
                                      const std::string& printText, const std::string& addText,
                                      const std::string& newText, int32_t iconIndex)
{
    SetClassesValue("." + extension, "", className);
    SetClassesValue(className, "", description);
    const struct
    {
        const char* verb;
        std::string text;
        const char* option;
    } verbs[] = {
        {"open", "&Open", ""}, {"print", printText, "/p "}, {"add", addText, "/a "}, {"new", newText, "/n "}};
    for (const auto& v : verbs) {
        if (v.text.empty())
            continue;
        const std::string key = className + "\\shell\\" + v.verb;
        SetClassesValue(key, "", v.text);
        SetClassesValue(key + "\\command", "", Quoted(exePath) + " " + v.option + Quoted("%1"));
    }
    SetClassesValue(className + "\\DefaultIcon", "", exePath + "," + std::to_string(iconIndex));
}

void cRegistry::CreateAdditionalEXEAssociations(const std::string& className,
                                                const std::vector<std::string>& triples)
{
    if (triples.empty() || triples.size() % 3 != 0)
        throw RegistryError(
            "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command");
    if (!platform::RegKeyExists(HKEY_CLASSES_ROOT, className))
        throw RegistryError("Error - attempt to create additional associations before class defined.");
    for (std::size_t i = 0; i < triples.size(); i += 3) {
        const std::string key = className + "\\shell\\" + triples[i];
        SetClassesValue(key, "", triples[i + 1]);
        SetClassesValue(key + "\\command", "", triples[i + 2]);
    }
}

} // namespace model
