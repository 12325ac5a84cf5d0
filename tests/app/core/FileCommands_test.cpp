#include "app/core/FileCommands.h"
#include "model/Settings.h"
#include "model/TestFiles.h"
#include "model/TestSites.h"
#include "platform/base/MessageStyle.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

using namespace app;

namespace {

// Answers the commands' questions and dialogs from queues and records what
// the window was told.
class FakeHost : public FileCommandsHost
{
public:
    int Ask(const std::string& text, int style, const std::string& title) override
    {
        asked.push_back(text);
        askedTitles.push_back(title + " " + std::to_string(style));
        const int a = answers.empty() ? 1 : answers.front(); // 1: OK
        if (!answers.empty())
            answers.pop_front();
        return a;
    }
    bool ChooseFile(bool save, std::string& fileName) override
    {
        dialogs.push_back({save, fileName});
        if (whileDialogOpen) {
            auto run = std::move(whileDialogOpen);
            whileDialogOpen = nullptr;
            run();
        }
        const std::optional<std::string> file = files.empty() ? std::nullopt : files.front();
        if (!files.empty())
            files.pop_front();
        if (file)
            fileName = *file;
        return file.has_value();
    }
    void EndSiteNameEdit() override {}
    std::string SiteNameCaption() override { return caption; }
    void ClearForLoad() override { ++clears; }
    void DisplayNodes() override { ++displays; }
    void CalculateUsed(int node) override { usedFor.push_back(node); }
    void SetStatusText(int panel, const std::string& text) override
    {
        status[panel] = text;
        statusLog.push_back(text);
    }
    void ShowErrorList(bool refusedSave) override { errorLists.push_back(refusedSave); }
    void UpdateTitleBar() override {}
    void RefreshRecentFilesMenu() override { ++menuRefreshes; }
    void CheckIsLoopInterfaceOptions() override { ++menuFollows; }
    bool SettleEditors() override
    {
        ++settles;
        if (applyOnSettle)
            FileChanged = true; // the editors' Yes applied an edit
        return !cancelSettle;
    }

    struct Dialog
    {
        bool save;
        std::string start;
    };

    std::deque<int> answers;
    std::deque<std::optional<std::string>> files; // nullopt: cancel
    std::vector<std::string> asked, askedTitles; // titles with the box's style
    std::vector<Dialog> dialogs;
    std::vector<bool> errorLists;
    std::vector<int> usedFor;
    std::string status[5];
    std::vector<std::string> statusLog; // every status text, in order
    std::string caption;
    std::function<void()> whileDialogOpen; // runs inside the next dialog
    int clears = 0, displays = 0, menuRefreshes = 0, menuFollows = 0, settles = 0;
    bool cancelSettle = false, applyOnSettle = false;
};

class FileCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override
    {
        ResetToEmptySite();
        ResetSettings();
    }
    // A small site: the hub and RCC 2 with a name.
    static void SmallSite()
    {
        DisplayMode = 1;
        for (int n : {0, 2}) {
            model::Nodes[n].SetInUse(true);
            model::Nodes[n].SetLeft(1000 * (n + 1));
            model::Nodes[n].SetTop(500);
        }
        model::Nodes[2].SetName("North Wing");
        model::Nodes[2].SetParent(0);
        FileChanged = true;
    }
    FakeHost host;
    FileCommands commands{host};
    testfiles::TempFolder folder;
};

} // namespace

TEST_F(FileCommandsTest, TheSaveQuestionGoesOnOnlyForNoOrAFinishedSave)
{
    EXPECT_TRUE(commands.CheckForChanges()); // unchanged: nothing asked
    EXPECT_TRUE(host.asked.empty());
    SmallSite();
    for (int answer : {MessageResult::Cancel, 0, 1, 3, 99}) {
        host.answers = {answer};
        EXPECT_FALSE(commands.CheckForChanges()) << answer;
        EXPECT_TRUE(FileChanged) << answer;
    }
    EXPECT_TRUE(host.dialogs.empty()) << "only Yes saves";
    ASSERT_FALSE(host.asked.empty());
    EXPECT_EQ(host.askedTitles[0], "Save Changes ? 35");
    EXPECT_EQ(host.asked[0], "Changes Have Been Made to the Current Configuration\r\nDo You Want To Save Them?");
    host.answers = {MessageResult::No};
    EXPECT_TRUE(commands.CheckForChanges());
    EXPECT_FALSE(FileChanged);

    FileChanged = true;
    const std::string path = folder.File("saved.qvs");
    host.answers = {MessageResult::Yes};
    host.files = {path};
    EXPECT_TRUE(commands.CheckForChanges());
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_FALSE(FileChanged);
    EXPECT_EQ(SiteFileName, path);
    EXPECT_FALSE(commands.SaveInProgress());
}

