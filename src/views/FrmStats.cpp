#include "views/FrmStats.h"

#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/Units.h"
#include "views/OutlineTree.h"
#include "views/core/UsageStatistics.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

namespace {

using platform::PixelsToTwips;
using platform::TwipsToPixels;
using views::PlaceInTwips;
using views::StatsGrouping;

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
    : SiteOutlineWindow({&StatsWindowTop, &StatsWindowLeft, &StatsWindowWidth, &StatsWindowHeight})
{
    setObjectName("FrmStats");
    setWindowTitle("System Statistics");

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
    PlaceInTwips(cmdExpand, 6360, 6960, 1560, 600);
    PlaceInTwips(cmdClose, 8160, 6960, 1245, 600);

    OnSelected(OptLoop, this, &FrmStats::OptLoop_Click);
    OnSelected(OptNode, this, &FrmStats::OptNode_Click);
    OnSelected(OptDevice, this, &FrmStats::OptDevice_Click);
    OnSelected(OptUsed, this, &FrmStats::OptUsed_Click);
    OnSelected(OptFree, this, &FrmStats::OptFree_Click);
    TreeView->installEventFilter(this);

    // Form_Load.
    OpenOnStoredRectangle(9615, 6000);
    // A stored grouping the window does not know shows the default one.
    (StatsViewBy == 1 ? OptLoop : StatsViewBy == 2 ? OptNode : OptDevice)->setChecked(true);
    (StatsUsedFree ? OptUsed : OptFree)->setChecked(true);
    RefreshStats();
    PlaceControls();
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
    cmdExpand->setText("Expand &All");
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

bool FrmStats::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == TreeView && event->type() == QEvent::KeyPress)
        return TreeView_KeyPress(static_cast<QKeyEvent*>(event)->text());
    return QWidget::eventFilter(watched, event);
}

void FrmStats::PlaceControls()
{
    const ButtonPlace place = PlaceButtons();
    const long framesTop = place.closeTop - 100;
    FraOptions->move(TwipsToPixels(place.width / 2 - PixelsToTwips(FraOptions->width()) / 2 - 400),
                     TwipsToPixels(framesTop));
    TreeView->resize(TwipsToPixels(place.width - 350), TwipsToPixels(place.height - 1500));
    FraView->move(FraView->x(), TwipsToPixels(framesTop));
}
