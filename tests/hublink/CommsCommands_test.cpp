// The communications window's commands as the main window's menus reach
// them, against the simulated hub on a pseudo-terminal: each command runs
// end to end and shows what the engineer is told.
#include "app/core/ErrorListText.h"
#include "app/frmErrorCheck.h"
#include "hublink/core/AddressMaps.h"
#include "hublink/core/LinkState.h"
#include "hublink/core/ProgrammingList.h"
#include "hublink/core/SiteBuilder.h"
#include "platform/Ports.h"
#include "platform/ProgramMessage.h"
#include "support/ScreenShots.h"
#include "support/SimulatedPort.h"

#include "app/frmMainFixture.h"

#include <QTextEdit>

namespace {

using sitebuild::PlaceDevice;
using sitebuild::PlaceNode;

class CommsCommands : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ResetLinkState();
        platform::ResetPortList();
        platform::SetComPortPath(9, port.SlavePath());
        PortNumber = 9;
        PortBaudIndex = 7;
        CommsCloseOnComplete = false;
        ConfirmDiffs = false;
        // Questions are answered Yes, every other box OK.
        platform::SetProgramMessageHandler(
            [this](QWidget*, const std::string& text, int32_t style, const std::string&) {
                boxes.push_back(text);
                return style == 36 ? 6 : 1;
            });
        Load();
        // The hub (with the parent the main window gives it), RCC 1 on the
        // hub with two devices, RCC 2 under RCC 1 with one.
        LoopCount = 2;
        PlaceNode(model::Nodes, 0, 0, 1, 1, "01A2B").SetY_ChannelA(1);
        model::Nodes[0].SetY_ChannelB(2);
        for (int n : {1, 2}) {
            PlaceNode(model::Nodes, n, n - 1, 1, 9 + n, "1000" + std::to_string(n)).SetX_ChannelA(2 * n + 1);
            model::Nodes[static_cast<size_t>(n)].SetX_ChannelB(2 * n + 2);
        }
        PlaceDevice(model::Nodes, 1, 1, 2, 1, 20, "1A001");
        PlaceDevice(model::Nodes, 1, 2, 7, 2, 21, "1A002");
        PlaceDevice(model::Nodes, 2, 1, 3, 1, 30, "2A001");
        BuildAddressMap(); // as opening a site file does
        form->DisplayNodes();
        // The hub holds the site, every unit assigned.
        SimulatedUnit programmed;
        const ProgrammingList list = BuildFullProgrammingList(model::Nodes, false);
        for (const ProgrammingCommand& c : list.Commands())
            programmed.Receive(c.Command + "\r", 0);
        unit.SetConfiguration(programmed.Configuration());
    }
    void TearDown() override
    {
        frmComms::Unload();
        if (frmErrorCheck* list = frmErrorCheck::Loaded())
            list->cmdClose_Click();
        QApplication::processEvents();
        platform::SetProgramMessageHandler({});
        platform::ResetPortList();
        MainWindowTest::TearDown();
    }

    // Runs a main-window menu item and the launch it arms; the boxes shown.
    std::vector<std::string> Run(const char* item)
    {
        boxes.clear();
        form->MenuItem(item)->trigger();
        QTest::qWait(form->CommsFormTimer()->interval() + 30);
        QApplication::processEvents();
        return boxes;
    }
    // Runs an item of the open communications window's Tools menu.
    std::vector<std::string> RunTool(const char* item)
    {
        boxes.clear();
        frmComms* comms = frmComms::Loaded();
        EXPECT_NE(comms, nullptr);
        if (comms != nullptr)
            comms->MenuItem(item)->trigger();
        return boxes;
    }

    SimulatedUnit unit;
    SimulatedPort port{unit};
    std::vector<std::string> boxes;
};

using Boxes = std::vector<std::string>;

} // namespace

TEST_F(CommsCommands, CompareSaysItMatchesOrListsTheDifferences)
{
    EXPECT_EQ(Run("HubCompare"), Boxes{"The Hub matches the Configuration"});
    EXPECT_EQ(frmErrorCheck::Loaded(), nullptr);

    model::Nodes[1].SetDeviceIdent(1, "2F00F");
    EXPECT_EQ(Run("HubCompare"), Boxes{});
    frmErrorCheck* list = frmErrorCheck::Loaded();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(model::ErrorCheckMode, 2);
    EXPECT_TRUE(list->RTB1->toPlainText().contains("Differences Between Current Configuration"));
    EXPECT_TRUE(list->RTB1->toPlainText().contains("2F00F"));
}

TEST_F(CommsCommands, ProgramFillsAnEmptyHubThatThenMatches)
{
    unit.SetConfiguration({});
    EXPECT_EQ(Run("HubProgram"), Boxes{"Programming Completed Successfully"});
    frmComms* comms = frmComms::Loaded();
    ASSERT_NE(comms, nullptr);
    EXPECT_TRUE(comms->StatusRTF->toPlainText().contains("Programming Completed Successfully"));
    EXPECT_EQ(comms->cmdCancel->text(), "&Close");
    SaveShot(comms->grab().toImage(), "comms-programmed");
    EXPECT_FALSE(unit.Configuration().empty());

    EXPECT_EQ(Run("HubCompare"), Boxes{"The Hub matches the Configuration"});
}

TEST_F(CommsCommands, ToolsMenuAssignsAndClears)
{
    Run("HubComms");
    const Boxes shown = RunTool("StartAssign");
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown.back(), "All Devices Are Already Assigned\r\n");
    for (const char* hidden : {"SetUnassigned", "ClearUnassigned", "SetIdent", "AssignRCC"})
        EXPECT_FALSE(frmComms::Loaded()->MenuItem(hidden)->isVisible()) << hidden;

    EXPECT_EQ(RunTool("ClearProg"), Boxes{"Device Configuration Cleared"});
    EXPECT_TRUE(unit.Configuration().empty());
}