// Edits pending in an editor are settled before the site may go: a cancel
// there keeps the site without a save question, and an edit applied there is
// covered by the save question.
TEST_F(FileCommandsTest, TheEditorsPendingEditsAreSettledBeforeTheSiteCanBeReplaced)
{
    const std::string path = folder.File("other.qvs");
    std::ofstream(path) << "[General]\r\nDisplayMode=1\r\n";
    SiteFileName = "kept.qvs";
    host.cancelSettle = true;
    host.files = {path};
    commands.Open();
    commands.OpenNamed(path);
    EXPECT_EQ(host.settles, 2);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_TRUE(host.dialogs.empty());
    EXPECT_EQ(host.clears, 0);
    EXPECT_EQ(SiteFileName, "kept.qvs");

    host.cancelSettle = false;
    host.applyOnSettle = true;
    host.answers = {MessageResult::Cancel};
    EXPECT_FALSE(commands.CheckForChanges());
    ASSERT_EQ(host.asked.size(), 1u);
    EXPECT_EQ(host.askedTitles[0], "Save Changes ? 35");
}

TEST_F(FileCommandsTest, AYesWhoseSaveIsCancelledStopsTheCommand)
{
    SmallSite();
    host.answers = {MessageResult::Yes};
    host.files = {std::nullopt};
    EXPECT_FALSE(commands.CheckForChanges());
    EXPECT_TRUE(FileChanged);
    EXPECT_TRUE(commands.SaveAborted());
    EXPECT_FALSE(commands.SaveInProgress());
}

TEST_F(FileCommandsTest, SaveAsClearsTheChangeMarkAndHeadsTheRecentList)
{
    SmallSite();
    MruFiles[1] = "/jobs/older.qvs";
    const std::string path = folder.File("two.qvs");
    host.files = {path};
    commands.SaveAs();
    EXPECT_FALSE(FileChanged);
    EXPECT_EQ(MruFiles[1], path);
    EXPECT_EQ(MruFiles[2], "/jobs/older.qvs");
}

TEST_F(FileCommandsTest, SaveOfAnUntitledSiteStartsFromTheSiteName)
{
    SmallSite();
    host.caption = "Block A/B (East)";
    host.files = {std::nullopt};
    commands.Save();
    ASSERT_EQ(host.dialogs.size(), 1u);
    EXPECT_TRUE(host.dialogs[0].save);
    EXPECT_EQ(host.dialogs[0].start, "Block AB East.qvs");
    host.caption = " Block A ";
    host.files = {std::nullopt};
    commands.Save();
    ASSERT_EQ(host.dialogs.size(), 2u);
    EXPECT_EQ(host.dialogs[1].start, " Block A .qvs") << "blanks are kept";

    host.files = {std::string("")}; // the dialog gave no name
    commands.Save();
    EXPECT_EQ(SiteFileName, "untitled.qvs");
    EXPECT_TRUE(commands.SaveAborted());
}

TEST_F(FileCommandsTest, OpenReselectsTheActiveNodeAndTellsTheWindow)
{
    SmallSite();
    const std::string path = folder.File("two.qvs");
    host.files = {path};
    commands.SaveAs();
    EXPECT_EQ(host.menuRefreshes, 1);

    ResetToEmptySite();
    SiteFileName = path; // the dialog starts from the open file
    ActiveNode = 2;
    host.files = {path};
    commands.Open();
    ASSERT_FALSE(host.dialogs.empty());
    EXPECT_EQ(host.dialogs.back().start, path);
    EXPECT_FALSE(host.dialogs.back().save);
    EXPECT_EQ(model::Nodes[2].Name(), "North Wing");
    EXPECT_TRUE(FileLoaded);
    EXPECT_EQ(host.displays, 1);
    EXPECT_EQ(ActiveNode, 2); // still in use: selected again
    ASSERT_FALSE(host.usedFor.empty());
    EXPECT_EQ(host.usedFor.back(), 2);
    EXPECT_EQ(host.status[3], "North Wing");
    EXPECT_EQ(host.menuFollows, 1);
    EXPECT_EQ(MruFiles[2], "");
}

