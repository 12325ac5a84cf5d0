#include "views/frmTreeView.h"

#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/Units.h"
#include "views/OutlineTree.h"
#include "views/core/TreeViewLines.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

using platform::PixelsToTwips;
using platform::TwipsToPixels;
using views::PlaceInTwips;

frmTreeView::frmTreeView()
    : SiteOutlineWindow(
          {&TreeViewWindowTop, &TreeViewWindowLeft, &TreeViewWindowWidth, &TreeViewWindowHeight})
{
    setObjectName("frmTreeView");
    setWindowTitle("Tree View");

    PlaceInTwips(TreeView, 90, 120, 9615, 6555);
    FraOptions = new QGroupBox(this);
    FraOptions->setObjectName("FraOptions");
    PlaceInTwips(FraOptions, 3150, 6720, 2340, 720);
    OptNode = new QRadioButton("By &RCC", FraOptions);
    OptNode->setObjectName("OptNode");
    PlaceInTwips(OptNode, 165, 255, 1035, 195);
    OptLoop = new QRadioButton("By &Loop", FraOptions);
    OptLoop->setObjectName("OptLoop");
    PlaceInTwips(OptLoop, 1230, 255, 1050, 195);
    chkDetails = new QCheckBox("Expand to see &Details", this);
    chkDetails->setObjectName("chkDetails");
    PlaceInTwips(chkDetails, 315, 7020, 2370, 195);
    PlaceInTwips(cmdExpand, 6705, 6840, 1560, 600);
    PlaceInTwips(cmdClose, 8520, 6840, 1245, 600);
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
    connect(TreeView, &QTreeWidget::itemClicked, this, &frmTreeView::TreeView_Click);

    // Form_Load.
    OpenOnStoredRectangle(6000, 6000);
    BuildTreeView();
    TreeView->ExpandKey("Hub");
    PlaceControls();
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
    if (cmdExpand->text() == "Collapse &All")
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

void frmTreeView::TreeView_Click()
{
    const QTreeWidgetItem* line = TreeView->currentItem();
    if (line == nullptr)
        return;
    const int node = views::NodeToActivate(line->text(0).toStdString(), model::Nodes);
    if (node >= 0)
        emit ActivateNodeRequested(node);
}

void frmTreeView::PlaceControls()
{
    const ButtonPlace place = PlaceButtons();
    FraOptions->move(TwipsToPixels(place.expandLeft - PixelsToTwips(FraOptions->width()) - 200),
                     TwipsToPixels(place.closeTop - 100));
    TreeView->resize(TwipsToPixels(place.width - 350), TwipsToPixels(place.height - 1500));
    chkDetails->move(chkDetails->x(), TreeView->height() + TwipsToPixels(400));
}
