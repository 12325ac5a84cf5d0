// The communications window's commands as the main window's menus reach
// them, against the simulated hub on a pseudo-terminal: each command runs
// end to end and shows what the engineer is told.
#include "app/core/ErrorListText.h"
#include "app/frmErrorCheck.h"
#include "hublink/core/AddressMaps.h"
#include "hublink/core/LinkState.h"
#include "model/SiteBuilder.h"
#include "platform/Ports.h"
#include "platform/ProgramMessage.h"
#include "platform/Yield.h"
#include "platform/base/TimeoutScale.h"
#include "support/ScreenShots.h"
#include "support/SimulatedPort.h"

#include "app/frmMainFixture.h"

#include <QTextEdit>

namespace {

class CommsCommands : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // Patient time-outs: an answer held up by a busy machine is never
        // taken for a missing one.
        platform::SetTimeoutScale(5.0);
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
        // The hub with the parent the main window gives it.
        LoopCount = 2;
        sitebuild::PlaceTwoRccSite(model::Nodes, 0);
        hublink::BuildAddressMap(); // as opening a site file does
        form->DisplayNodes();
    }
    void TearDown() override
    {
        frmComms::Unload();
        if (frmErrorCheck* list = frmErrorCheck::Loaded())
            list->cmdClose_Click();
        QApplication::processEvents();
        platform::SetProgramMessageHandler({});
        platform::ResetPortList();
        platform::SetTimeoutScale(1.0);
        MainWindowTest::TearDown();
    }

    // Runs a main-window menu item and the launch it arms, or (tool) an item
    // of the open communications window's Tools menu; the boxes shown.
    std::vector<std::string> Run(const char* item, bool tool = false)
    {
        boxes.clear();
        if (tool) {
            frmComms::Loaded()->MenuItem(item)->trigger();
            return boxes;
        }
        form->MenuItem(item)->trigger();
        // The launch's tick stops its timer, then runs the command to its end.
        EXPECT_TRUE(form->CommsFormTimer()->isActive()) << item << " armed no launch";
        platform::WaitUntil([this] { return !form->CommsFormTimer()->isActive(); });
        QApplication::processEvents();
        return boxes;
    }

    SimulatedUnit unit;
    SimulatedPort port{unit};
    std::vector<std::string> boxes;
};

using Boxes = std::vector<std::string>;

} // namespace

// An empty hub is programmed, its units assigned, and it matches the site;
// an edit shows in the main window's error list; Clear Programming empties it.
TEST_F(CommsCommands, AnEmptyHubIsProgrammedAssignedComparedAndCleared)
{
    EXPECT_EQ(Run("HubProgram"), Boxes{"Programming Completed Successfully"});
    ASSERT_NE(frmComms::Loaded(), nullptr);
    SaveShot(frmComms::Loaded()->grab().toImage(), "comms-programmed");
    for (const char* hidden : {"SetUnassigned", "ClearUnassigned", "SetIdent", "AssignRCC"})
        EXPECT_FALSE(frmComms::Loaded()->MenuItem(hidden)->isVisible()) << hidden;
    const Boxes assigned = Run("StartAssign", true);
    ASSERT_EQ(assigned.size(), 2u);
    EXPECT_EQ(assigned.back(), "All Devices Have Now Been Successfully Assigned\r\n");

    EXPECT_EQ(Run("HubCompare"), Boxes{"The Hub matches the Configuration"});
    model::Nodes[1].SetDeviceIdent(1, "2F00F");
    EXPECT_EQ(Run("HubCompare"), Boxes{});
    frmErrorCheck* list = frmErrorCheck::Loaded();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(app::ErrorCheckMode, 2);
    EXPECT_TRUE(list->RTB1->toPlainText().contains("Differences Between Current Configuration"));
    EXPECT_TRUE(list->RTB1->toPlainText().contains("2F00F"));

    EXPECT_EQ(Run("ClearProg", true), Boxes{"Device Configuration Cleared"});
    EXPECT_TRUE(unit.Configuration().empty());
}

// Two devices that swap their loop addresses are programmed, and Compare
// then finds the hub equal to the site.
TEST_F(CommsCommands, AnAddressSwapIsProgrammedAndThenCompares)
{
    EXPECT_EQ(Run("HubProgram"), Boxes{"Programming Completed Successfully"});
    model::Nodes[1].SetDeviceAddress(1, 30);
    model::Nodes[2].SetDeviceAddress(1, 20);
    hublink::BuildAddressMap();
    EXPECT_EQ(Run("HubProgram"), Boxes{"Programming Completed Successfully"});
    EXPECT_EQ(Run("HubCompare"), Boxes{"The Hub matches the Configuration"});
    EXPECT_EQ(Run("HubProgram"), Boxes{"The Config matches the Radio Hub already, Update not required"});
}
