#include "TrailBatchModel.h"

#include "TrailText.h"

void TrailBatchModel::setBatches(QList<server::TrailBatch> batches)
{
    beginResetModel();
    m_batches = std::move(batches);
    m_previews.clear();
    m_previews.reserve(m_batches.size());
    for (const server::TrailBatch& batch : std::as_const(m_batches))
        m_previews << TrailText::preview(batch.text, PreviewLength);
    endResetModel();
}

const server::TrailBatch* TrailBatchModel::batch(int row) const
{
    return row >= 0 && row < m_batches.size() ? &m_batches[row] : nullptr;
}

int TrailBatchModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_batches.size());
}

int TrailBatchModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrailBatchModel::data(const QModelIndex& index, int role) const
{
    const server::TrailBatch* shown = batch(index.row());
    if (!shown)
        return {};
    if (role == Qt::ToolTipRole && index.column() == TextColumn)
        return shown->text.size() > PreviewLength
                   ? QStringLiteral("共 %1，按“查看全文…”或双击查看并复制全部内容")
                         .arg(TrailText::sizeText(shown->text.size()))
                   : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case IdColumn:
        return shown->id;
    case TimeColumn:
        return shown->time;
    case OperatorColumn:
        return shown->operatorCode;
    case RowCountColumn:
        return int(shown->rows.size());
    case TextColumn:
        return m_previews[index.row()];
    default:
        return {};
    }
}

QVariant TrailBatchModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const headers[] = {"批次", "时间", "操作员", "行数", "内容"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(headers[section]) : QVariant();
}
