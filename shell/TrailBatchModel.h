#pragma once

#include "server/DataServer.h"

#include <QAbstractTableModel>

// The batches of the trail as a table, in the order given (newest first): number, time,
// operator, changed rows and the start of the batch's text with its size when it is long.
class TrailBatchModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { IdColumn, TimeColumn, OperatorColumn, RowCountColumn, TextColumn, ColumnCount };
    // How much of a batch's text its cell shows (an import can be megabytes long).
    static constexpr qsizetype PreviewLength = 300;

    using QAbstractTableModel::QAbstractTableModel;

    void setBatches(QList<server::TrailBatch> batches);
    const QList<server::TrailBatch>& batches() const noexcept { return m_batches; }
    // The batch of row; nullptr when there is none.
    const server::TrailBatch* batch(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QList<server::TrailBatch> m_batches;
    QStringList m_previews; // the text column, built once per batch
};
