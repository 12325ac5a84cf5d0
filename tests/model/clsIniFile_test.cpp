#include "model/clsIniFile.h"

#include "TestFiles.h"
#include "platform/base/FileReplace.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using model::clsIniFile;
using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

namespace {

class IniFile : public ::testing::Test
{
protected:
    void TearDown() override
    {
        clsIniFile::SetBadLineQuestion(nullptr);
        platform::SetWriteFault(nullptr);
    }
    TempFolder dir;
};

} // namespace

TEST_F(IniFile, LinesAreSplitAtTheFirstEqualsSignAndNothingIsTrimmed)
{
    const std::string path = dir.File("a.ini");
    WriteBytes(path, "ignored=before\r\n[S]\r\na=b=c\r\n=x\r\n Key=1\r\nKey2= spaced \r\n\r\nempty=\r\n");
    clsIniFile ini;
    ini.sFileName(path);
    ini.sSectionName("S");
    EXPECT_TRUE(ini.IsLoaded());
    EXPECT_EQ(ini.GetString("a", "d"), "b=c");
    EXPECT_EQ(ini.GetString("", "d"), "x");
    EXPECT_EQ(ini.GetString("Key", "d"), "d");
    EXPECT_EQ(ini.GetString(" Key", "d"), "1");
    EXPECT_EQ(ini.GetString("Key2", "d"), " spaced ");
    EXPECT_EQ(ini.GetString("empty", "d"), "d");
    EXPECT_EQ(ini.GetString("ignored", "d"), "d");
    ini.sSectionName("s");
    EXPECT_EQ(ini.GetString("a", "d"), "d"); // section names are case-sensitive
    EXPECT_EQ(ini.GetWriteCount(), 6);
}

TEST_F(IniFile, DuplicateSectionsKeepTheirOwnKeysAndWriteBackInPlace)
{
    const std::string path = dir.File("dup.ini");
    WriteBytes(path, "[A]\r\nx=1\r\n[A]\r\nx=2\r\ny=3\r\n");
    {
        clsIniFile ini;
        ini.sFileName(path);
        ini.sSectionName("A");
        EXPECT_EQ(ini.GetLong("x", 0), 1);
        EXPECT_EQ(ini.GetLong("y", 0), 3);
        EXPECT_EQ(ini.GetSectionNames(), "A,A");
        EXPECT_TRUE(ini.SetLong("x", 9));
        EXPECT_TRUE(ini.SetLong("z", 5));
        ini.sSectionName("New");
        EXPECT_TRUE(ini.SetString("k", ""));
        EXPECT_FALSE(ini.IsClean());
    } // release writes
    EXPECT_EQ(ReadBytes(path), "[A]\r\nx=9\r\nz=5\r\n[A]\r\nx=2\r\ny=3\r\n[New]\r\nk=\r\n");

    WriteBytes(path, "[A]\nx=1\n"); // LF only: read fine, but a clean object rewrites nothing
    {
        clsIniFile ini;
        ini.sFileName(path);
        ini.sSectionName("A");
        EXPECT_EQ(ini.GetLong("x", 0), 1);
    }
    EXPECT_EQ(ReadBytes(path), "[A]\nx=1\n");
}

TEST_F(IniFile, HeadersNeedBracketsAtBothEnds)
{
    const std::string path = dir.File("h.ini");
    // "[Sec] " before any header is ignored; inside a section it is a bad line.
    WriteBytes(path, "[Sec] \r\n[]\r\nk=v\r\n[Sec]\r\n[Sec] \r\nk=w\r\n");
    std::vector<int> asked;
    clsIniFile::SetBadLineQuestion([&](const std::string& file, int line) {
        EXPECT_EQ(file, path);
        asked.push_back(line);
        return clsIniFile::BadLineAnswer::Ok;
    });
    clsIniFile ini;
    ini.sFileName(path);
    EXPECT_EQ(asked, std::vector<int>{5});
    EXPECT_EQ(ini.GetSectionNames(), ",Sec");
    ini.sSectionName("Sec");
    EXPECT_EQ(ini.GetString("k", ""), "w");
}

