#include "area/StorageAreaListModel.h"

#include "area/LineOrder.h"

#include <algorithm>
#include <numeric>

StorageAreaListModel::StorageAreaListModel(Order order, QObject* parent)
    : QAbstractListModel(parent), m_order(order)
{
}

int StorageAreaListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant StorageAreaListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count() ||
        (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::AccessibleTextRole))
        return QVariant();
    return line(index.row()).toString();
}

QModelIndexList StorageAreaListModel::match(const QModelIndex& start, int role,
                                            const QVariant& value, int hits,
                                            Qt::MatchFlags flags) const
{
    const Qt::MatchFlags how = flags & Qt::MatchTypeMask;
    if (role != Qt::DisplayRole || how != Qt::MatchStartsWith || (flags & Qt::MatchRecursive) ||
        !start.isValid() || start.model() != this)
        return QAbstractListModel::match(start, role, value, hits, flags);
    const QString prefix = value.toString();
    const bool caseSensitive = flags & Qt::MatchCaseSensitive;
    QModelIndexList found;
    const int rows = count();
    const int first = start.row();
    const int last = (flags & Qt::MatchWrap) ? first + rows : rows;
    for (int at = first; at < last && (hits < 0 || found.size() < hits); ++at) {
        const int row = at % rows;
        const QStringView text = line(row);
        if (caseSensitive ? text.startsWith(prefix)
                          : LineOrder::startsWithIgnoringCase(text, prefix))
            found.append(index(row));
    }
    return found;
}

void StorageAreaListModel::sortRows(std::vector<uint32_t>::iterator begin,
                                    std::vector<uint32_t>::iterator end)
{
    if (m_order != Order::IgnoringCase)
        return;
    const auto less = [this](uint32_t a, uint32_t b) {
        return LineOrder::less(m_lines.at(a), m_lines.at(b));
    };
    // The server mostly answers in code order already: one pass finds that out.
    if (!std::is_sorted(begin, end, less))
        std::sort(begin, end, less);
}

void StorageAreaListModel::setLines(DisplayLines lines)
{
    beginResetModel();
    m_lines = std::move(lines);
    m_lines.squeeze();
    m_rows.resize(size_t(m_lines.size()));
    std::iota(m_rows.begin(), m_rows.end(), 0u);
    sortRows(m_rows.begin(), m_rows.end());
    m_rows.shrink_to_fit();
    endResetModel();
}

std::vector<int> StorageAreaListModel::addLines(const DisplayLines& lines)
{
    const size_t before = m_rows.size();
    std::vector<int> moved(before);
    std::iota(moved.begin(), moved.end(), 0);
    if (lines.isEmpty())
        return moved;
    beginResetModel();
    const uint32_t firstNew = uint32_t(m_lines.size());
    for (qsizetype index = 0; index < lines.size(); ++index)
        m_lines.append(lines.at(index));
    m_rows.resize(before + size_t(lines.size()));
    std::iota(m_rows.begin() + before, m_rows.end(), firstNew);
    if (m_order == Order::IgnoringCase) {
        sortRows(m_rows.begin() + before, m_rows.end());
        std::vector<uint32_t> merged(m_rows.size());
        size_t left = 0, right = before, out = 0;
        while (left < before || right < m_rows.size()) {
            // Equal lines keep the old one first, as a stable merge does.
            const bool takeOld = right == m_rows.size() ||
                                 (left < before && !LineOrder::less(m_lines.at(m_rows[right]),
                                                                    m_lines.at(m_rows[left])));
            if (takeOld) {
                moved[left] = int(out);
                merged[out++] = m_rows[left++];
            } else {
                merged[out++] = m_rows[right++];
            }
        }
        m_rows = std::move(merged);
    }
    endResetModel();
    return moved;
}

void StorageAreaListModel::removeRows(const std::vector<int>& rows)
{
    if (rows.empty())
        return;
    beginResetModel();
    DisplayLines kept;
    kept.reserve(qsizetype(m_rows.size() - rows.size()), 0);
    auto removed = rows.begin();
    for (int row = 0; row < count(); ++row) {
        if (removed != rows.end() && *removed == row)
            ++removed;
        else
            kept.append(line(row));
    }
    kept.squeeze();
    m_lines = std::move(kept);
    // The kept lines are already in row order.
    m_rows.resize(size_t(m_lines.size()));
    std::iota(m_rows.begin(), m_rows.end(), 0u);
    endResetModel();
}

void StorageAreaListModel::clear()
{
    beginResetModel();
    m_lines = DisplayLines();
    m_rows.clear();
    m_rows.shrink_to_fit();
    endResetModel();
}
