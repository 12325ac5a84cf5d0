#pragma once
// The configuration grid: one row per node in use with its ident, loop
// position, location, parent, hop and radio channels, and on demand one row
// per device under each RCC. Devices are shown and hidden per RCC with a click
// on the marker column, or all at once; location texts typed into the grid
// stay in the grid. Save writes the grid as it stands as a CSV or text file.
// The grid shows the site as it was when the window loaded; it keeps its
// rectangle in the GridWindow* settings.
#include "platform/FormInstance.h"
#include "views/core/ConfigGridRows.h"

#include <QWidget>
#include <memory>

class ConfigGridModel;
class QModelIndex;
class QPushButton;
class QTableView;

class frmGrid : public QWidget, public platform::FormInstance<frmGrid>
{
    Q_OBJECT
public:
    frmGrid();
    ~frmGrid() override;

    // Rebuilds the node rows from the site.
    void FillNodeGrid();
    // A click on a cell: on the marker column it shows or hides the RCC's devices.
    void NodeGrid_Click(const QModelIndex& index);
    // A character typed into the grid: only the location column takes it.
    void NodeGrid_KeyPress(int code);
    void cmdExpand_Click();
    void cmdSave_Click();
    void cmdClose_Click();

    QTableView* NodeGrid = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdExpand = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceControls();
    void FitColumns();

    std::unique_ptr<views::ConfigGridRows> rows_;
    ConfigGridModel* model_ = nullptr;
};
