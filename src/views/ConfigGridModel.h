#pragma once
// The configuration grid's rows as a table the grid control shows: the
// header row from the column table, each column's alignment, and the rows as
// they stand; inserting and removing rows keeps the view's place.
#include "views/core/ConfigGridRows.h"

#include <QAbstractTableModel>

class ConfigGridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    ConfigGridModel(views::ConfigGridRows& rows, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The row operations, each told to the view as it happens.
    void ToggleDevices(int row);
    void ExpandAll();
    void FillNodeGrid();
    void TypeLocationKey(int row, int code);

private:
    views::ConfigGridRows& rows_;
};
