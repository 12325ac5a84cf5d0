#pragma once
// The tree view: the site as an outline, by RCC or by loop, each device as
// one line or with its details as child lines. A click on the hub's or an
// RCC's line selects that node in the main window. The window follows the
// site while it is open; it keeps its rectangle in the TreeViewWindow*
// settings.
#include "platform/FormInstance.h"
#include "views/SiteOutlineWindow.h"

class QCheckBox;
class QGroupBox;
class QRadioButton;

class frmTreeView : public views::SiteOutlineWindow, public platform::FormInstance<frmTreeView>
{
    Q_OBJECT
public:
    // Loads the window: its stored place, the tree by RCC with details, the
    // root expanded.
    frmTreeView();

    // Builds the tree again from the site for the chosen view, every line
    // collapsed.
    void BuildTreeView();

    void OptNode_Click();
    void OptLoop_Click();
    void chkDetails_Click();
    // Selects the node the selected line names.
    void TreeView_Click();

    QGroupBox* FraOptions = nullptr;
    QRadioButton* OptNode = nullptr;
    QRadioButton* OptLoop = nullptr;
    QCheckBox* chkDetails = nullptr;

signals:
    // The node a click chose (0 the hub or RLM, 1..31 an RCC in use).
    void ActivateNodeRequested(int index);

protected:
    std::vector<views::TreeLine> SiteLines() const override;
    void PlaceControls() override;

private:
    void OptionChanged();
};
