#include "model/clsIniFile.h"

#include "TestFiles.h"
#include "platform/base/FileReplace.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
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
    // Writes bytes (unless null) to path and opens it at section.
    static std::unique_ptr<clsIniFile> Open(const std::string& path, const char* bytes, const char* section)
    {
        if (bytes != nullptr)
            WriteBytes(path, bytes);
        auto ini = std::make_unique<clsIniFile>();
        ini->sFileName(path);
        ini->sSectionName(section);
        return ini;
    }
    // Every bad line is answered so and its number kept in asked.
    void AnswerBadLines(clsIniFile::BadLineAnswer answer)
    {
        asked.clear();
        clsIniFile::SetBadLineQuestion([this, answer](const std::string& file, int line) {
            EXPECT_EQ(file.substr(0, dir.path().string().size()), dir.path().string());
            asked.push_back(line);
            return answer;
        });
    }
    TempFolder dir;
    std::vector<int> asked;
};

} // namespace

TEST_F(IniFile, LinesAreSplitAtTheFirstEqualsSignAndNothingIsTrimmed)
{
    auto file =
        Open(dir.File("a.ini"),
             "ignored=before\r\n[S]\r\na=b=c\r\n=x\r\n Key=1\r\nKey2= spaced \r\n\r\nempty=\r\n", "S");
    clsIniFile& ini = *file;
    EXPECT_TRUE(ini.IsLoaded());
    for (const auto& [key, value] : {std::pair{"a", "b=c"}, {"", "x"}, {"Key", "d"}, {" Key", "1"},
                                     {"Key2", " spaced "}, {"empty", "d"}, {"ignored", "d"}})
        EXPECT_EQ(ini.GetString(key, "d"), value) << key;
    ini.sSectionName("s");
    EXPECT_EQ(ini.GetString("a", "d"), "d"); // section names are case-sensitive
    EXPECT_EQ(ini.GetWriteCount(), 6);
}

TEST_F(IniFile, DuplicateSectionsKeepTheirOwnKeysAndWriteBackInPlace)
{
    const std::string path = dir.File("dup.ini");
    auto ini = Open(path, "[A]\r\nx=1\r\n[A]\r\nx=2\r\ny=3\r\n", "A");
    EXPECT_EQ(ini->GetLong("x", 0), 1);
    EXPECT_EQ(ini->GetLong("y", 0), 3);
    EXPECT_EQ(ini->GetSectionNames(), "A,A");
    EXPECT_TRUE(ini->SetLong("x", 9));
    EXPECT_TRUE(ini->SetLong("z", 5));
    ini->sSectionName("New");
    EXPECT_TRUE(ini->SetString("k", ""));
    EXPECT_FALSE(ini->IsClean());
    ini.reset(); // release writes
    EXPECT_EQ(ReadBytes(path), "[A]\r\nx=9\r\nz=5\r\n[A]\r\nx=2\r\ny=3\r\n[New]\r\nk=\r\n");

    // LF only: read fine, but a clean object rewrites nothing.
    EXPECT_EQ(Open(path, "[A]\nx=1\n", "A")->GetLong("x", 0), 1);
    EXPECT_EQ(ReadBytes(path), "[A]\nx=1\n");
}

TEST_F(IniFile, BadLinesAreReportedWithTheirLineNumbersAndCancelStopsLoading)
{
    // "[Sec] " before any header is ignored; inside a section it is a bad line.
    AnswerBadLines(clsIniFile::BadLineAnswer::Ok);
    auto headers = Open(dir.File("h.ini"), "[Sec] \r\n[]\r\nk=v\r\n[Sec]\r\n[Sec] \r\nk=w\r\n", "Sec");
    EXPECT_EQ(asked, std::vector<int>{5});
    EXPECT_EQ(headers->GetSectionNames(), ",Sec");
    EXPECT_EQ(headers->GetString("k", ""), "w");

    // Blank lines and headers count: the bad lines are 4 and 7.
    const std::string path = dir.File("bad.ini");
    const char* bytes = "[A]\r\nx=1\r\n\r\nnoequals\r\ny=2\r\n[B]\r\nalso bad\r\nz=3\r\n";
    AnswerBadLines(clsIniFile::BadLineAnswer::Ok);
    auto ok = Open(path, bytes, "B");
    EXPECT_EQ(asked, (std::vector<int>{4, 7}));
    EXPECT_TRUE(ok->IsLoaded());
    EXPECT_EQ(ok->GetLong("z", 0), 3);
    ok.reset();

    AnswerBadLines(clsIniFile::BadLineAnswer::Cancel);
    auto ini = Open(path, nullptr, "A");
    EXPECT_EQ(asked, std::vector<int>{4});
    EXPECT_FALSE(ini->IsLoaded());
    EXPECT_EQ(ini->GetLong("x", 7), 7); // not loaded: every getter gives its default
    // What was read before the bad line is kept and written with new values.
    ini->SetLong("w", 4);
    ASSERT_TRUE(ini->SaveFile());
    EXPECT_EQ(ReadBytes(path), "[A]\r\nx=1\r\nw=4\r\n");
    EXPECT_EQ(clsIniFile::BadLineText("C:/x.qvs", 12),
              "Error Reading Configuration File\r\nC:/x.qvs\r\nIn Line 12 Continue ?");
}