TEST_F(IniFile, BadLinesAreReportedWithTheirLineNumbersAndCancelStopsLoading)
{
    const std::string path = dir.File("bad.ini");
    // Blank lines and headers count: the bad lines are 4 and 7.
    WriteBytes(path, "[A]\r\nx=1\r\n\r\nnoequals\r\ny=2\r\n[B]\r\nalso bad\r\nz=3\r\n");
    std::vector<int> asked;
    clsIniFile::SetBadLineQuestion([&](const std::string&, int line) {
        asked.push_back(line);
        return clsIniFile::BadLineAnswer::Ok;
    });
    {
        clsIniFile ini;
        ini.sFileName(path);
        EXPECT_EQ(asked, (std::vector<int>{4, 7}));
        EXPECT_TRUE(ini.IsLoaded());
        ini.sSectionName("B");
        EXPECT_EQ(ini.GetLong("z", 0), 3);
    }

    asked.clear();
    clsIniFile::SetBadLineQuestion([&](const std::string&, int line) {
        asked.push_back(line);
        return clsIniFile::BadLineAnswer::Cancel;
    });
    clsIniFile ini;
    ini.sFileName(path);
    EXPECT_EQ(asked, std::vector<int>{4});
    EXPECT_FALSE(ini.IsLoaded());
    ini.sSectionName("A");
    EXPECT_EQ(ini.GetLong("x", 7), 7); // not loaded: every getter gives its default
    // What was read before the bad line is kept and written with new values.
    ini.SetLong("w", 4);
    ASSERT_TRUE(ini.SaveFile());
    EXPECT_EQ(ReadBytes(path), "[A]\r\nx=1\r\nw=4\r\n");
    EXPECT_EQ(clsIniFile::BadLineText("C:/x.qvs", 12),
              "Error Reading Configuration File\r\nC:/x.qvs\r\nIn Line 12 Continue ?");
}

TEST_F(IniFile, TypedGettersAndSetters)
{
    const std::string path = dir.File("t.ini");
    WriteBytes(path, "[T]\r\nb1=1\r\nb2=10\r\nb3=TRUE\r\nb4=0\r\nb5=False\r\nb6=yes\r\nb7=T\r\n"
                     "n1= 42 \r\nn2=2.5\r\nn3=3.5\r\nn4=-2.5\r\nn5=2.51\r\nn6=abc\r\nn7=40000\r\n"
                     "n8=99999999999\r\nr1=1.25\r\n");
    clsIniFile ini;
    ini.sFileName(path);
    ini.sSectionName("T");
    // A text that is no boolean gives the default.
    for (const auto& [key, value] :
         {std::pair{"b1", true}, {"b2", true}, {"b3", true}, {"b4", false}, {"b5", false}}) {
        EXPECT_EQ(ini.GetBoolean(key, !value), value) << key;
    }
    for (const char* key : {"b6", "b7"}) {
        EXPECT_TRUE(ini.GetBoolean(key, true)) << key;
        EXPECT_FALSE(ini.GetBoolean(key, false)) << key;
    }
    // Halves go to the even neighbour; what is no number or too big gives the default.
    for (const auto& [key, value] : {std::pair{"n1", 42},
                                     {"n2", 2},
                                     {"n3", 4},
                                     {"n4", -2},
                                     {"n5", 3},
                                     {"n6", -9},
                                     {"n7", 40000},
                                     {"n8", -9}}) {
        EXPECT_EQ(ini.GetLong(key, -9), value) << key;
    }
    EXPECT_EQ(ini.GetInteger("n7", -9), -9); // beyond 16 bits
    EXPECT_DOUBLE_EQ(ini.GetDouble("r1", 0), 1.25);
    EXPECT_FLOAT_EQ(ini.GetSingle("n6", 0.5f), 0.5f);

    EXPECT_TRUE(ini.SetInteger("i", -1));
    EXPECT_TRUE(ini.SetBoolean("t", true));
    EXPECT_TRUE(ini.SetBoolean("f", false));
    EXPECT_TRUE(ini.SetLong("l", 12765));
    EXPECT_TRUE(ini.SetDouble("d", 0.1));
    for (const auto& [key, text] :
         {std::pair{"i", "-1"}, {"t", "1"}, {"f", "0"}, {"l", "12765"}, {"d", "0.1"}})
        EXPECT_EQ(ini.GetString(key, ""), text) << key;
}

TEST_F(IniFile, SettersNeedAFileAndASection)
{
    clsIniFile noFile;
    noFile.sSectionName("S");
    EXPECT_FALSE(noFile.SetString("k", "v"));
    EXPECT_TRUE(noFile.IsClean());

    clsIniFile noSection;
    noSection.sFileName(dir.File("missing.ini"));
    EXPECT_FALSE(noSection.SetString("k", "v"));
    EXPECT_EQ(noSection.GetWriteCount(), 0);
}

