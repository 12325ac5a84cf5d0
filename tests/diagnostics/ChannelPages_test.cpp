#include "diagnostics/ChannelChart.h"
#include "diagnostics/ChannelMonitorPage.h"
#include "diagnostics/core/ChannelBench.h"
#include "diagnostics/frmGraph.h"
#include "platform/UpDown.h"
#include "support/ScreenShots.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <algorithm>

using namespace diagnostics;

namespace {

using Lines = SimulatedUnit::Lines;

// A page selected from code, its run on the bench's link.
template <typename Page, typename Run> struct Selected
{
    explicit Selected(Run Page::*run)
    {
        link.Wire(page.*run);
        page.resize(760, 480);
        page.show();
    }
    ChannelBench link;
    Page page{link};
};

void Shot(QWidget& page, const QString& name)
{
    QApplication::processEvents(); // the layout follows the texts
    SaveShot(page.grab().toImage(), name);
}

} // namespace

TEST(ChannelMonitorPage, ChartsEveryLevelLineUntilCancelled)
{
    Selected<ChannelMonitorPage, ChannelMonitor> s(&ChannelMonitorPage::Monitor);
    ChannelMonitorPage& page = s.page;
    s.link.unit.AddCommand("SF MON EN ", Answer({"SF MON START", "SFR 0102030405060708090A0B0C0D0E0F10"}));
    page.txtEndMonitor->setText("18");
    page.txtStartMonitor->setText("15");
    std::vector<bool> secondShown;
    s.link.meanwhile = [&] {
        if (page.Monitor.LevelLines() == static_cast<int>(secondShown.size()))
            return false;
        secondShown.push_back(page.MSChart1->isVisible());
        EXPECT_NE(page.MSChart->isVisible(), secondShown.back());
        page.UpDnStartCh->SetValue(1); // read once, at the start
        if (secondShown.size() == 3) {
            QTest::mouseClick(page.cmdSoft2, Qt::LeftButton);
            EXPECT_EQ(page.lblStatus->text(), " Stopping Channel Monitoring... ");
        }
        return true;
    };
    QTest::mouseClick(page.cmdSoft1, Qt::LeftButton);
    // Re-sent after the first time-out, then once per level line; the line
    // after the cancel is still read and charted. Channel indices 15..18 are
    // the wire channels 16, 17, 30 and 31.
    EXPECT_EQ(s.link.sent, Lines(4, "SF MON EN 16 31"));
    EXPECT_EQ(s.link.resends, 0);
    EXPECT_EQ(page.Monitor.LevelLines(), 4);
    EXPECT_EQ(secondShown, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(page.MSChart->Levels().mid(14, 4), (QList<int>{1, 2, 15, 16}));
    EXPECT_EQ(page.lblStatus->text(), " Idle ");
    EXPECT_TRUE(page.fraMonitor->isEnabled());
    Shot(page, "ChannelMonitorPage");
}

TEST(ChannelMonitorPage, RangeInputsKeepStartBelowEnd)
{
    Selected<ChannelMonitorPage, ChannelMonitor> s(&ChannelMonitorPage::Monitor);
    ChannelMonitorPage& page = s.page;
    page.txtStartMonitor->setText("20");
    page.txtEndMonitor->setText("12");
    EXPECT_EQ(page.UpDnStartCh->Value(), 12);
    EXPECT_EQ(page.txtStartMonitor->text(), "12");
    page.txtEndMonitor->setText("30");
    QTest::mouseClick(page.UpDnStartCh->UpKey(), Qt::LeftButton);
    EXPECT_EQ(page.txtStartMonitor->text(), "13");
    page.txtStartMonitor->clear();
    QTest::keyClicks(page.txtStartMonitor, "40");
    EXPECT_EQ(page.txtStartMonitor->text(), "4"); // 40 is past the end channel
}

TEST(frmGraph, ChartsRandomLevelsAndCloses)
{
    frmGraph* form = frmGraph::Load();
    form->show();
    ASSERT_EQ(form->Table.size(), 32);
    QList<int> levels;
    for (const auto& row : form->Table)
        levels << row.second;
    const auto [low, high] = std::minmax_element(levels.begin(), levels.end());
    EXPECT_TRUE(*low >= 0 && *high <= 99);
    EXPECT_EQ(form->MSChart1->Levels(), levels);
    Shot(*form, "frmGraph");
    QTest::mouseClick(form->cmdClose, Qt::LeftButton);
    EXPECT_EQ(frmGraph::Loaded(), nullptr);
}