TEST_F(IniFile, TypedGettersAndSetters)
{
    auto file = Open(dir.File("t.ini"),
                     "[T]\r\nb1=1\r\nb2=10\r\nb3=TRUE\r\nb4=0\r\nb5=False\r\nb6=yes\r\nb7=T\r\n"
                     "n1= 42 \r\nn2=2.5\r\nn3=3.5\r\nn4=-2.5\r\nn5=2.51\r\nn6=abc\r\nn7=40000\r\n"
                     "n8=99999999999\r\nr1=1.25\r\n",
                     "T");
    clsIniFile& ini = *file;
    // A text that is no boolean (b6, b7) gives the default.
    const bool booleans[] = {true, true, true, false, false};
    for (int i = 0; i < 7; ++i) {
        const std::string key = "b" + std::to_string(i + 1);
        EXPECT_EQ(ini.GetBoolean(key, true), i >= 5 || booleans[i]) << key;
        EXPECT_EQ(ini.GetBoolean(key, false), i < 5 && booleans[i]) << key;
    }
    // Halves go to the even neighbour; what is no number or too big gives the default.
    const int longs[] = {42, 2, 4, -2, 3, -9, 40000, -9};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(ini.GetLong("n" + std::to_string(i + 1), -9), longs[i]) << "n" << i + 1;
    EXPECT_EQ(ini.GetInteger("n7", -9), -9); // beyond 16 bits
    EXPECT_DOUBLE_EQ(ini.GetDouble("r1", 0), 1.25);
    EXPECT_FLOAT_EQ(ini.GetSingle("n6", 0.5f), 0.5f);

    EXPECT_TRUE(ini.SetInteger("i", -1) && ini.SetBoolean("t", true) && ini.SetBoolean("f", false) &&
                ini.SetLong("l", 12765) && ini.SetDouble("d", 0.1));
    for (const auto& [key, text] :
         {std::pair{"i", "-1"}, {"t", "1"}, {"f", "0"}, {"l", "12765"}, {"d", "0.1"}})
        EXPECT_EQ(ini.GetString(key, ""), text) << key;
}

