#pragma once
// A fresh folder per test and whole-file helpers for byte comparisons.
#include "support/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

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

// A folder of the test's own, removed when it ends.
using TempFolder = testsupport::TempFolder;

} // namespace testfiles
