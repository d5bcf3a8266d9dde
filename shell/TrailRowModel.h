#pragma once

#include "server/DataServer.h"

#include <QAbstractTableModel>

// The changed rows of one batch as a table: operation, table, key, before and after.
class TrailRowModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { OperationColumn, TableColumn, KeyColumn, BeforeColumn, AfterColumn, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QList<server::TrailRow> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<server::TrailRow> m_rows;
};
