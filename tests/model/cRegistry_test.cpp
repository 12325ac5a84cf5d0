#include "model/cRegistry.h"

#include "TestFiles.h"
#include "platform/base/RegistryStore.h"

#include <cstdlib>
#include <gtest/gtest.h>

using namespace model;

namespace {

class Registry : public ::testing::Test
{
protected:
    void SetUp() override { platform::SetRegistryFolder(dir.File("registry")); }
    void TearDown() override { platform::SetRegistryFolder(""); }

    // Runs f and returns the description of the RegistryError it throws.
    template <class F> static std::string ErrorOf(F f)
    {
        try {
            f();
        } catch (const RegistryError& e) {
            EXPECT_EQ(e.Number(), 26001);
            EXPECT_EQ(e.Source(), "QuorvelConfig.cRegistry");
            return e.Description();
        }
        ADD_FAILURE() << "no RegistryError";
        return {};
    }

    testfiles::TempFolder dir;
};

} // namespace

TEST_F(Registry, ValuesOfEveryTypeRoundTrip)
{
    const std::string key = "Software\\Quorvel\\Test";
    cRegistry reg;
    reg.SetDefault(std::string("none"));
    EXPECT_EQ(reg.ValueEx(HKEY_CURRENT_USER, key, "Missing", REG_SZ, std::string("none")),
              RegistryValue(std::string("none")));
    EXPECT_FALSE(reg.KeyExists());
    // Name, type written, value written, value read back (a DWORD given as text is stored as a number).
    const std::tuple<const char*, int32_t, RegistryValue, RegistryValue> values[] = {
        {"Name", REG_SZ, std::string("Plant/A 100%"), std::string("Plant/A 100%")},
        {"Count", REG_DWORD, int32_t{-2}, int32_t{-2}},
        {"Big", REG_DWORD_BIG_ENDIAN, int32_t{0x01020304}, int32_t{0x01020304}},
        {"Raw", REG_BINARY, std::vector<uint8_t>{0, 255, 10}, std::vector<uint8_t>{0, 255, 10}},
        {"", REG_DWORD, std::string("42"), int32_t{42}}};
    for (const auto& [name, type, written, read] : values)
        reg.SetValueEx(HKEY_CURRENT_USER, key, name, type, written);

    cRegistry back;
    back.SetClassKey(HKEY_CURRENT_USER);
    back.SetSectionKey(key);
    for (const auto& [name, type, written, read] : values) {
        back.SetValueKey(name);
        back.SetValueType(REG_BINARY);
        EXPECT_EQ(back.Value(), read) << name;
    }
    back.SetValueKey("Name");
    back.Value();
    EXPECT_EQ(back.ValueType(), REG_SZ); // the stored type wins
    EXPECT_EQ(back.EnumerateValues(), (std::vector<std::string>{"", "Big", "Count", "Name", "Raw"}));
}

TEST_F(Registry, ExpandableStringsExpandTheEnvironment)
{
    ::setenv("QVS_REG_TEST", "/opt/q", 1);
    cRegistry reg;
    reg.SetValueEx(HKEY_CURRENT_USER, "Env", "Path", REG_EXPAND_SZ,
                   std::string("%QVS_REG_TEST%/bin:%QVS_NOT_SET%:%"));
    EXPECT_EQ(reg.Value(), RegistryValue(std::string("/opt/q/bin:%QVS_NOT_SET%:%")));
    ::unsetenv("QVS_REG_TEST");
}

TEST_F(Registry, MachineNamesAndRemoteReadsGiveTheDefault)
{
    cRegistry reg;
    reg.SetMachine("PC1");
    EXPECT_EQ(reg.Machine(), "\\\\PC1");
    reg.SetValueEx(HKEY_CURRENT_USER, "K", "V", REG_SZ, std::string("local"));
    reg.SetDefault(int32_t{7});
    EXPECT_EQ(reg.Value(), RegistryValue(int32_t{7})); // no remote registry to reach
}

TEST_F(Registry, KeysAndValuesAreDeletedAndFailuresQuoteTheKey)
{
    cRegistry reg;
    reg.SetClassKey(HKEY_CURRENT_USER);
    reg.SetSectionKey("A\\B");
    EXPECT_TRUE(reg.CreateKey());
    reg.SetSectionKey("A");
    EXPECT_EQ(ErrorOf([&] { reg.DeleteKey(); }), "Failed to delete registry Key: '-2147483647',Section: 'A'");
    reg.SetSectionKey("A\\B");
    reg.SetValueKey("v");
    reg.SetValue(std::string("x"));
    EXPECT_TRUE(reg.DeleteValue());
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_EQ(ErrorOf([&] { reg.DeleteValue(); }),
              "Failed to open key '-2147483647',Section: 'A\\B' for delete access");

    reg.SetClassKey(12345); // not a root
    EXPECT_EQ(ErrorOf([&] { reg.CreateKey(); }), "Failed to create registry Key: 'A\\B'");
    reg.SetClassKey(HKEY_CURRENT_USER);
    reg.SetValueType(REG_DWORD);
    EXPECT_EQ(ErrorOf([&] { reg.SetValue(std::string("twelve")); }),
              "Failed to set registry value Key: '-2147483647',Section: 'A\\B',Key: 'v' to value: 'twelve'");
}

TEST_F(Registry, FileAssociations)
{
    cRegistry reg;
    EXPECT_EQ(ErrorOf([&] {
                  reg.CreateAdditionalEXEAssociations("QVS.Site", {"edit", "&Edit", "x"});
              }),
              "Error - attempt to create additional associations before class defined.");
    reg.CreateEXEAssociation("/opt/q/QuorvelConfig", "QVS.Site", "Site File", "qvs", true, false, true, 1);
    EXPECT_EQ(
        ErrorOf([&] {
            reg.CreateAdditionalEXEAssociations("QVS.Site", {"edit", "&Edit"});
        }),
        "Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command");
    reg.CreateAdditionalEXEAssociations("QVS.Site", {"edit", "&Edit", "\"/opt/q/QuorvelConfig\" /e \"%1\""});

    auto read = [&](int32_t root, const std::string& key) {
        return reg.ValueEx(root, key, "", REG_SZ, std::string("<missing>"));
    };
    for (const auto& [root, prefix] :
         {std::pair{int32_t{HKEY_CLASSES_ROOT}, std::string()},
          std::pair{int32_t{HKEY_LOCAL_MACHINE}, std::string("SOFTWARE\\Classes\\")}}) {
        EXPECT_EQ(read(root, prefix + ".qvs"), RegistryValue(std::string("QVS.Site")));
        EXPECT_EQ(read(root, prefix + "QVS.Site\\shell\\add"), RegistryValue(std::string("<missing>")));
        EXPECT_EQ(read(root, prefix + "QVS.Site\\shell\\edit\\command"),
                  RegistryValue(std::string("\"/opt/q/QuorvelConfig\" /e \"%1\"")));
    }
}
