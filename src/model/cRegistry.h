#pragma once
// One registry value addressed by three properties (root key, key path, value
// name): read and write it by type, test, create and delete keys and values,
// list the values and subkeys of a key, and register file associations for a
// program. The store is the program's own per-user key tree
// (platform/base/RegistryStore.h); remote computers are not reachable.
//
// Failures throw RegistryError: number 26001, source "QuorvelConfig.cRegistry"
// and a description that quotes the key.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace model {

enum ERegistryClassConstants : int32_t
{
    HKEY_CLASSES_ROOT = static_cast<int32_t>(0x80000000u),
    HKEY_CURRENT_USER = static_cast<int32_t>(0x80000001u),
    HKEY_LOCAL_MACHINE = static_cast<int32_t>(0x80000002u),
    HKEY_USERS = static_cast<int32_t>(0x80000003u),
};

enum ERegistryValueTypes : int32_t
{
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_BINARY = 3,
    REG_DWORD = 4,
    REG_DWORD_BIG_ENDIAN = 5,
    REG_MULTI_SZ = 7,
};

// Empty, text (string types), a 32-bit number, or raw bytes (binary).
using RegistryValue = std::variant<std::monostate, std::string, int32_t, std::vector<uint8_t>>;

class RegistryError : public std::runtime_error
{
public:
    explicit RegistryError(const std::string& description) : std::runtime_error(description) {}
    static constexpr int kNumber = 26001;
    int Number() const { return kNumber; }
    std::string Source() const { return "QuorvelConfig.cRegistry"; }
    std::string Description() const { return what(); }
};

class cRegistry
{
public:
    const std::string& Machine() const { return machine_; }
    // Adds a leading "\\" when missing; a name shorter than 3 characters
    // clears it.
    void SetMachine(const std::string& name);

    bool KeyExists() const;
    bool CreateKey();
    bool DeleteKey();
    bool DeleteValue();

    // The value of ValueKey under SectionKey; its stored type becomes
    // ValueType. Strings come without their terminator (expandable ones with
    // %NAME% variables expanded), numbers as 32-bit (big-endian ones
    // swapped), binary data as bytes. Default when the key or value is
    // missing, or when Machine names a remote computer.
    RegistryValue Value();
    // Writes ValueKey with ValueType, creating the key when needed.
    void SetValue(const RegistryValue& value);

    std::vector<std::string> EnumerateValues() const;
    std::vector<std::string> EnumerateSections() const;

    // "." + extension -> className -> description, with the verbs open and,
    // when asked, print (/p), add (/a) and new (/n), each running the
    // program in double quotes with "%1", and DefaultIcon = exe,iconIndex.
    void CreateEXEAssociation(const std::string& exePath, const std::string& className,
                              const std::string& description, const std::string& extension,
                              bool allowPrint = false, bool allowAdd = false, bool allowNew = false,
                              int32_t iconIndex = 0);
    // The same association with the extension first and the optional verbs
    // as menu texts (an empty text leaves the verb out).
    void CreateEXEAssociationI(const std::string& extension, const std::string& className,
                               const std::string& description, const std::string& exePath,
                               const std::string& printText = "", const std::string& addText = "",
                               const std::string& newText = "", int32_t iconIndex = 0);
    // Adds className\shell\<name> = text and its \command = command for each
    // name, text, command triple of the list.
    void CreateAdditionalEXEAssociations(const std::string& className,
                                         const std::vector<std::string>& triples);

    int32_t ValueType() const { return valueType_; }
    void SetValueType(int32_t type) { valueType_ = type; }
    int32_t ClassKey() const { return classKey_; }
    void SetClassKey(int32_t key) { classKey_ = key; }
    const std::string& SectionKey() const { return sectionKey_; }
    void SetSectionKey(const std::string& key) { sectionKey_ = key; }
    const std::string& ValueKey() const { return valueKey_; }
    void SetValueKey(const std::string& key) { valueKey_ = key; }
    const RegistryValue& Default() const { return default_; }
    void SetDefault(const RegistryValue& value) { default_ = value; }

    RegistryValue ValueEx(int32_t classKey, const std::string& sectionKey, const std::string& valueKey,
                          int32_t valueType, const RegistryValue& defaultValue);
    void SetValueEx(int32_t classKey, const std::string& sectionKey, const std::string& valueKey,
                    int32_t valueType, const RegistryValue& value);

private:
    void Address(int32_t classKey, const std::string& sectionKey, const std::string& valueKey,
                 int32_t valueType);
    void SetClassesValue(const std::string& key, const std::string& name, const std::string& value);
    std::string KeyText() const;

    int32_t classKey_ = HKEY_CURRENT_USER;
    std::string sectionKey_;
    std::string valueKey_;
    int32_t valueType_ = REG_SZ;
    RegistryValue default_;
    std::string machine_;
};

} // namespace model
