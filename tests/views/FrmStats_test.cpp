#include "SiteViewFixture.h"
#include "support/ScreenShots.h"
#include "views/core/UsageStatistics.h"

#include <QRadioButton>

using views::StatsGrouping;

class StatsTest : public SiteViewTest
{
protected:
    FrmStats* OpenStats(const QString& site) { return OpenView<FrmStats>(site, &frmMain::ConfigStats_Click); }

    static std::vector<views::TreeLine> SiteLines(StatsGrouping grouping, bool countUsed)
    {
        return views::UsageStatisticsLines({model::Nodes, LoopCount, MaxLoopAddress}, grouping, countUsed);
    }
};

TEST_F(StatsTest, ShowsTheChosenCountsAndStoresTheOptions)
{
    StatsViewBy = 1;
    StatsUsedFree = true;
    FrmStats* stats = OpenStats("hub-site.qvs");
    ASSERT_NE(stats, nullptr);
    EXPECT_TRUE(stats->OptLoop->isChecked() && stats->OptUsed->isChecked());
    EXPECT_EQ(Shown(*stats->TreeView), SiteLines(StatsGrouping::ByLoop, true));
    EXPECT_TRUE(Expanded(*stats->TreeView).isEmpty());

    const struct
    {
        QRadioButton* option;
        StatsGrouping grouping;
        bool used;
    } clicks[] = {{stats->OptDevice, StatsGrouping::ByDevice, true},
                  {stats->OptFree, StatsGrouping::ByDevice, false},
                  {stats->OptNode, StatsGrouping::ByNode, false}};
    for (const auto& click : clicks) {
        stats->cmdExpand->click();
        click.option->click();
        EXPECT_EQ(Shown(*stats->TreeView), SiteLines(click.grouping, click.used));
        EXPECT_EQ(StatsViewBy, static_cast<int>(click.grouping));
        EXPECT_EQ(StatsUsedFree, click.used);
        EXPECT_EQ(stats->cmdExpand->text(), "Expand &All");
    }
    // By node the RCC lines show, their type lines folded.
    EXPECT_EQ(Expanded(*stats->TreeView), QStringList{"Hub"});


    // A stored grouping it does not know shows the default one.
    FrmStats::Unload();
    StatsViewBy = 7;
    stats = OpenStats("hub-site.qvs");
    EXPECT_TRUE(stats->OptDevice->isChecked());
    EXPECT_EQ(StatsViewBy, 3);
}

TEST_F(StatsTest, KeysExpandAndClose)
{
    StatsViewBy = 2;
    FrmStats* stats = OpenStats("hub-site.qvs");
    ASSERT_NE(stats, nullptr);
    QTest::keyClick(stats->TreeView, 'A'); // not the key
    EXPECT_EQ(stats->cmdExpand->text(), "Expand &All");
    QTest::keyClick(stats->TreeView, 'a');
    EXPECT_EQ(stats->cmdExpand->text(), "Collapse &All");
    EXPECT_EQ(Expanded(*stats->TreeView), (QStringList{"Hub", "RCC 1", "RCC 2"}));
    SaveShot(stats->grab().toImage(), "FrmStats");

    QTest::keyClick(stats->TreeView, 'a');
    EXPECT_EQ(Expanded(*stats->TreeView), QStringList{"Hub"});
    QTest::keyClick(stats->TreeView, 'c');
    EXPECT_EQ(FrmStats::Loaded(), nullptr);
}
