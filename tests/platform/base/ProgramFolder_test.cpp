#include "platform/base/ProgramFolder.h"

#include "model/TestFiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(ProgramFolder, OverrideIsCreatedAndUsed)
{
    const testfiles::TempFolder folder;
    const fs::path dir = folder.path() / "nested";
    platform::SetProgramFolder(dir.string() + "/");
    EXPECT_EQ(platform::ProgramFolder(), dir.string());
    EXPECT_TRUE(fs::is_directory(dir));
    platform::SetProgramFolder("");
}

TEST(ProgramFolder, DefaultIsTheExecutableFolderWhenWritable)
{
    platform::SetProgramFolder("");
    ::unsetenv("QVS_PROGRAM_FOLDER");
    // Tests run as a user that can write the build folder.
    EXPECT_EQ(platform::ProgramFolder(), platform::ExecutableFolder());
}
