#include "views/frmGrid.h"

#include "model/Settings.h"
#include "model/Site.h"
#include "model/SiteState.h"
#include "platform/FileDialogs.h"
#include "platform/Icons.h"
#include "platform/LoadedForms.h"
#include "platform/ProgramMessage.h"
#include "platform/Units.h"
#include "platform/WindowLimits.h"
#include "platform/WindowPlacement.h"
#include "views/ConfigGridModel.h"
#include "views/TableSaveDialog.h"
#include "views/TakenOnText.h"
#include "views/core/TableExport.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableView>
#include <algorithm>

namespace {

using platform::PixelsToTwips;
using platform::TwipsToPixels;

const platform::StoredRectangle kStored{&GridWindowTop, &GridWindowLeft, &GridWindowWidth, &GridWindowHeight};

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, int left, int top)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(1215), TwipsToPixels(600));
    return button;
}

} // namespace

frmGrid::frmGrid()
{
    setObjectName("frmGrid");
    setWindowTitle("Configuration Grid");
    setWindowIcon(platform::LoadIconResource("AA_ICON"));

    rows_ = std::make_unique<views::ConfigGridRows>(model::Nodes);
    model_ = new ConfigGridModel(*rows_, this);
    NodeGrid = new QTableView(this);
    NodeGrid->setObjectName("NodeGrid");
    NodeGrid->setModel(model_);
    // The grid's 8-point lettering, for which its column widths are made.
    QFont font = NodeGrid->font();
    font.setPointSize(8);
    NodeGrid->setFont(font);
    NodeGrid->horizontalHeader()->setFont(font);
    NodeGrid->setGeometry(TwipsToPixels(105), TwipsToPixels(105), TwipsToPixels(9930), TwipsToPixels(5445));
    NodeGrid->verticalHeader()->hide();
    NodeGrid->verticalHeader()->setDefaultSectionSize(NodeGrid->fontMetrics().height() + 6);
    NodeGrid->horizontalHeader()->setHighlightSections(false);
    NodeGrid->setSelectionMode(QAbstractItemView::NoSelection);
    NodeGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    NodeGrid->setWordWrap(false);
    FitColumns();
    NodeGrid->installEventFilter(this);
    connect(NodeGrid, &QTableView::clicked, this, &frmGrid::NodeGrid_Click);

    cmdSave = MakeButton(this, "cmdSave", "Save", 240, 7080);
    cmdExpand = MakeButton(this, "cmdExpand", "Expand All", 4080, 7080);
    cmdClose = MakeButton(this, "cmdClose", "&Close", 8520, 7050);
    connect(cmdSave, &QPushButton::clicked, this, &frmGrid::cmdSave_Click);
    connect(cmdExpand, &QPushButton::clicked, this, &frmGrid::cmdExpand_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmGrid::cmdClose_Click);

    // No smaller than the window as drawn: 11000 twips across, 8340 down.
    platform::MinMaxWindowProc(*this, platform::MakeWindowLimits(11000, 8340));
    platform::OpenOnStoredRectangle(*this, kStored);
    PlaceControls();
}

frmGrid::~frmGrid() = default;

void frmGrid::FillNodeGrid()
{
    model_->FillNodeGrid();
    FitColumns();
}

void frmGrid::FitColumns()
{
    // Each column is as wide as its table says, and wider where a text
    // would not fit whole.
    for (int c = 0; c < views::kGridColumnCount; ++c) {
        const int designed = TwipsToPixels(views::GridColumns()[static_cast<std::size_t>(c)].widthTwips);
        NodeGrid->resizeColumnToContents(c);
        NodeGrid->setColumnWidth(c, std::max(designed, NodeGrid->columnWidth(c)));
    }
}

void frmGrid::NodeGrid_Click(const QModelIndex& index)
{
    if (!index.isValid() || index.column() != views::kMarkerColumn)
        return;
    model_->ToggleDevices(index.row());
    FitColumns();
    NodeGrid->setCurrentIndex(model_->index(index.row(), views::kRccColumn));
}

void frmGrid::NodeGrid_KeyPress(int code)
{
    const QModelIndex current = NodeGrid->currentIndex();
    if (current.isValid() && current.column() == views::kLocationColumn)
        model_->TypeLocationKey(current.row(), code);
}

void frmGrid::cmdExpand_Click()
{
    if (cmdExpand->text() == "Expand All") {
        cmdExpand->setText("Collapse All");
        model_->ExpandAll();
        FitColumns();
    } else {
        cmdExpand->setText("Expand All");
        FillNodeGrid();
    }
}

void frmGrid::cmdSave_Click()
{
    platform::FileDialogRequest request;
    request.save = true;
    request.title = "Save A Grid View";
    request.fileName = "Grid View";
    request.filter = "Comma Separated Values Files (*.csv);;Simple Text File (*.txt)";
    request.defaultSuffix = "csv";
    request.confirmOverwrite = true;
    const views::TableTitle title{"Grid View", SiteName, TakenOnText().toStdString()};
    SaveTableAs(
        this, request,
        [&](const std::string& path, std::string* error) {
            return views::SaveTable(path, rows_->ExportCells(), title, views::GridTextLayout(), error);
        },
        "Save a Grid View File");
}

void frmGrid::cmdClose_Click()
{
    close();
}

void frmGrid::PlaceControls()
{
    if (isMinimized())
        return;
    // The window's outer size.
    const QSize outer = platform::FrameRect(*this).size();
    const long width = PixelsToTwips(outer.width());
    const long height = PixelsToTwips(outer.height());
    const long closeTop = height - PixelsToTwips(cmdClose->height()) - 700;
    cmdClose->move(TwipsToPixels(width - PixelsToTwips(cmdClose->width()) - 400), TwipsToPixels(closeTop));
    cmdSave->move(cmdSave->x(), TwipsToPixels(closeTop));
    cmdExpand->move(TwipsToPixels(width / 2 - PixelsToTwips(cmdExpand->width()) / 2), TwipsToPixels(closeTop));
    NodeGrid->resize(TwipsToPixels(width - 400), TwipsToPixels(height - 1600));
}

void frmGrid::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceControls();
}

void frmGrid::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    PlaceControls();
}

void frmGrid::closeEvent(QCloseEvent* event)
{
    platform::StoreNormalRectangle(*this, kStored);
    platform::RestoreWindowProc(*this);
    event->accept();
    platform::UnloadForm(this);
}

bool frmGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == NodeGrid && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Character keys go to the location column only; they do not move the
        // current cell the way a table's type-ahead search would.
        if (key->key() == Qt::Key_Backspace) {
            NodeGrid_KeyPress(8);
            return true;
        }
        const QString text = key->text();
        if (text.size() == 1 && text[0].isPrint()) {
            NodeGrid_KeyPress(text[0].unicode());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
