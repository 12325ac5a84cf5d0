#include "diagnostics/DiagsGrid.h"

#include "platform/Icons.h"
#include "platform/Units.h"

#include <QHeaderView>
#include <algorithm>

using platform::TwipsToPixels;

namespace {

constexpr int kDeviceColumn = 1;
constexpr long kHeadingHeight = 500; // twips

} // namespace

DiagsGrid::DiagsGrid(QWidget* parent) : QTableWidget(parent)
{
    setColumnCount(diagnostics::kDiagsGridColumns);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(TwipsToPixels(255));
    // Room for the longest headings, which wrap to three lines.
    horizontalHeader()->setFixedHeight(
        std::max(TwipsToPixels(kHeadingHeight), 3 * horizontalHeader()->fontMetrics().lineSpacing() + 6));
    horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    horizontalHeader()->setHighlightSections(false);
}

void DiagsGrid::SetHeading(const diagnostics::DiagsGridRow& heading,
                           const std::array<int, diagnostics::kDiagsGridColumns>& widths)
{
    for (int c = 0; c < diagnostics::kDiagsGridColumns; ++c) {
        QTableWidgetItem* item = horizontalHeaderItem(c);
        if (item == nullptr) {
            item = new QTableWidgetItem;
            setHorizontalHeaderItem(c, item);
        }
        item->setText(QString::fromStdString(heading[static_cast<std::size_t>(c)]));
        const int width = widths[static_cast<std::size_t>(c)];
        setColumnHidden(c, width == 0);
        if (width != 0)
            setColumnWidth(c, TwipsToPixels(width));
    }
}

void DiagsGrid::SetRows(const std::vector<diagnostics::DiagsGridRow>& rows)
{
    setUpdatesEnabled(false);
    setRowCount(rows.empty() ? 0 : static_cast<int>(rows.size()) - 1);
    for (std::size_t r = 1; r < rows.size(); ++r)
        SetRow(static_cast<int>(r), rows[r]);
    setUpdatesEnabled(true);
}

void DiagsGrid::SetRow(int gridRow, const diagnostics::DiagsGridRow& cells)
{
    const int row = gridRow - 1;
    if (row < 0 || row >= rowCount())
        return;
    for (int c = 0; c < diagnostics::kDiagsGridColumns; ++c) {
        QTableWidgetItem* cell = item(row, c);
        if (cell == nullptr) {
            cell = new QTableWidgetItem;
            cell->setTextAlignment(c == kDeviceColumn ? Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter)
                                                      : Qt::Alignment(Qt::AlignCenter));
            setItem(row, c, cell);
        }
        cell->setText(QString::fromStdString(cells[static_cast<std::size_t>(c)]));
    }
}

void DiagsGrid::SetRowColours(int gridRow, std::uint32_t back, std::uint32_t fore)
{
    const int row = gridRow - 1;
    for (int c = 0; row >= 0 && row < rowCount() && c < diagnostics::kDiagsGridColumns; ++c) {
        if (QTableWidgetItem* cell = item(row, c)) {
            cell->setBackground(platform::ColourFromBGR(back));
            cell->setForeground(platform::ColourFromBGR(fore));
        }
    }
}

void DiagsGrid::SetHeadingPicture(int column, const std::string& name)
{
    for (int c = 0; c < diagnostics::kDiagsGridColumns; ++c) {
        if (QTableWidgetItem* heading = horizontalHeaderItem(c))
            heading->setIcon(c == column && !name.empty() ? QIcon(platform::IconPixmap(QString::fromStdString(name)))
                                                          : QIcon());
    }
}

void DiagsGrid::SelectGridRow(int gridRow)
{
    const int row = gridRow - 1;
    if (row < 0 || row >= rowCount())
        return;
    clearSelection();
    setCurrentCell(row, 0);
    setRangeSelected(QTableWidgetSelectionRange(row, 0, row, diagnostics::kDiagsGridColumns - 1), true);
    if (!viewport()->rect().contains(visualItemRect(item(row, 0))))
        scrollToItem(item(row, 0), QAbstractItemView::PositionAtTop);
}

QString DiagsGrid::Cell(int gridRow, int column) const
{
    const QTableWidgetItem* cell = item(gridRow - 1, column);
    return cell == nullptr ? QString() : cell->text();
}
