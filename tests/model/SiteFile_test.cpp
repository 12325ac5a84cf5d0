#include "model/SiteFile.h"

#include "TestFiles.h"
#include "SiteBuilder.h"
#include "TestSites.h"
#include "model/clsIniFile.h"
#include "platform/base/FileReplace.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace model;
using testfiles::ReadBytes;
using testfiles::WriteBytes;

namespace {

// Records what the windows would be told.
class Recorder : public SiteFileObserver
{
public:
    void ShowProgress(int maximum) override { shown.push_back(maximum); }
    void SetProgressMaximum(int maximum) override { maximums.push_back(maximum); }
    void SetProgressValue(int value) override { values.push_back(value); }
    void HideProgress() override { ++hidden; }
    void SetStatusText(const std::string& text) override { status = text; }
    void ClearScreen() override { ++cleared; }
    void Yield() override
    {
        if (onYield)
            onYield();
    }

    std::vector<int> shown, maximums, values;
    int hidden = 0;
    int cleared = 0;
    std::string status;
    std::function<void()> onYield;
};

// The hub of a radio site takes Y channels, every other node X channels.
void PlaceNode(int n, int parent, int left, int top, const std::string& ident, const std::string& name,
               int loop, int address, int channelA = -1, int channelB = -1)
{
    clsNode& node = sitebuild::PlaceNode(Nodes, n, parent, loop, address, ident);
    node.SetLeft(left);
    node.SetTop(top);
    node.SetName(name);
    if (channelA < 0)
        return;
    if (n == 0 && !IsLoopInterface) {
        node.SetY_ChannelA(channelA);
        node.SetY_ChannelB(channelB);
    } else {
        node.SetX_ChannelA(channelA);
        node.SetX_ChannelB(channelB);
    }
}

void PlaceDevice(int n, int slot, int type, int loop, int address, const std::string& ident,
                 const std::string& name)
{
    sitebuild::PlaceDevice(Nodes, n, slot, type, loop, address, ident);
    Nodes[static_cast<std::size_t>(n)].SetDeviceName(slot, name);
}

// What File > Open does before reading: every node emptied.
void EmptySite()
{
    for (clsNode& node : Nodes) {
        node.SetInUse(false);
        node.InitializeNode();
    }
    ResetSiteState();
}

class SiteFile : public ::testing::Test
{
protected:
    void SetUp() override { Fresh(); }
    void Fresh()
    {
        ResetToEmptySite();
        SetSiteFileObserver(&recorder);
    }
    void TearDown() override
    {
        ResetToEmptySite();
        platform::SetWriteFault(nullptr);
        clsIniFile::SetBadLineQuestion(nullptr);
    }

    static void BuildHubSite()
    {
        DisplayMode = 3;
        SiteName = "Plant Caf\xC3\xA9 \xE2\x82\xAC";
        SiteNameX = 250;
        SiteNameY = 180;
        BorderSiteName = false;
        Locked = true;
        LoopCount = 2;
        LoopProtocol = 2;
        PlaceNode(0, 0, 4000, 500, "0a1b2", "Main hub", 1, 1, 22, 8);
        PlaceNode(1, 0, 2000, 2000, "1C3D4", "North wing", 1, 2, 32, 4);
        PlaceDevice(1, 1, 2, 1, 10, "20001", "Stair 1");
        PlaceDevice(1, 2, 3, 2, 11, "20002", "Plant room");
        PlaceDevice(1, 5, 10, 2, 40, "20005", "Kitchen head");
        PlaceDevice(1, 6, 7, 2, 12, "20006", "Lobby");
        PlaceDevice(1, 31, 20, 2, 126, "2001F", "Zone monitor");
        PlaceNode(2, 1, 6000, 2000, "1C3D5", "South = wing", 2, 3, 17, 1);
        PlaceDevice(2, 3, 19, 1, 100, "30003", "Store");
        PlaceDevice(2, 4, 5, 1, 101, "30004", "");
        PlaceDevice(2, 7, 13, 1, 50, "", "Unfinished combo");
    }

    static void BuildLoopInterfaceSite()
    {
        IsLoopInterface = true;
        SiteName = "RLM site";
        PlaceNode(0, 0, 3000, 400, "4A000", "RLM", 3, 7, 5, 25);
        PlaceDevice(0, 1, 4, 3, 20, "4A001", "Hall");
        PlaceDevice(0, 2, 16, 3, 21, "4A002", "Boiler");
        PlaceNode(1, 0, 1500, 1800, "4B000", "Annex", 3, 8, 9, 30);
        PlaceDevice(1, 1, 6, 4, 1, "4B001", "Annex sounder");
    }