TEST_F(IniFile, AMissingFileIsEmptyAndIsCreatedOnRelease)
{
    const std::string path = dir.File("new.ini");
    {
        clsIniFile ini;
        ini.sFileName(path);
        EXPECT_FALSE(ini.IsLoaded());
        ini.sSectionName("S");
        EXPECT_EQ(ini.GetString("k", "def"), "def");
        ini.SetString("k", "caf\xC3\xA9 \xE2\x82\xAC"); // UTF-8 in the model
        ini.SetString("multi", "one\r\ntwo\nthree");
        // Asking for the sections tries to load the file again; that must
        // not throw away what was stored.
        EXPECT_EQ(ini.GetSectionNames(), "S");
    }
    // Windows-1252 on disk; line breaks inside values become blanks.
    EXPECT_EQ(ReadBytes(path), "[S]\r\nk=caf\xE9 \x80\r\nmulti=one  two three\r\n");
    clsIniFile back;
    back.sFileName(path);
    back.sSectionName("S");
    EXPECT_EQ(back.GetString("k", ""), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(back.GetString("multi", ""), "one  two three");
}

TEST_F(IniFile, ProgressFollowsTheLinesUpToTheMaximum)
{
    clsIniFile ini;
    ini.sFileName(dir.File("p.ini"));
    for (const char* section : {"A", "B", "C"}) {
        ini.sSectionName(section);
        for (int k = 1; k <= 3; ++k)
            ini.SetLong("k" + std::to_string(k), k);
    }
    ini.SetLong("k4", 4);
    EXPECT_EQ(ini.GetWriteCount(), 13);
    std::vector<int> seen;
    ini.Progress(10, [&](int v) { seen.push_back(v); });
    ASSERT_TRUE(ini.SaveFile());
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    const std::string bytes = ReadBytes(dir.File("p.ini"));
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 13);
    EXPECT_EQ(bytes.substr(0, 26), "[A]\r\nk1=1\r\nk2=2\r\nk3=3\r\n[B]");
}

TEST_F(IniFile, AFailedWriteKeepsTheOldFileAndTheChanges)
{
    const std::string path = dir.File("keep.ini");
    WriteBytes(path, "[A]\r\nx=1\r\n");
    clsIniFile ini;
    ini.sFileName(path);
    ini.sSectionName("A");
    ini.SetLong("x", 2);
    platform::SetWriteFault([](const std::string&, std::string* error) {
        *error = "disk full";
        return false;
    });
    std::string error;
    EXPECT_FALSE(ini.SaveFile(&error));
    EXPECT_EQ(error, "disk full");
    EXPECT_FALSE(ini.IsClean());
    EXPECT_EQ(ReadBytes(path), "[A]\r\nx=1\r\n");
    platform::SetWriteFault(nullptr);
    EXPECT_TRUE(ini.SaveFile());
    EXPECT_EQ(ReadBytes(path), "[A]\r\nx=2\r\n");
}

TEST_F(IniFile, AFileWithMoreEntriesThanAModelHoldsIsRefusedWhole)
{
    std::vector<std::string> refusals;
    clsIniFile::SetLoadRefusal([&](const std::string& text) { refusals.push_back(text); });
    const std::string path = dir.File("big.ini");
    // {sections after [A], keys in [A]}: at the limit, then one over it.
    for (const auto& [sections, keys] : {std::pair{32766, 1}, {32767, 1}, {0, 32767}, {0, 32768}}) {
        std::string bytes = "[A]\r\n";
        for (int i = 0; i < keys; ++i)
            bytes += "k" + std::to_string(i) + "=1\r\n";
        for (int i = 0; i < sections; ++i)
            bytes += "[S" + std::to_string(i) + "]\r\n";
        WriteBytes(path, bytes);
        const bool fits = sections + 1 <= 32767 && keys <= 32767;
        {
            clsIniFile ini;
            ini.sFileName(path);
            ini.sSectionName("A");
            EXPECT_EQ(ini.IsLoaded(), fits);
            EXPECT_EQ(ini.GetLong("k0", 0), fits ? 1 : 0);
            EXPECT_EQ(ini.GetWriteCount() == 0, !fits); // nothing half-loaded
        }
        EXPECT_EQ(ReadBytes(path), bytes); // nothing written back
    }
    ASSERT_EQ(refusals.size(), 2u);
    EXPECT_EQ(refusals[0], clsIniFile::TooManyEntriesText(path));
    EXPECT_NE(refusals[0].find("more than 32767 sections or keys"), std::string::npos);
    clsIniFile::SetLoadRefusal(nullptr);
}

