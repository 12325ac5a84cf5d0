#include "views/ConfigGridModel.h"

#include <QApplication>
#include <QPalette>

namespace {

Qt::Alignment Alignment(bool left)
{
    return (left ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter;
}

} // namespace

ConfigGridModel::ConfigGridModel(views::ConfigGridRows& rows, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows)
{
}

int ConfigGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.RowCount());
}

int ConfigGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : views::kGridColumnCount;
}

QVariant ConfigGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const auto column = static_cast<std::size_t>(index.column());
    if (role == Qt::DisplayRole)
        return QString::fromStdString(rows_.Row(static_cast<std::size_t>(index.row()))[column]);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Alignment(views::GridColumns()[column].leftAligned));
    return {};
}

QVariant ConfigGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= views::kGridColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    const views::GridColumn& column = views::GridColumns()[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole)
        return QString::fromUtf8(column.header);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Alignment(column.headerLeftAligned));
    if (role == Qt::BackgroundRole)
        return QApplication::palette().color(QPalette::Button);
    return {};
}

void ConfigGridModel::ToggleDevices(int row)
{
    if (row < 0)
        return;
    const views::GridRowChange plan = rows_.PlanToggle(static_cast<std::size_t>(row));
    if (!plan.toggles)
        return;
    const int first = static_cast<int>(plan.first);
    if (plan.inserted > 0)
        beginInsertRows({}, first, first + static_cast<int>(plan.inserted) - 1);
    else if (plan.removed > 0)
        beginRemoveRows({}, first, first + static_cast<int>(plan.removed) - 1);
    rows_.ToggleDevices(static_cast<std::size_t>(row));
    if (plan.inserted > 0)
        endInsertRows();
    else if (plan.removed > 0)
        endRemoveRows();
    emit dataChanged(index(row, views::kMarkerColumn), index(row, views::kMarkerColumn));
}

void ConfigGridModel::ExpandAll()
{
    beginResetModel();
    rows_.ExpandAll();
    endResetModel();
}

void ConfigGridModel::FillNodeGrid()
{
    beginResetModel();
    rows_.FillNodeGrid();
    endResetModel();
}

void ConfigGridModel::TypeLocationKey(int row, int code)
{
    if (row >= 0 && rows_.TypeLocationKey(static_cast<std::size_t>(row), code))
        emit dataChanged(index(row, views::kLocationColumn), index(row, views::kLocationColumn));
}
