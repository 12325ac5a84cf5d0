#include "views/frmTreeView.h"

#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/Icons.h"
#include "platform/Units.h"
#include "views/OutlineTree.h"
#include "views/ViewWindowPlace.h"
#include "views/core/TreeViewLines.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

using platform::PixelsToTwips;
using platform::TwipsToPixels;

const QString kExpandAll = "Expand &All";
const QString kCollapseAll = "Collapse &All";
constexpr int kSiteWatchMs = 500;

views::StoredRectangle Stored()
{
    return {TreeViewWindowTop, TreeViewWindowLeft, TreeViewWindowWidth, TreeViewWindowHeight};
}

} // namespace

frmTreeView::frmTreeView()
{
    setObjectName("frmTreeView");
    setWindowTitle("Tree View");

    TreeView = new views::OutlineTree(this);
    TreeView->setObjectName("TreeView");
    views::PlaceInTwips(TreeView, 90, 120, 9615, 6555);
    FraOptions = new QGroupBox(this);
    FraOptions->setObjectName("FraOptions");
    views::PlaceInTwips(FraOptions, 3150, 6720, 2340, 720);
    OptNode = new QRadioButton("By &RCC", FraOptions);
    OptNode->setObjectName("OptNode");
    views::PlaceInTwips(OptNode, 165, 255, 1035, 195);
    OptLoop = new QRadioButton("By &Loop", FraOptions);
    OptLoop->setObjectName("OptLoop");
    views::PlaceInTwips(OptLoop, 1230, 255, 1050, 195);
    chkDetails = new QCheckBox("Expand to see &Details", this);
    chkDetails->setObjectName("chkDetails");
    views::PlaceInTwips(chkDetails, 315, 7020, 2370, 195);
    cmdExpand = new QPushButton(kExpandAll, this);
    cmdExpand->setObjectName("cmdExpand");
    views::PlaceInTwips(cmdExpand, 6705, 6840, 1560, 600);
    cmdClose = new QPushButton("&Close", this);
    cmdClose->setObjectName("cmdClose");
    views::PlaceInTwips(cmdClose, 8520, 6840, 1245, 600);
    OptNode->setChecked(true);
    chkDetails->setChecked(true);

    connect(OptNode, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            OptNode_Click();
    });
    connect(OptLoop, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            OptLoop_Click();
    });
    connect(chkDetails, &QCheckBox::toggled, this, &frmTreeView::chkDetails_Click);
    connect(cmdExpand, &QPushButton::clicked, this, &frmTreeView::cmdExpand_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmTreeView::cmdClose_Click);
    connect(TreeView, &QTreeWidget::itemClicked, this, &frmTreeView::TreeView_Click);

    // Form_Load.
    views::OpenOnStoredRectangle(*this, Stored(), 6000, 6000);
    setWindowIcon(platform::LoadIconResource("AA_ICON"));
    BuildTreeView();
    TreeView->ExpandKey("Hub");
    PlaceControls();

    SiteWatch = new QTimer(this);
    SiteWatch->setInterval(kSiteWatchMs);
    connect(SiteWatch, &QTimer::timeout, this, &frmTreeView::SiteWatch_Timer);
    SiteWatch->start();
}

std::vector<views::TreeLine> frmTreeView::SiteLines() const
{
    const views::TreeViewSite site{model::Nodes, LoopAddressOwner, LoopCount, MaxLoopAddress};
    return views::TreeViewLines(site, OptNode->isChecked() ? views::TreeViewBy::Rcc : views::TreeViewBy::Loop,
                                chkDetails->isChecked());
}

void frmTreeView::BuildTreeView()
{
    TreeView->Fill(SiteLines());
}

void frmTreeView::OptionChanged()
{
    BuildTreeView();
    if (cmdExpand->text() == kCollapseAll)
        TreeView->SetAllExpanded(true);
    TreeView->ExpandKey("Hub");
}

void frmTreeView::OptNode_Click()
{
    OptionChanged();
}

void frmTreeView::OptLoop_Click()
{
    OptionChanged();
}

void frmTreeView::chkDetails_Click()
{
    // Only the root opens, whatever the expand button says.
    BuildTreeView();
    TreeView->ExpandKey("Hub");
}

void frmTreeView::cmdExpand_Click()
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

void frmTreeView::cmdClose_Click()
{
    close();
}

void frmTreeView::TreeView_Click()
{
    const QTreeWidgetItem* line = TreeView->currentItem();
    if (line == nullptr)
        return;
    const int node = views::NodeToActivate(line->text(0).toStdString(), model::Nodes);
    if (node >= 0)
        emit ActivateNodeRequested(node);
}

void frmTreeView::SiteWatch_Timer()
{
    TreeView->Follow(SiteLines());
}

void frmTreeView::PlaceControls()
{
    // The window's outer size, as the frame adds to it.
    const long width = PixelsToTwips(frameGeometry().width());
    const long height = PixelsToTwips(frameGeometry().height());
    const long closeLeft = width - PixelsToTwips(cmdClose->width()) - 250;
    const long closeTop = height - PixelsToTwips(cmdClose->height()) - 600;
    cmdClose->move(TwipsToPixels(closeLeft), TwipsToPixels(closeTop));
    const long expandLeft = closeLeft - PixelsToTwips(cmdExpand->width()) - 150;
    cmdExpand->move(TwipsToPixels(expandLeft), TwipsToPixels(closeTop));
    FraOptions->move(TwipsToPixels(expandLeft - PixelsToTwips(FraOptions->width()) - 200),
                     TwipsToPixels(closeTop - 100));
    TreeView->resize(TwipsToPixels(width - 350), TwipsToPixels(height - 1500));
    chkDetails->move(chkDetails->x(), TreeView->height() + TwipsToPixels(400));
}

void frmTreeView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!(windowState() & Qt::WindowMinimized))
        PlaceControls();
}

void frmTreeView::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    // The frame, whose size the placing takes in, is known once the window
    // has been moved into it.
    PlaceControls();
}

void frmTreeView::closeEvent(QCloseEvent* event)
{
    SiteWatch->stop();
    views::StoreRectangleOnClose(*this, Stored());
    event->accept();
    platform::UnloadForm(this);
}
