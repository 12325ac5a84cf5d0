#include "diagnostics/core/LiveGrid.h"

#include "DiagsSite.h"

#include <gtest/gtest.h>

using namespace diagnostics;

TEST(LiveGrid, ADeviceInTheLastSlotIsListedAndGetsItsReadings)
{
    BuildDiagsSite();
    sitebuild::PlaceDevice(model::Nodes, 2, model::kLastSlot, 2, 1, 22, "3001F");
    LiveGrid grid;
    grid.Setup();
    grid.Fill(model::Nodes, true, "3.10");
    ASSERT_EQ(grid.Rows().size(), 9u);
    EXPECT_EQ(grid.Rows().back().cells,
              (DiagsGridRow{"2", "Callpoint", "1", "22", "3001F", "-", "-", "-", "-", "????", "????"}));

    for (int k = 1; k <= 4; ++k)
        model::Nodes[2].SetDeviceLinkBudget(model::kLastSlot, k, 20 + k);
    model::Nodes[2].SetDeviceVersion(model::kLastSlot, "3.10");
    grid.Fill(model::Nodes, false, "3.10");
    EXPECT_EQ(grid.Rows().back().cells,
              (DiagsGridRow{"2", "Callpoint", "1", "22", "3001F", "21", "22", "23", "24", "3.10", "OK"}));
}