TEST_F(FileCommandsTest, OpenCancelledKeepsTheSiteAndTheActiveNodeGoesWhenMissing)
{
    SmallSite();
    FileChanged = false;
    host.files = {std::nullopt};
    commands.Open();
    EXPECT_TRUE(model::Nodes[2].InUse());
    EXPECT_EQ(host.clears, 0);
    EXPECT_EQ(host.menuFollows, 1) << "the menus follow the kind of site after a cancel too";

    const std::string path = folder.File("hub.qvs");
    model::Nodes[2].SetInUse(false);
    ASSERT_TRUE(model::SaveSiteFile(path));
    model::Nodes[2].SetInUse(true);
    model::Nodes[2].SetNodeNumber(0); // as a file without its number leaves it
    ActiveNode = 2;
    host.files = {path};
    commands.Open();
    EXPECT_EQ(ActiveNode, -1);
    EXPECT_EQ(model::Nodes[2].NodeNumber(), 2) << "a slot the file does not use is numbered as its own";
    ASSERT_FALSE(host.usedFor.empty());
    EXPECT_EQ(host.usedFor.back(), -1); // the status bar names nothing
}

TEST_F(FileCommandsTest, AFileThatIsNotASiteFileLeavesNoFileLoaded)
{
    const std::string path = folder.File("notes.qvs");
    testfiles::WriteBytes(path, "[General]\r\nSiteName=x\r\n[Node0]\r\nInUse=1\r\n");
    host.files = {path};
    commands.Open();
    ASSERT_EQ(host.asked.size(), 1u);
    EXPECT_EQ(host.asked[0],
              "ERROR : Unable to Open " + path + "\r\nAs it is not a valid Quorvel Configuration File");
    EXPECT_EQ(host.askedTitles[0], "Open Configuration File 16");
    EXPECT_EQ(SiteFileName, "No File Loaded");
    EXPECT_EQ(MruFiles[1], "");
    EXPECT_FALSE(model::Nodes[0].InUse());

    // Save then asks where, as for a site never saved: no file of that name
    // lands in the working folder, here the test's own.
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    host.files = {std::nullopt};
    commands.Save();
    std::filesystem::current_path(before);
    ASSERT_EQ(host.dialogs.size(), 2u);
    EXPECT_TRUE(host.dialogs[1].save);
    EXPECT_FALSE(std::filesystem::exists(folder.File("No File Loaded")));
}

TEST_F(FileCommandsTest, AFileThatIsNotThereIsReportedAndTheOpenSiteStays)
{
    SmallSite();
    FileChanged = false;
    SiteFileName = "/jobs/open.qvs";
    const std::string gone = folder.File("gone.qvs");
    MruFiles[2] = gone;
    host.files = {gone};
    commands.Open();
    commands.OpenRecent(2);
    ASSERT_EQ(host.asked.size(), 2u);
    for (const std::string& text : host.asked)
        EXPECT_EQ(text, "ERROR : Unable to Open " + gone + "\r\nFile Not Found");
    EXPECT_EQ(host.askedTitles[1], "Open Configuration File 16");
    EXPECT_EQ(host.clears, 0);
    EXPECT_TRUE(model::Nodes[2].InUse());
    EXPECT_EQ(SiteFileName, "/jobs/open.qvs");
    EXPECT_EQ(MruFiles[1], "") << "a missing file does not head the recent list";
    EXPECT_EQ(MruFiles[2], gone);
}

// A dialog cannot show a folder whose name is not UTF-8 and would start
// elsewhere with the site's file name: Open and Save As say so first, and on
// OK start with no file named on the folders above that it can show (the
// working folder for a relative name); Cancel shows no dialog.
TEST_F(FileCommandsTest, OpenAndSaveAsSayFirstThatTheDialogCannotShowTheSitesFolder)
{
    SmallSite();
    FileChanged = false;
    const std::string inner = folder.File("Bj\xF6rk/site.qvs");
    const struct
    {
        void (FileCommands::*command)();
        std::string site, start, asked, title;
    } rows[] = {
        {&FileCommands::Open, inner, folder.String() + "/", "Open a File from", "Open Configuration File 33"},
        {&FileCommands::Open, "dir\xE9/in.qvs", "", "Open a File from", "Open Configuration File 33"},
        {&FileCommands::SaveAs, inner, folder.String() + "/", "Save It in", "Save Configuration File 33"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.site + " " + row.title);
        for (const int answer : {MessageResult::Cancel, MessageResult::OK}) {
            SiteFileName = row.site;
            host.asked.clear();
            host.askedTitles.clear();
            host.dialogs.clear();
            host.answers = {answer};
            host.files = {std::nullopt};
            (commands.*row.command)();
            ASSERT_EQ(host.asked.size(), 1u);
            EXPECT_EQ(host.asked[0], "Unable to Show the Folder of " + row.site +
                                         "\r\nIts Name Cannot Be Read\r\nDo You Want To " + row.asked +
                                         " Another Folder?");
            EXPECT_EQ(host.askedTitles[0], row.title);
            ASSERT_EQ(host.dialogs.size(), answer == MessageResult::OK ? 1u : 0u);
            if (!host.dialogs.empty()) {
                EXPECT_EQ(host.dialogs[0].start, row.start);
            }
            EXPECT_EQ(SiteFileName, row.site);
        }
    }
}

