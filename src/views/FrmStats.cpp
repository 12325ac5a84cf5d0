#include "views/FrmStats.h"

#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/Icons.h"
#include "platform/Units.h"
#include "views/OutlineTree.h"
#include "views/ViewWindowPlace.h"
#include "views/core/UsageStatistics.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

using platform::PixelsToTwips;
using platform::TwipsToPixels;
using views::PlaceInTwips;
using views::StatsGrouping;

const QString kExpandAll = "Expand &All";
const QString kCollapseAll = "Collapse &All";
constexpr int kSiteWatchMs = 500;

views::StoredRectangle Stored()
{
    return {StatsWindowTop, StatsWindowLeft, StatsWindowWidth, StatsWindowHeight};
}

QRadioButton* MakeOption(QGroupBox* frame, const QString& name, const QString& caption, long left)
{
    auto* option = new QRadioButton(caption, frame);
    option->setObjectName(name);
    PlaceInTwips(option, left, 240, 1080, 495);
    return option;
}

// Runs the handler when the option becomes the selected one, by a click, a
// key or from code.
void OnSelected(QRadioButton* option, FrmStats* window, void (FrmStats::*handler)())
{
    QObject::connect(option, &QRadioButton::toggled, window, [window, handler](bool on) {
        if (on)
            (window->*handler)();
    });
}

} // namespace

FrmStats::FrmStats()
{
    setObjectName("FrmStats");
    setWindowTitle("System Statistics");

    TreeView = new views::OutlineTree(this);
    TreeView->setObjectName("TreeView");
    PlaceInTwips(TreeView, 120, 120, 9255, 6555);
    FraView = new QGroupBox("Display totals", this);
    FraView->setObjectName("FraView");
    PlaceInTwips(FraView, 120, 6840, 2295, 855);
    OptUsed = MakeOption(FraView, "OptUsed", "Used", 240);
    OptFree = MakeOption(FraView, "OptFree", "Free", 1320);
    FraOptions = new QGroupBox("View By", this);
    FraOptions->setObjectName("FraOptions");
    PlaceInTwips(FraOptions, 2520, 6840, 3615, 855);
    OptLoop = MakeOption(FraOptions, "OptLoop", "Loop", 240);
    OptNode = MakeOption(FraOptions, "OptNode", "Node", 1440);
    OptDevice = MakeOption(FraOptions, "OptDevice", "Device", 2640);
    cmdExpand = new QPushButton(kExpandAll, this);
    cmdExpand->setObjectName("cmdExpand");
    PlaceInTwips(cmdExpand, 6360, 6960, 1560, 600);
    cmdClose = new QPushButton("&Close", this);
    cmdClose->setObjectName("cmdClose");
    PlaceInTwips(cmdClose, 8160, 6960, 1245, 600);

    OnSelected(OptLoop, this, &FrmStats::OptLoop_Click);
    OnSelected(OptNode, this, &FrmStats::OptNode_Click);
    OnSelected(OptDevice, this, &FrmStats::OptDevice_Click);
    OnSelected(OptUsed, this, &FrmStats::OptUsed_Click);
    OnSelected(OptFree, this, &FrmStats::OptFree_Click);
    connect(cmdExpand, &QPushButton::clicked, this, &FrmStats::cmdExpand_Click);
    connect(cmdClose, &QPushButton::clicked, this, &FrmStats::cmdClose_Click);
    TreeView->installEventFilter(this);

    // Form_Load.
    views::OpenOnStoredRectangle(*this, Stored(), 9615, 6000);
    setWindowIcon(platform::LoadIconResource("AA_ICON"));
    // A stored grouping the window does not know shows the default one.
    (StatsViewBy == 1 ? OptLoop : StatsViewBy == 2 ? OptNode : OptDevice)->setChecked(true);
    (StatsUsedFree ? OptUsed : OptFree)->setChecked(true);
    RefreshStats();
    PlaceControls();

    SiteWatch = new QTimer(this);
    SiteWatch->setInterval(kSiteWatchMs);
    connect(SiteWatch, &QTimer::timeout, this, &FrmStats::SiteWatch_Timer);
    SiteWatch->start();
}

