#pragma once
// The usage statistics: how much of the site's capacity is taken, by loop,
// by node or by device type, counted used or free. The options are the
// StatsViewBy and StatsUsedFree settings; the window follows the site while
// it is open and keeps its rectangle in the StatsWindow* settings.
#include "platform/FormInstance.h"
#include "views/SiteOutlineWindow.h"

class QGroupBox;
class QRadioButton;

class FrmStats : public views::SiteOutlineWindow, public platform::FormInstance<FrmStats>
{
    Q_OBJECT
public:
    // Loads the window: its stored place and the options of the settings.
    FrmStats();

    // Fills the tree again for the chosen options; "Expand &All" again.
    void RefreshStats();

    void OptLoop_Click();
    void OptNode_Click();
    void OptDevice_Click();
    void OptUsed_Click();
    void OptFree_Click();
    // "a" expands or collapses everything, "c" closes; true when the key was
    // one of them.
    bool TreeView_KeyPress(const QString& key);

    QGroupBox* FraView = nullptr;
    QRadioButton* OptUsed = nullptr;
    QRadioButton* OptFree = nullptr;
    QGroupBox* FraOptions = nullptr;
    QRadioButton* OptLoop = nullptr;
    QRadioButton* OptNode = nullptr;
    QRadioButton* OptDevice = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The lines for the chosen options; none when no grouping is chosen.
    std::vector<views::TreeLine> SiteLines() const override;
    void PlaceControls() override;
};