// The recent entry clicked is the file that opens after a Yes to the save
// question, however that Save As moved the list: a new name pushes the entry
// down or off a full list, and a Save As onto the entry's own name writes the
// site there before it is read back.
TEST_F(FileCommandsTest, ARecentEntryOpensTheFileClickedWhateverTheSaveDidToTheList)
{
    const std::string a = folder.File("a.qvs");
    const std::string b = folder.File("b.qvs");
    std::ofstream(b) << "[General]\r\nDisplayMode=1\r\n";
    const std::pair<int, std::string> cases[] = {
        {2, folder.File("a-saved.qvs")}, {10, folder.File("new.qvs")}, {2, b}};
    for (const auto& [entry, saveAs] : cases) {
        SCOPED_TRACE(saveAs);
        for (int k = 2; k <= 10; ++k)
            MruFiles[static_cast<std::size_t>(k)] = folder.File("other" + std::to_string(k) + ".qvs");
        MruFiles[1] = a;
        MruFiles[static_cast<std::size_t>(entry)] = b;
        SmallSite();
        SiteFileName = a;
        host.asked.clear();
        host.answers = {MessageResult::Yes};
        host.files = {saveAs};
        commands.OpenRecent(entry);
        EXPECT_EQ(host.asked.size(), 1u) << "only the save question";
        EXPECT_TRUE(std::filesystem::exists(saveAs));
        EXPECT_EQ(SiteFileName, b);
        EXPECT_EQ(MruFiles[1], b);
        EXPECT_EQ(MruFiles[2], saveAs == b ? a : saveAs);
        // Read back from b: the saved site when the save went there.
        EXPECT_EQ(model::Nodes[2].InUse(), saveAs == b);
    }
}

TEST_F(FileCommandsTest, CheckOnCloseRefusesAFaultySiteAndWritesNothing)
{
    SmallSite(); // nothing set: the check finds faults
    CheckOnClose = true;
    const std::string path = folder.File("site.qvs");
    testfiles::WriteBytes(path, "old");
    SiteFileName = path;
    commands.Save();
    ASSERT_EQ(host.errorLists, std::vector<bool>{true});
    EXPECT_TRUE(FileChanged);
    EXPECT_FALSE(commands.SaveInProgress());

    host.answers = {MessageResult::Yes};
    EXPECT_FALSE(commands.CheckForChanges());
    EXPECT_TRUE(host.dialogs.empty());
    EXPECT_EQ(testfiles::ReadBytes(path), "old");
}

TEST_F(FileCommandsTest, AFailedWriteSaysWhyAndKeepsTheSiteChanged)
{
    SmallSite();
    const std::string bad = folder.File("no-such-folder/site.qvs");
    host.files = {bad};
    commands.SaveAs();
    ASSERT_EQ(host.asked.size(), 1u);
    const std::string lead = "ERROR : Unable to Save " + bad + "\r\n";
    EXPECT_EQ(host.asked[0].rfind(lead, 0), 0u);
    EXPECT_GT(host.asked[0].size(), lead.size()); // the reason follows
    EXPECT_EQ(host.askedTitles[0], "Save Configuration File 16");
    EXPECT_FALSE(commands.SaveInProgress());
    EXPECT_TRUE(FileChanged);
    EXPECT_EQ(SiteFileName, "untitled.qvs");
    EXPECT_EQ(MruFiles[1], "");
    EXPECT_TRUE(commands.SaveAborted());

    host.answers = {MessageResult::Yes};
    host.files = {bad};
    EXPECT_FALSE(commands.CheckForChanges());
    EXPECT_TRUE(FileChanged);
}

