#pragma once
// What the tree view and the statistics window share: the outline with its
// "Expand &All" / "Collapse &All" and "&Close" buttons, the stored rectangle
// (twips, settings.ini) that the window opens on, kept on screen, and stores
// again when it closes in its normal state, its size limits, and the
// following of the site while the window is open.
#include "platform/WindowPlacement.h"
#include "views/core/TreeLine.h"

#include <QWidget>
#include <vector>

class QPushButton;
class QTimer;

namespace views {

class OutlineTree;

// Places a control as designed (twips); a control never gets lower than its
// text needs.
void PlaceInTwips(QWidget* control, long left, long top, long width, long height);

class SiteOutlineWindow : public QWidget
{
    Q_OBJECT
public:
    // Expands every line, or collapses every line but the root.
    void cmdExpand_Click();
    void cmdClose_Click();
    // Shows the site as it now stands when it changed since the outline was
    // filled; expanded lines and the selection stay.
    void SiteWatch_Timer();

    OutlineTree* TreeView = nullptr;
    QPushButton* cmdExpand = nullptr;
    QPushButton* cmdClose = nullptr;
    QTimer* SiteWatch = nullptr;

protected:
    // Creates the outline, the two buttons and the (stopped) site watch.
    explicit SiteOutlineWindow(const platform::StoredRectangle& stored);

    // The load's common part: the size limits (minimum in twips), the stored
    // rectangle fitted to the screen, the program's icon; the site watch
    // starts.
    void OpenOnStoredRectangle(long minWidth, long minHeight);

    // The window's outer size and where the buttons went (twips).
    struct ButtonPlace
    {
        long width;
        long height;
        long expandLeft;
        long closeTop;
    };
    // Puts "&Close" at the bottom right and the expand button to its left.
    ButtonPlace PlaceButtons();

    // The outline's lines for the site as it now stands.
    virtual std::vector<TreeLine> SiteLines() const = 0;
    virtual void PlaceControls() = 0;

    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    platform::StoredRectangle stored_;
};

} // namespace views