    static void BuildFullSite()
    {
        SiteName = "Full site";
        PlaceNode(0, 0, 9000, 300, "0F000", "Hub", 1, 1, 3, 20);
        for (int n = 1; n < kNodeCount; ++n) {
            char ident[6];
            std::snprintf(ident, sizeof ident, "1%02X00", n);
            PlaceNode(n, n <= 4 ? 0 : (n - 1) / 4, 600 * n, 1500 + 700 * (n % 4), ident,
                      "RCC " + std::to_string(n), 1 + n % 4, 1 + n, n, 33 - n);
            for (int j = 1; j <= kLastSlot; ++j) {
                char dev[6];
                std::snprintf(dev, sizeof dev, "%02X%03X", n, j);
                PlaceDevice(n, j, 2 + (n + j) % 19, 1 + (n + j) % 4, 1 + (n * 31 + j) % 126, dev,
                            "Device " + std::to_string(n) + "." + std::to_string(j));
            }
        }
    }

    // Writes the site, compares it with the golden, reads it into an emptied
    // site and writes that again: the bytes must not change.
    void RoundTrip(const std::string& golden)
    {
        const std::string first = dir.File("first.qvs");
        std::string error;
        ASSERT_TRUE(SaveSiteFile(first, &error)) << error;
        const std::string bytes = ReadBytes(first);
        testfiles::ExpectMatchesGolden(bytes, golden);

        EmptySite();
        LoadSiteFile(first);
        const std::string second = dir.File("second.qvs");
        ASSERT_TRUE(SaveSiteFile(second, &error)) << error;
        EXPECT_EQ(ReadBytes(second), bytes);
    }

    static void ExpectOwners(std::initializer_list<std::array<int, 3>> cells)
    {
        for (const auto& [loop, address, owner] : cells)
            EXPECT_EQ(GetOwner(LoopAddressOwner, loop, address), owner) << loop << "/" << address;
    }

    Recorder recorder;
    testfiles::TempFolder dir;
};

} // namespace

TEST_F(SiteFile, HubLoopInterfaceAndFullSitesRoundTripByteForByte)
{
    BuildHubSite();
    FileChanged = true;
    SiteFileName = "  /sites/Plant.qvs ";
    RoundTrip("hub-site.qvs");
    EXPECT_FALSE(FileChanged);
    ASSERT_FALSE(recorder.maximums.empty() || recorder.values.empty()) << "the bar never moved";
    // 4 headers, [General] 10 keys, [Node0] 11, [Node1] and [Node2] 171 each.
    EXPECT_EQ(recorder.maximums.back(), 367);
    EXPECT_EQ(recorder.values.back(), 367);
    EXPECT_EQ(MaxLoopAddress, 127);
    // A combination head takes two addresses, a plain combo one.
    ExpectOwners({{1, 1, 0}, {2, 3, 200}, {2, 40, 105}, {2, 41, 105}, {1, 50, 207}, {1, 51, -1}});

    Fresh();
    BuildLoopInterfaceSite();
    RoundTrip("loop-interface.qvs");
    EXPECT_TRUE(IsLoopInterface);
    ExpectOwners({{3, 21, 2}, {3, 22, 2}, {4, 1, 101}});

    Fresh();
    BuildFullSite();
    RoundTrip("full-site.qvs");
    EXPECT_EQ(Nodes[31].DeviceIdent(31), "1F01F");
    ASSERT_FALSE(recorder.maximums.empty() || recorder.values.empty()) << "the bar never moved";
    EXPECT_EQ(recorder.values.back(), recorder.maximums.back());
}

TEST_F(SiteFile, ProgressAddsUpToTheBar)
{
    BuildHubSite();
    SiteFileName = "  C:\\Sites\\Plant.qvs ";
    const std::string path = dir.File("p.qvs");
    ASSERT_TRUE(SaveSiteFile(path));
    EXPECT_EQ(recorder.status, "Writing [Plant.qvs]");
    EXPECT_EQ(recorder.shown, std::vector<int>{1000});
    ASSERT_GE(recorder.values.size(), 1024u);
    EXPECT_EQ(recorder.values[0], 8);
    EXPECT_EQ(recorder.values[1 + 1024 - 1], 1000); // capped after 32 x 32 slot steps
    EXPECT_EQ(recorder.hidden, 1);

    recorder = Recorder();
    EmptySite();
    LoadSiteFile(path);
    EXPECT_EQ(recorder.shown, std::vector<int>{1000});
    EXPECT_EQ(recorder.cleared, 1);
    ASSERT_FALSE(recorder.values.empty());
    EXPECT_EQ(recorder.values.front(), 8);
    // Nodes not in use add 31 while the bar is below 969, so a site whose
    // last node is not in use ends at 969.
    EXPECT_EQ(recorder.values.back(), 969);
    EXPECT_EQ(recorder.values.size(), 1u + 2 * 31 + 30);
    EXPECT_EQ(recorder.hidden, 1);
}