TEST_F(IniFile, AStoreBeyondTheLimitIsReportedAndNothingIsWritten)
{
    const std::string path = dir.File("full.ini");
    {
        clsIniFile ini;
        ini.NewFile(path);
        ini.sSectionName("A");
        for (std::size_t k = 0; k < clsIniFile::kMaxEntries; ++k)
            ASSERT_TRUE(ini.SetLong("k" + std::to_string(k), 1));
        EXPECT_TRUE(ini.SetLong("k7", 2)); // an existing key still takes a value
        EXPECT_FALSE(ini.SetLong("one-too-many", 1));
        EXPECT_EQ(ini.GetWriteCount(), 32767);
        std::string error;
        EXPECT_FALSE(ini.SaveFile(&error));
        EXPECT_NE(error.find("32767"), std::string::npos);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(IniFile, AFailedSaveIsNotTriedAgainOnReleaseAndTextIsNeverSavedAsQuestionMarks)
{
    const std::string path = dir.File("keep.ini");
    WriteBytes(path, "[A]\r\nx=1\r\n");
    int attempts = 0;
    {
        clsIniFile ini;
        ini.sFileName(path);
        ini.sSectionName("A");
        ini.SetLong("x", 2);
        platform::SetWriteFault([&](const std::string&, std::string*) { return ++attempts > 1; }); // passes
        EXPECT_FALSE(ini.SaveFile());
    }
    EXPECT_EQ(attempts, 1);
    clsIniFile ini;
    ini.sFileName(path);
    ini.sSectionName("A");
    ini.SetString("name", "Block \xCE\xA9");
    std::string error;
    EXPECT_FALSE(ini.SaveFile(&error));
    EXPECT_NE(error.find("code page"), std::string::npos);
    EXPECT_EQ(ReadBytes(path), "[A]\r\nx=1\r\n");
}

TEST_F(IniFile, SavesWriteEveryLineUnderItsSectionWhateverTheOrderOfStores)
{
    const std::string big(1000, 'v');
    struct Case
    {
        const char* file; // nullptr: a new file
        std::function<void(clsIniFile&)> store;
        std::string written;
        std::string x;
    };
    const std::vector<Case> cases = {
        {nullptr,
         [](clsIniFile& ini) {
             ini.sSectionName("A");
             ini.SetLong("x", 1);
             ini.sSectionName("B");
             ini.SetLong("z", 2);
             ini.sSectionName("A");
             ini.SetLong("y", 3);
         },
         "[A]\r\nx=1\r\ny=3\r\n[B]\r\nz=2\r\n", ""}, // a new file is not read
        {"[A]\r\nx=1", // no line end after the last line
         [](clsIniFile& ini) {
             ini.sSectionName("A");
             ini.SetLong("y", 2);
         },
         "[A]\r\nx=1\r\ny=2\r\n", "1"},
        {"[A]\r\n\r\nx=1\rbad\r\n[B]\r\n",
         [](clsIniFile& ini) {
             ini.sSectionName("B");
             ini.SetString("k", "a\r\nb \xC3\xA9");
         },
         "[A]\r\nx=1\r\n[B]\r\nk=a  b \xE9\r\n", "1"},
        {"[A]\r\nx=1\r\ny=2\r\n",
         [&](clsIniFile& ini) {
             ini.sSectionName("A");
             for (int i = 0; i < 300; ++i) // enough replaced text to be dropped
                 ini.SetString("x", big + std::to_string(i));
             ini.SetLong("z", 3);
         },
         "[A]\r\nx=" + big + "299\r\ny=2\r\nz=3\r\n", big + "299"},
    };
    const std::string path = dir.File("order.ini");
    for (const Case& c : cases) {
        std::filesystem::remove(path);
        clsIniFile ini;
        if (c.file != nullptr) {
            WriteBytes(path, c.file);
            ini.sFileName(path);
        } else {
            ini.NewFile(path);
        }
        c.store(ini);
        EXPECT_TRUE(ini.SaveFile());
        EXPECT_EQ(ReadBytes(path), c.written) << (c.file != nullptr ? c.file : "new file");
        ini.sSectionName("A");
        EXPECT_EQ(ini.GetString("x", ""), c.x); // read from the model after the save
    }
}

TEST_F(IniFile, ALargeFileInTheCodePageIsReadAndWrittenBackWhole)
{
    // Over a megabyte, so that it is read and written in many blocks, with
    // a letter beyond ASCII on every line.
    std::string text;
    for (int s = 0; s < 40; ++s) {
        text += "[S" + std::to_string(s) + "]\r\n";
        for (int k = 0; k < 300; ++k)
            text += "K" + std::to_string(k) + "=caf\xE9 " + std::string(80, 'x') + "\r\n";
    }
    const std::string path = dir.File("large.ini");
    WriteBytes(path, text);
    clsIniFile ini;
    ini.sFileName(path);
    ini.sSectionName("S39");
    EXPECT_EQ(ini.GetString("K299", ""), "caf\xC3\xA9 " + std::string(80, 'x'));
    ini.SetString("K299", "th\xC3\xA9");
    std::string error;
    ASSERT_TRUE(ini.SaveFile(&error)) << error;
    const std::string changed = "K299=th\xE9\r\n";
    EXPECT_EQ(ReadBytes(path), text.substr(0, text.rfind("K299=")) + changed);
}