TEST_F(IniFile, AMissingFileIsEmptyAndIsCreatedOnReleaseAndSettersNeedAFileAndASection)
{
    clsIniFile noFile;
    noFile.sSectionName("S");
    EXPECT_FALSE(noFile.SetString("k", "v"));
    EXPECT_TRUE(noFile.IsClean());
    const std::string path = dir.File("new.ini");
    {
        clsIniFile ini;
        ini.sFileName(path);
        EXPECT_FALSE(ini.IsLoaded());
        EXPECT_FALSE(ini.SetString("k", "v")); // no section yet
        EXPECT_EQ(ini.GetWriteCount(), 0);
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
    auto back = Open(path, nullptr, "S");
    EXPECT_EQ(back->GetString("k", ""), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(back->GetString("multi", ""), "one  two three");
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

TEST_F(IniFile, AFailedSaveKeepsTheOldFileAndTheChangesIsNotTriedAgainOnReleaseAndNeverWritesQuestionMarks)
{
    const std::string path = dir.File("keep.ini");
    const std::string old = "[A]\r\nx=1\r\n";
    for (const bool again : {true, false}) {
        auto ini = Open(path, old.c_str(), "A");
        ini->SetLong("x", 2);
        int attempts = 0;
        platform::SetWriteFault([&](const std::string&, std::string* error) {
            *error = "disk full";
            return ++attempts > 1; // only the first attempt fails
        });
        std::string error;
        EXPECT_FALSE(ini->SaveFile(&error));
        EXPECT_EQ(error, "disk full");
        EXPECT_FALSE(ini->IsClean());
        EXPECT_EQ(ReadBytes(path), old);
        if (again) {
            EXPECT_TRUE(ini->SaveFile()); // the changes were kept
        }
        ini.reset();
        EXPECT_EQ(attempts, again ? 2 : 1);
        EXPECT_EQ(ReadBytes(path), again ? "[A]\r\nx=2\r\n" : old);
        platform::SetWriteFault(nullptr);
    }
    auto ini = Open(path, old.c_str(), "A");
    ini->SetString("name", "Block \xCE\xA9");
    std::string error;
    EXPECT_FALSE(ini->SaveFile(&error));
    EXPECT_NE(error.find("code page"), std::string::npos);
    EXPECT_EQ(ReadBytes(path), old);
}

TEST_F(IniFile, SavesWriteEveryLineUnderItsSectionWhateverTheOrderOfStores)
{
    using Stores = std::vector<std::array<std::string, 3>>; // section, key, value
    const std::string big(1000, 'v');
    Stores replaced; // enough replaced text to be dropped
    for (int i = 0; i < 300; ++i)
        replaced.push_back({"A", "x", big + std::to_string(i)});
    replaced.push_back({"A", "z", "3"});
    const std::tuple<const char*, Stores, std::string, std::string> cases[] = {
        // file (nullptr: a new file, which is not read), stores, bytes written, x read after the save
        {nullptr,
         {{"A", "x", "1"}, {"B", "z", "2"}, {"A", "y", "3"}},
         "[A]\r\nx=1\r\ny=3\r\n[B]\r\nz=2\r\n",
         ""},
        {"[A]\r\nx=1", {{"A", "y", "2"}}, "[A]\r\nx=1\r\ny=2\r\n", "1"}, // no line end after the last line
        {"[A]\r\n\r\nx=1\rbad\r\n[B]\r\n",
         {{"B", "k", "a\r\nb \xC3\xA9"}},
         "[A]\r\nx=1\r\n[B]\r\nk=a  b \xE9\r\n",
         "1"},
        {"[A]\r\nx=1\r\ny=2\r\n", replaced, "[A]\r\nx=" + big + "299\r\ny=2\r\nz=3\r\n", big + "299"},
    };
    const std::string path = dir.File("order.ini");
    for (const auto& [file, stores, written, x] : cases) {
        std::filesystem::remove(path);
        clsIniFile ini;
        if (file != nullptr) {
            WriteBytes(path, file);
            ini.sFileName(path);
        } else {
            ini.NewFile(path);
        }
        for (const auto& [section, key, value] : stores) {
            ini.sSectionName(section);
            ini.SetString(key, value);
        }
        EXPECT_TRUE(ini.SaveFile());
        EXPECT_EQ(ReadBytes(path), written) << (file != nullptr ? file : "new file");
        ini.sSectionName("A");
        EXPECT_EQ(ini.GetString("x", ""), x); // read from the model after the save
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
    auto ini = Open(path, text.c_str(), "S39");
    EXPECT_EQ(ini->GetString("K299", ""), "caf\xC3\xA9 " + std::string(80, 'x'));
    ini->SetString("K299", "th\xC3\xA9");
    std::string error;
    ASSERT_TRUE(ini->SaveFile(&error)) << error;
    const std::string changed = "K299=th\xE9\r\n";
    EXPECT_EQ(ReadBytes(path), text.substr(0, text.rfind("K299=")) + changed);
}

// Run in a death-test child on a thread of its own, so that no earlier
// object's buffers are at hand: the model after the cancel is all there is.
TEST_F(IniFile, AfterACancelledLoadSettersStoreBesideWhatWasReadAndSaveWritesBoth)
{
    const std::string path = dir.File("cancelled.ini");
    WriteBytes(path, "[A]\r\nname=Caf\xE9 R\xF6ssli\r\nx=1\r\nnoequals\r\ny=2\r\n[B]\r\nz=3\r\n");
    EXPECT_EXIT(
        {
            bool stored = false;
            std::thread fresh([&] {
                clsIniFile::SetBadLineQuestion(
                    [](const std::string&, int) { return clsIniFile::BadLineAnswer::Cancel; });
                clsIniFile ini;
                ini.sFileName(path);
                ini.sSectionName("A");
                stored = !ini.IsLoaded() && ini.SetLong("x", 5) && ini.SetString("w", "caf\xC3\xA9");
                ini.sSectionName("B");
                stored = stored && ini.SetInteger("z", 9) && ini.SaveFile();
            });
            fresh.join();
            std::exit(stored ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    // The stored x replaces the one read; B and its keys stood after the bad line.
    testfiles::ExpectMatchesGolden(ReadBytes(path), "cancelled-load.ini");
}
