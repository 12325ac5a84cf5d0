#include "views/core/ConfigGridRows.h"

#include "SiteFixture.h"

#include <gtest/gtest.h>

using views::ConfigGridRows;

namespace {

class ConfigGrid : public EmptySiteTest
{
protected:
    void SetUp() override { LoadFixtureSite("hub-site.qvs"); }
    using Texts = std::vector<std::string>;
    static Texts Column(const ConfigGridRows& grid, int column)
    {
        Texts texts;
        for (std::size_t r = 0; r < grid.RowCount(); ++r)
            texts.push_back(grid.Row(r)[static_cast<std::size_t>(column)]);
        return texts;
    }
};

} // namespace

TEST_F(ConfigGrid, ClickShowsDevicesInSlotOrderAndTakesExactlyThemAway)
{
    ConfigGridRows grid(model::Nodes);
    const Texts collapsed = Column(grid, 1);
    EXPECT_EQ(Column(grid, 0), (Texts{" ", "+", "+"}));

    EXPECT_FALSE(grid.ToggleDevices(0).toggles); // the hub row never expands
    const views::GridRowChange shown = grid.ToggleDevices(2);
    EXPECT_EQ(shown.first, 3u);
    EXPECT_EQ(shown.inserted, 3u);
    EXPECT_EQ(Column(grid, 5), (Texts{"1", "2", "3", "100 - 101", "101", "50"}));
    EXPECT_EQ(Column(grid, 0), (Texts{" ", "+", "-", "", "", ""}));

    grid.ToggleDevices(1);
    EXPECT_EQ(Column(grid, 2)[2], "Callpoint");
    EXPECT_EQ(Column(grid, 2)[6], "ZM I/O Unit");
    const views::GridRowChange hidden = grid.ToggleDevices(1);
    EXPECT_EQ(hidden.removed, 5u);
    EXPECT_EQ(Column(grid, 0), (Texts{" ", "+", "-", "", "", ""}));
    EXPECT_FALSE(grid.ToggleDevices(3).toggles); // a device row

    grid.TypeLocationKey(4, 'Q');
    grid.FillNodeGrid(); // collapse all
    EXPECT_EQ(Column(grid, 1), collapsed);
    EXPECT_EQ(Column(grid, 0), (Texts{" ", "+", "+"}));

    // An RCC without devices has no marker and nothing to show.
    model::Nodes[5].SetInUse(true);
    grid.FillNodeGrid();
    EXPECT_EQ(Column(grid, 0), (Texts{" ", "+", "+", " "}));
    EXPECT_FALSE(grid.ToggleDevices(3).toggles);
    grid.ExpandAll();
    EXPECT_EQ(Column(grid, 0).back(), " ");
}

TEST_F(ConfigGrid, FullSiteExpandsEveryRcc)
{
    LoadFixtureSite("full-site.qvs");
    ConfigGridRows grid(model::Nodes);
    grid.ExpandAll();
    EXPECT_EQ(grid.RowCount(), 32u + 31u * 31u);
}
