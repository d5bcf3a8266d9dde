#include "TrailRowModel.h"

#include "TrailText.h"

void TrailRowModel::setRows(QList<server::TrailRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int TrailRowModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int TrailRowModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TrailRowModel::data(const QModelIndex& index, int role) const
{
    if (index.row() < 0 || index.row() >= m_rows.size() ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const server::TrailRow& row = m_rows[index.row()];
    switch (index.column()) {
    case OperationColumn:
        return TrailText::operationName(row.operation);
    case TableColumn:
        return TrailText::tableName(row.table);
    case KeyColumn:
        return row.key;
    case BeforeColumn:
        // The tool tip shows the whole row as recorded.
        return role == Qt::ToolTipRole ? row.before : TrailText::change(row).before;
    case AfterColumn:
        return role == Qt::ToolTipRole ? row.after : TrailText::change(row).after;
    default:
        return {};
    }
}

QVariant TrailRowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const headers[] = {"操作", "表", "键", "修改前", "修改后"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(headers[section]) : QVariant();
}
