#pragma once
// A fresh folder per test and whole-file helpers for byte comparisons.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <unistd.h>

namespace testfiles {

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::filesystem::path Golden(const std::string& name)
{
    return std::filesystem::path(QVS_TEST_DATA) / name;
}

// Compares with a committed golden file; QVS_UPDATE_GOLDEN set rewrites it (review the result).
inline void ExpectMatchesGolden(const std::string& bytes, const std::string& name)
{
    if (std::getenv("QVS_UPDATE_GOLDEN") != nullptr)
        WriteBytes(Golden(name), bytes);
    const std::string golden = ReadBytes(Golden(name));
    ASSERT_FALSE(golden.empty()) << "missing golden " << name;
    EXPECT_EQ(bytes, golden) << "differs from golden " << name;
}

class TempFolder
{
public:
    TempFolder()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ =
            std::filesystem::temp_directory_path() / ("qvs-" + std::string(info->test_suite_name()) + "-" +
                                                      info->name() + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

} // namespace testfiles