TEST_F(FileCommandsTest, NothingReplacesTheSiteWhileASaveRuns)
{
    SmallSite();
    const std::string path = folder.File("slow.qvs");
    bool wentOn = true;
    host.whileDialogOpen = [&] {
        host.answers = {MessageResult::No};
        wentOn = commands.CheckForChanges(); // e.g. a file handed over meanwhile
        FileChanged = false;
        commands.Open(); // not even an unchanged site is replaced
        FileChanged = true;
    };
    host.files = {path};
    commands.SaveAs();
    EXPECT_FALSE(wentOn);
    EXPECT_EQ(host.dialogs.size(), 1u);
    EXPECT_TRUE(model::Nodes[2].InUse());
    EXPECT_TRUE(std::filesystem::exists(path)); // the first save still finished
    EXPECT_FALSE(commands.SaveInProgress());
    EXPECT_FALSE(commands.SaveAborted());
}

TEST_F(FileCommandsTest, CheckOnOpenShowsTheFaultsOnlyWithTheOption)
{
    SmallSite();
    const std::string path = folder.File("faulty site.qvs");
    host.files = {path};
    commands.SaveAs();
    for (bool check : {true, false}) {
        CheckOnOpen = check;
        host.errorLists.clear();
        host.files = {path};
        commands.Open();
        EXPECT_EQ(host.status[3], ""); // none selected
        EXPECT_EQ(host.errorLists, check ? std::vector<bool>{false} : std::vector<bool>{});
    }
}

TEST_F(FileCommandsTest, TheStatusBarNamesTheFileWhileCompilingAndLoading)
{
    SmallSite();
    const std::string path = folder.File("faulty site.qvs");
    host.files = {path};
    commands.SaveAs();
    const auto logged = [&](const std::string& text) {
        return std::find(host.statusLog.begin(), host.statusLog.end(), text) != host.statusLog.end();
    };
    EXPECT_TRUE(logged("Compiling [faulty site.qvs]"));
    host.files = {path};
    commands.Open();
    EXPECT_TRUE(logged("Loading [faulty site.qvs]"));
}

// A relative name is read against the working folder when it is given and
// kept as the file it named: a recent entry an earlier version kept as typed
// opens that file and gives it its place, a Save writes it from any working
// folder, and the dialogs fill in its name only in its own folder; a
// dialog's relative answer is read against the working folder.
TEST_F(FileCommandsTest, ARelativeNameStaysTheFileItNamedWhenGiven)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::canonical(folder.path());
    const std::string typedIn = (root / "typed").string(), other = (root / "other").string();
    for (const std::string& f : {typedIn, other}) {
        fs::create_directories(f + "/sub");
        testfiles::WriteBytes(f + "/sub/in.qvs", "[General]\r\nDisplayMode=1\r\n");
    }
    const std::string site = typedIn + "/sub/in.qvs";
    MruFiles[1] = "/jobs/a.qvs";
    MruFiles[2] = "sub/in.qvs";
    {
        const testsupport::WorkingIn working(typedIn);
        commands.OpenRecent(2);
        commands.AddRecentFile("sub/in.qvs"); // the same file, as typed
    }
    EXPECT_EQ(SiteFileName, site);
    EXPECT_EQ(MruFiles[1] + "|" + MruFiles[2] + "|" + MruFiles[3], site + "|/jobs/a.qvs|");

    const testsupport::WorkingIn working(other);
    SmallSite();
    commands.Save();
    EXPECT_NE(testfiles::ReadBytes(site).find("North Wing"), std::string::npos);
    EXPECT_EQ(testfiles::ReadBytes(other + "/sub/in.qvs"), "[General]\r\nDisplayMode=1\r\n");

    host.files = {std::nullopt, std::nullopt, std::nullopt, std::string("sub/in.qvs")};
    commands.Open();
    fs::remove_all(typedIn + "/sub");
    commands.Open();
    commands.SaveAs();
    ASSERT_EQ(host.dialogs.size(), 3u);
    EXPECT_EQ(host.dialogs[0].start, site);
    EXPECT_EQ(host.dialogs[1].start, typedIn + "/");
    EXPECT_EQ(host.dialogs[2].start, typedIn + "/");
    commands.Open();
    EXPECT_EQ(SiteFileName, other + "/sub/in.qvs");
}
