#include "area/StorageAreaList.h"

#include <QItemSelectionModel>

StorageAreaList::StorageAreaList(StorageAreaListModel::Order order, QWidget* parent)
    : QListView(parent), m_model(new StorageAreaListModel(order, this))
{
    setModel(m_model);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Every row is one line in one font: the view measures one row instead of each one.
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

std::vector<int> StorageAreaList::selectedRows() const
{
    std::vector<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void StorageAreaList::selectRows(const std::vector<int>& rows)
{
    QItemSelection selection;
    for (size_t first = 0; first < rows.size();) {
        size_t last = first;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1)
            ++last;
        selection.append(
            QItemSelectionRange(m_model->index(rows[first]), m_model->index(rows[last])));
        first = last + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void StorageAreaList::addLines(const DisplayLines& lines)
{
    if (lines.isEmpty())
        return;
    const std::vector<int> selected = selectedRows();
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    const std::vector<int> moved = m_model->addLines(lines);
    if (current >= 0)
        selectionModel()->setCurrentIndex(m_model->index(moved[size_t(current)]),
                                          QItemSelectionModel::NoUpdate);
    std::vector<int> reselected;
    reselected.reserve(selected.size());
    for (int row : selected)
        reselected.push_back(moved[size_t(row)]);
    if (!reselected.empty())
        selectRows(reselected);
}