TEST_F(SiteFile, NamesWithLineBreaksDoNotBreakTheFile)
{
    BuildHubSite();
    SiteName = "Two\r\nlines";
    Nodes[1].SetName("A\nB");
    Nodes[2].SetDeviceName(3, "C\rD");
    const std::string path = dir.File("breaks.qvs");
    ASSERT_TRUE(SaveSiteFile(path));
    EmptySite();
    bool asked = false;
    clsIniFile::SetBadLineQuestion([&](const std::string&, int) {
        asked = true;
        return clsIniFile::BadLineAnswer::Cancel;
    });
    LoadSiteFile(path);
    EXPECT_FALSE(asked) << "no line of the file is broken";
    EXPECT_EQ(SiteName, "Two  lines");
    EXPECT_EQ(Nodes[1].Name(), "A B");
    EXPECT_EQ(Nodes[2].DeviceName(3), "C D");
    EXPECT_EQ(Nodes[2].DeviceType(4), 5); // everything after them is still read
}

TEST_F(SiteFile, DisplayModeMinusTwoIsWrittenAsThreeAndAFileWithoutItIsNoSite)
{
    DisplayMode = -2;
    PlaceNode(0, 0, 0, 0, "00001", "", 1, 1);
    const std::string path = dir.File("dm.qvs");
    ASSERT_TRUE(SaveSiteFile(path));
    EXPECT_EQ(ReadBytes(path).substr(0, 26), "[General]\r\nDisplayMode=3\r\n");

    WriteBytes(path, "[General]\r\nSiteName=X\r\nDisplayMode=\r\n[Node1]\r\nInUse=1\r\n");
    EmptySite();
    SetOwner(LoopAddressOwner, 2, 5, 300);
    SetOwner(LoopAddressOwner, 0, 5, 300); // outside loops 1..4: not freed
    FileChanged = true;
    LoadSiteFile(path);
    EXPECT_EQ(DisplayMode, -2);
    EXPECT_EQ(SiteName, " Site Name ");
    EXPECT_FALSE(Nodes[1].InUse());
    EXPECT_FALSE(FileChanged);
    EXPECT_EQ(recorder.cleared, 1);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 2, 5), -1);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 0, 5), 300);
}

TEST_F(SiteFile, StoredZerosEmptiesAndOutOfTableAddresses)
{
    const std::string path = dir.File("edge.qvs");
    WriteBytes(path, "[General]\r\nDisplayMode=3\r\nSiteName=\r\n"
                     "[Node0]\r\nInUse=1\r\nNodeLoop=0\r\nNodeAddress=5\r\nYChannelA=0\r\nDev1Type=2\r\n"
                     "[Node1]\r\nInUse=1\r\nNodeLoop=1\r\nNodeAddress=200\r\nDev0Type=5\r\nDev0Loop=1\r\n"
                     "Dev1Type=10\r\nDev1Loop=4\r\nDev1Address=128\r\n"
                     "Dev2Type=3\r\nDev2Loop=0\r\nDev2Address=9\r\n"
                     "Dev3Type=3\r\nDev3Loop=2\r\nDev3Address=254\r\n");
    LoadSiteFile(path);
    EXPECT_EQ(SiteName, " Site Name ");
    EXPECT_EQ(Nodes[0].NodeLoop(), -1);
    EXPECT_EQ(Nodes[0].Y_ChannelA(), -1);
    EXPECT_EQ(Nodes[0].DeviceType(1), 0); // the hub has no device slots
    EXPECT_EQ(Nodes[1].NodeAddress(), 200);
    EXPECT_EQ(Nodes[1].DeviceType(0), -1); // slot 0 keys are not read
    EXPECT_EQ(Nodes[1].DeviceLoop(2), -1);
    EXPECT_EQ(Nodes[1].DeviceAddress(3), 254);
    EXPECT_EQ(Nodes[1].DeviceLoop(5), -1);
    // Only in-table cells were claimed: a head at 128 has no second one.
    int claimed = 0;
    for (int loop = 0; loop < kOwnerLoops; ++loop)
        for (int address = 0; address < kOwnerAddresses; ++address)
            claimed += GetOwner(LoopAddressOwner, loop, address) != -1;
    EXPECT_EQ(claimed, 1);
    EXPECT_EQ(GetOwner(LoopAddressOwner, 4, 128), 101);

    // A path that does not exist changes nothing.
    recorder = Recorder();
    LoadSiteFile(dir.File("nothing-here.qvs"));
    EXPECT_TRUE(Nodes[1].InUse());
    EXPECT_EQ(recorder.cleared, 0);
}

