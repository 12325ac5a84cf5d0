#pragma once
// A per-user store of keys and values with the shape of the Windows registry,
// kept as a folder tree on disk: one folder per root, one sub-folder per key,
// one file per value (its type and its raw bytes). Key paths use "\" between
// their parts; names are compared exactly.
//
// The store lives in $XDG_CONFIG_HOME/QuorvelConfig/registry (or
// ~/.config/QuorvelConfig/registry); SetRegistryFolder overrides it (tests).
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// The predefined roots, with the values of their Windows handles.
inline constexpr int32_t kRegClassesRoot = static_cast<int32_t>(0x80000000u);
inline constexpr int32_t kRegCurrentUser = static_cast<int32_t>(0x80000001u);
inline constexpr int32_t kRegLocalMachine = static_cast<int32_t>(0x80000002u);
inline constexpr int32_t kRegUsers = static_cast<int32_t>(0x80000003u);

std::string RegistryFolder();
// An empty path goes back to the per-user folder.
void SetRegistryFolder(const std::string& path);

// Each operation returns false when the root is unknown or the store cannot
// be read or written.
bool RegKeyExists(int32_t root, const std::string& key);
// Creates the key and every missing key above it.
bool RegCreateKey(int32_t root, const std::string& key);
// Deletes a key that has no subkeys (its values go with it).
bool RegDeleteKey(int32_t root, const std::string& key);
bool RegQueryValue(int32_t root, const std::string& key, const std::string& name, int32_t& type,
                   std::string& data);
// The key must exist.
bool RegSetValue(int32_t root, const std::string& key, const std::string& name, int32_t type,
                 const std::string& data);
bool RegDeleteValue(int32_t root, const std::string& key, const std::string& name);
// Names in ascending order; empty when the key does not exist.
std::vector<std::string> RegEnumValues(int32_t root, const std::string& key);
std::vector<std::string> RegEnumKeys(int32_t root, const std::string& key);

} // namespace platform
