#include "platform/base/RegistryStore.h"

#include "model/TestFiles.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace fs = std::filesystem;
using namespace platform;

TEST(RegistryStore, AnyNameIsKeptApartFromTheFolderTree)
{
    const testfiles::TempFolder folder;
    const fs::path& dir = folder.path();
    SetRegistryFolder(dir.string());
    // Names that mean something to a file system stay plain names here.
    ASSERT_TRUE(RegCreateKey(kRegCurrentUser, "..\\a/b\\.\\=x\\%41"));
    EXPECT_EQ(RegEnumKeys(kRegCurrentUser, "..\\a/b"), std::vector<std::string>{"."});
    EXPECT_TRUE(RegKeyExists(kRegCurrentUser, "..\\a/b\\.\\=x\\%41"));
    EXPECT_FALSE(RegKeyExists(kRegCurrentUser, "..\\a/b\\.\\=x\\A"));
    ASSERT_TRUE(RegSetValue(kRegCurrentUser, "..\\a/b", "../v=", 1, "x"));
    EXPECT_EQ(RegEnumValues(kRegCurrentUser, "..\\a/b"), std::vector<std::string>{"../v="});
    EXPECT_EQ(RegEnumKeys(kRegCurrentUser, "..\\a/b"), std::vector<std::string>{"."}); // a value is no key
    int32_t type = 0;
    std::string data;
    ASSERT_TRUE(RegQueryValue(kRegCurrentUser, "..\\a/b", "../v=", type, data));
    EXPECT_EQ(data, "x");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1); // nothing escaped

    // Entries the store did not write keep their names as they are.
    fs::create_directories(dir / "HKEY_CURRENT_USER" / "foreign" / "%zz");
    fs::create_directories(dir / "HKEY_CURRENT_USER" / "foreign" / "50%");
    std::ofstream(dir / "HKEY_CURRENT_USER" / "foreign" / "=%G1%4");
    EXPECT_EQ(RegEnumKeys(kRegCurrentUser, "foreign"), (std::vector<std::string>{"%zz", "50%"}));
    EXPECT_EQ(RegEnumValues(kRegCurrentUser, "foreign"), std::vector<std::string>{"%G1%4"});

    EXPECT_FALSE(RegSetValue(kRegCurrentUser, "missing", "v", 1, "x"));
    EXPECT_FALSE(RegDeleteKey(kRegCurrentUser, "..")); // it has subkeys
    EXPECT_FALSE(RegDeleteKey(kRegCurrentUser, ""));   // the root itself
    SetRegistryFolder("");
}