TEST_F(SiteFile, AKeyIsItsFirstLineUnderAnyEntryOfItsSection)
{
    const std::string path = dir.File("by-hand.qvs");
    WriteBytes(path, "[General]\r\nDisplayMode=3\r\nSiteName=First\r\nSiteName=Second\r\n"
                     "[Node1]\r\nInUse=1\r\nLeft=10\r\nNodeName=\r\nNodeName=Later\r\n"
                     "Dev3Type=4\r\nDev03Type=9\r\nDev3Type=7\r\nDev32Type=5\r\n"
                     "[Node01]\r\nTop=99\r\n[node2]\r\nInUse=1\r\n"
                     "[Node1]\r\nLeft=55\r\nTop=20\r\nDev3Name=Hall\r\n"
                     "[General]\r\nLocked=1\r\n");
    LoadSiteFile(path);
    EXPECT_EQ(SiteName, "First");
    EXPECT_TRUE(Locked);
    EXPECT_FALSE(Nodes[2].InUse());
    const clsNode& node = Nodes[1];
    EXPECT_TRUE(node.InUse());
    EXPECT_EQ(node.Left(), 10);
    EXPECT_EQ(node.Top(), 20);
    EXPECT_EQ(node.Name(), "");
    EXPECT_EQ(node.DeviceType(3), 4);
    EXPECT_EQ(node.DeviceName(3), "Hall");
}

TEST_F(SiteFile, BadLinesAreAskedAboutAndCancelMakesTheFileInvalid)
{
    BuildHubSite();
    const std::string path = dir.File("bad.qvs");
    ASSERT_TRUE(SaveSiteFile(path));
    std::string bytes = ReadBytes(path);
    // Break line 4 ("SiteNameX=250") and line 14 ("Top=500").
    bytes.replace(bytes.find("SiteNameX=250"), 13, "SiteNameX 250");
    bytes.replace(bytes.find("Top=500"), 7, "Top:500");
    WriteBytes(path, bytes);

    for (const auto answer : {clsIniFile::BadLineAnswer::Ok, clsIniFile::BadLineAnswer::Cancel}) {
        std::vector<int> asked;
        clsIniFile::SetBadLineQuestion([&](const std::string& file, int line) {
            EXPECT_EQ(file, path);
            asked.push_back(line);
            return answer;
        });
        EmptySite();
        LoadSiteFile(path);
        const bool ok = answer == clsIniFile::BadLineAnswer::Ok;
        EXPECT_EQ(asked, (ok ? std::vector<int>{4, 14} : std::vector<int>{4}));
        EXPECT_EQ(DisplayMode, ok ? 3 : -2);
        EXPECT_EQ(Nodes[2].InUse(), ok);
        if (ok) { // the skipped lines' defaults
            EXPECT_EQ(SiteNameX, 100);
            EXPECT_EQ(Nodes[0].Top(), 0);
        }
    }
}

TEST_F(SiteFile, AFailedSaveKeepsTheOldFileAndTheChangedMark)
{
    BuildHubSite();
    FileChanged = true;
    const std::string path = dir.File("site.qvs");
    WriteBytes(path, "old contents");
    const auto expectRefused = [&](const std::string& to, const std::string& reason) {
        std::string error;
        EXPECT_FALSE(SaveSiteFile(to, &error));
        EXPECT_NE(error.find(reason), std::string::npos) << error;
        EXPECT_EQ(ReadBytes(path), "old contents");
        EXPECT_TRUE(FileChanged);
    };
    expectRefused("", "No file name");
    platform::SetWriteFault([](const std::string&, std::string* reason) {
        *reason = "No space left on device";
        return false;
    });
    expectRefused(path, "No space left on device");
    platform::SetWriteFault(nullptr);
    // Nor is a name the file's code page cannot hold written as "?".
    const std::string name = Nodes[1].Name();
    Nodes[1].SetName("Block \xCE\xA9");
    expectRefused(path, "code page");
    Nodes[1].SetName(name);
    ::chmod(path.c_str(), 0444);
    expectRefused(path, "read-only");
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(recorder.hidden, static_cast<int>(recorder.shown.size())); // the bar is hidden again

    // The failures left no save marked as running.
    EXPECT_TRUE(SaveSiteFile(path));
    EXPECT_FALSE(FileChanged);
}

TEST_F(SiteFile, ASaveStartedDuringASaveDoesNothing)
{
    BuildHubSite();
    const std::string path = dir.File("outer.qvs");
    const std::string inner = dir.File("inner.qvs");
    int attempts = 0;
    bool innerResult = true;
    std::string innerError;
    recorder.onYield = [&] {
        if (attempts++ == 0)
            innerResult = SaveSiteFile(inner, &innerError);
    };
    EXPECT_TRUE(SaveSiteFile(path));
    EXPECT_FALSE(innerResult);
    EXPECT_EQ(innerError, "A save is already in progress.");
    EXPECT_FALSE(std::filesystem::exists(inner));
    EXPECT_TRUE(std::filesystem::exists(path));
}
