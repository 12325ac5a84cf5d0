#include "diagnostics/ChannelChart.h"
#include "diagnostics/ChannelMonitorPage.h"
#include "diagnostics/ChannelScanPage.h"
#include "diagnostics/core/ChannelBench.h"
#include "diagnostics/frmGraph.h"
#include "platform/UpDown.h"
#include "support/ScreenShots.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
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

TEST(ChannelScanPage, CountsDownAndChartsTheResult)
{
    Selected<ChannelScanPage, ChannelScan> s(&ChannelScanPage::Scan);
    ChannelScanPage& page = s.page;
    s.link.unit.AddCommand("SF CS ", Answer({"SF CS START"}));
    s.link.unit.SetScanLevel(0x33);
    page.txtDuration->clear();
    QTest::keyClicks(page.txtDuration, "256");
    EXPECT_EQ(page.txtDuration->text(), "25");
    QTest::keyClick(page.txtDuration, Qt::Key_Backspace);
    EXPECT_EQ(page.txtDuration->text(), "2");
    QTest::keyClicks(page.txtDuration, "5");
    QSignalSpy ended(&page, &ChannelScanPage::RunEnded);
    int ticks = 0;
    s.link.meanwhile = [&] {
        if (page.ProcessTimer->isActive()) {
            if (ticks++ == 0) {
                EXPECT_EQ(page.lblProgress->text(), " Scanning, Please Wait  (00.25.00)");
                EXPECT_EQ(page.CommsProgress->maximum(), 1500);
            }
            page.ProcessTimer_Timer();
            return true;
        }
        if (s.link.state == diagnostics::DiagsStateCode::Scanning && s.link.pending.empty()) {
            EXPECT_FALSE(page.CommsProgress->isVisible()) << "the time is up: the result is awaited";
            s.link.pending.push_back("SF CS STOP");
            return true;
        }
        return false;
    };
    QTest::mouseClick(page.cmdSoft1, Qt::LeftButton);
    EXPECT_EQ(ticks, 1501);
    EXPECT_EQ(s.link.sent, (Lines{"SF CS 25", "GET SF CS RESULT"}));
    EXPECT_EQ(page.MSChart->Levels(), QList<int>(32, 0x33));
    EXPECT_EQ(page.lblStatus->text(), " Idle ");
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended[0][0].toInt(), static_cast<int>(diagnostics::DiagsStateCode::ScanDone));
    Shot(page, "ChannelScanPage");
}

TEST(ChannelScanPage, TheDurationArrowsStepTheMinutesShownWithinTheirRange)
{
    Selected<ChannelScanPage, ChannelScan> s(&ChannelScanPage::Scan);
    ChannelScanPage& page = s.page;
    const struct
    {
        QToolButton* key;
        const char* shown;
    } steps[] = {{page.UpDnDuration->UpKey(), "2"},   {page.UpDnDuration->UpKey(), "3"},
                 {page.UpDnDuration->DownKey(), "2"}, {page.UpDnDuration->DownKey(), "1"},
                 {page.UpDnDuration->DownKey(), "1"}};
    for (const auto& step : steps) {
        QTest::mouseClick(step.key, Qt::LeftButton);
        EXPECT_EQ(page.txtDuration->text().toStdString(), step.shown);
        EXPECT_EQ(page.UpDnDuration->Value(), page.txtDuration->text().toInt());
    }
    page.txtDuration->setText("255");
    QTest::mouseClick(page.UpDnDuration->UpKey(), Qt::LeftButton);
    EXPECT_EQ(page.txtDuration->text().toStdString(), "255");
}

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
    QTest::keyClick(page.txtStartMonitor, Qt::Key_Backspace);
    EXPECT_EQ(page.txtStartMonitor->text(), "");
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
