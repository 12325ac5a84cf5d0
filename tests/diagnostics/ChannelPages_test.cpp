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

using namespace diagnostics;

namespace {

using Lines = SimulatedUnit::Lines;

SimulatedUnit::Handler Answer(Lines lines)
{
    return [lines](const std::string&) { return lines; };
}

// A page selected from code, its run on the bench's link.
template <typename Page, typename Run> struct Selected
{
    explicit Selected(Run Page::*run)
    {
        CommsState = 0;
        Run& r = page.*run;
        link.reply = [&r](const std::string& line) { r.Reply(line); };
        link.timedOut = [&r] { return r.TimedOut(); };
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

const char* kFailure = "Communications Failure,  Please reset Radio Hub and try again";

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
    QSignalSpy ended(&page, &ChannelScanPage::RunEnded);
    int ticks = 0;
    s.link.meanwhile = [&] {
        if (page.ProcessTimer->isActive()) {
            if (ticks == 0) {
                EXPECT_EQ(page.lblProgress->text(), " Scanning, Please Wait  (00.25.00)");
                EXPECT_EQ(page.CommsProgress->maximum(), 1500);
                EXPECT_FALSE(page.fraScan->isEnabled());
                EXPECT_EQ(page.cmdSoft2->text(), "Cancel");
                EXPECT_TRUE(page.cmdSoft2->isVisible());
            }
            if (++ticks == 750)
                Shot(page, "ChannelScanPage-running");
            page.ProcessTimer_Timer();
            return true;
        }
        if (CommsState == kScanRunning && s.link.pending.empty()) {
            // The time is up: the progress goes while the result is awaited.
            EXPECT_FALSE(page.lblProgress->isVisible());
            EXPECT_FALSE(page.CommsProgress->isVisible());
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
    EXPECT_TRUE(page.cmdSoft1->isVisible());
    EXPECT_FALSE(page.cmdSoft2->isVisible());
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended[0][0].toInt(), kScanDone);
    Shot(page, "ChannelScanPage");
}

TEST(ChannelScanPage, CancelStopsTheCountdown)
{
    Selected<ChannelScanPage, ChannelScan> s(&ChannelScanPage::Scan);
    ChannelScanPage& page = s.page;
    s.link.unit.AddCommand("SF CS ", Answer({"SF CS START"}));
    int ticks = 0;
    s.link.meanwhile = [&] {
        if (!page.ProcessTimer->isActive())
            return false;
        if (++ticks == 10) {
            QTest::mouseClick(page.cmdSoft2, Qt::LeftButton);
            EXPECT_EQ(page.lblStatus->text(), " Stopping Channel Scan, Please Wait... ");
        } else {
            page.ProcessTimer_Timer();
        }
        return true;
    };
    page.cmdFScan_Click();
    EXPECT_EQ(s.link.sent, (Lines{"SF CS 1", "SF CS DIS", "GET SF CS RESULT"}));
    EXPECT_FALSE(page.ProcessTimer->isActive());
    EXPECT_EQ(page.MSChart->Levels(), QList<int>(32, 0x20));
    EXPECT_EQ(page.lblStatus->text(), " Idle ");
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
            Shot(page, "ChannelMonitorPage-running");
            QTest::mouseClick(page.cmdSoft2, Qt::LeftButton);
            EXPECT_EQ(page.lblStatus->text(), " Stopping Channel Monitoring... ");
        }
        return true;
    };
    QTest::mouseClick(page.cmdSoft1, Qt::LeftButton);
    // Re-sent after the first time-out, then once per level line; the line
    // after the cancel is still charted.
    EXPECT_EQ(s.link.sent, Lines(4, "SF MON EN 16 31"));
    EXPECT_EQ(secondShown, (std::vector<bool>{true, false, true}));
    EXPECT_TRUE(page.MSChart->isVisible());
    EXPECT_FALSE(page.MSChart1->isVisible());
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

TEST(ChannelPages, LinkFailureEndsTheWait)
{
    Selected<ChannelScanPage, ChannelScan> scan(&ChannelScanPage::Scan);
    scan.link.unit.AddCommand("SF CS ", Answer({"SF CS START"}));
    scan.page.cmdSoft1_Click();
    EXPECT_EQ(CommsState, 255);
    EXPECT_EQ(scan.page.lblStatus->text(), kFailure);
    EXPECT_FALSE(scan.page.ProcessTimer->isActive());
    EXPECT_TRUE(scan.page.cmdSoft1->isVisible());

    Selected<ChannelMonitorPage, ChannelMonitor> monitor(&ChannelMonitorPage::Monitor);
    monitor.link.unit.SetFailure(FailureMode::UnknownCommand, "SF MON EN ");
    monitor.page.cmdSoft1_Click();
    EXPECT_EQ(CommsState, 254);
    EXPECT_EQ(monitor.page.lblStatus->text(), "Unknown Command");
    EXPECT_TRUE(monitor.page.cmdSoft1->isVisible());
}

TEST(frmGraph, ChartsRandomLevelsAndCloses)
{
    frmGraph* form = frmGraph::Load();
    form->show();
    ASSERT_EQ(form->Table.size(), 32);
    QList<int> levels;
    for (const auto& row : form->Table) {
        EXPECT_GE(row.second, 0);
        EXPECT_LE(row.second, 99);
        levels << row.second;
    }
    EXPECT_EQ(form->Table[4].first, "Ch5");
    EXPECT_EQ(form->MSChart1->Levels(), levels);
    Shot(*form, "frmGraph");
    QTest::mouseClick(form->cmdClose, Qt::LeftButton);
    EXPECT_EQ(frmGraph::Loaded(), nullptr);
}