std::vector<views::TreeLine> FrmStats::SiteLines() const
{
    const views::StatsSite site{model::Nodes, LoopCount, MaxLoopAddress};
    const bool used = !OptFree->isChecked();
    if (OptNode->isChecked())
        return views::UsageStatisticsLines(site, StatsGrouping::ByNode, used);
    if (OptLoop->isChecked())
        return views::UsageStatisticsLines(site, StatsGrouping::ByLoop, used);
    if (OptDevice->isChecked())
        return views::UsageStatisticsLines(site, StatsGrouping::ByDevice, used);
    return {};
}

void FrmStats::RefreshStats()
{
    cmdExpand->setText(kExpandAll);
    TreeView->Fill(SiteLines());
    // By node the RCC lines show, their type lines folded.
    if (OptNode->isChecked())
        TreeView->ExpandKey("Hub");
}

void FrmStats::OptLoop_Click()
{
    RefreshStats();
    StatsViewBy = 1;
}

void FrmStats::OptNode_Click()
{
    RefreshStats();
    StatsViewBy = 2;
}

void FrmStats::OptDevice_Click()
{
    RefreshStats();
    StatsViewBy = 3;
}

void FrmStats::OptUsed_Click()
{
    RefreshStats();
    StatsUsedFree = true;
}

void FrmStats::OptFree_Click()
{
    RefreshStats();
    StatsUsedFree = false;
}

void FrmStats::cmdExpand_Click()
{
    if (cmdExpand->text() == kExpandAll) {
        TreeView->SetAllExpanded(true);
        cmdExpand->setText(kCollapseAll);
    } else {
        TreeView->SetAllExpanded(false);
        cmdExpand->setText(kExpandAll);
        TreeView->ExpandKey("Hub");
    }
}

void FrmStats::cmdClose_Click()
{
    close();
}

bool FrmStats::TreeView_KeyPress(const QString& key)
{
    if (key == "a") {
        cmdExpand_Click();
        return true;
    }
    if (key == "c") {
        cmdClose_Click();
        return true;
    }
    return false;
}

void FrmStats::SiteWatch_Timer()
{
    TreeView->Follow(SiteLines());
}

bool FrmStats::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TreeView && event->type() == QEvent::KeyPress)
        return TreeView_KeyPress(static_cast<QKeyEvent*>(event)->text());
    return QWidget::eventFilter(watched, event);
}

void FrmStats::PlaceControls()
{
    // The window's outer size, as the frame adds to it.
    const long width = PixelsToTwips(frameGeometry().width());
    const long height = PixelsToTwips(frameGeometry().height());
    const long closeLeft = width - PixelsToTwips(cmdClose->width()) - 250;
    const long closeTop = height - PixelsToTwips(cmdClose->height()) - 600;
    cmdClose->move(TwipsToPixels(closeLeft), TwipsToPixels(closeTop));
    cmdExpand->move(TwipsToPixels(closeLeft - PixelsToTwips(cmdExpand->width()) - 150),
                    TwipsToPixels(closeTop));
    const long framesTop = closeTop - 100;
    FraOptions->move(TwipsToPixels(width / 2 - PixelsToTwips(FraOptions->width()) / 2 - 400),
                     TwipsToPixels(framesTop));
    TreeView->resize(TwipsToPixels(width - 350), TwipsToPixels(height - 1500));
    FraView->move(FraView->x(), TwipsToPixels(framesTop));
}

void FrmStats::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!(windowState() & Qt::WindowMinimized))
        PlaceControls();
}

void FrmStats::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // The frame, whose size the placing takes in, is known once the window
    // has been moved into it.
    PlaceControls();
}

void FrmStats::closeEvent(QCloseEvent* event)
{
    SiteWatch->stop();
    views::StoreRectangleOnClose(*this, Stored());
    event->accept();
    platform::UnloadForm(this);
}
