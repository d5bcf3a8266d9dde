#pragma once

#include "area/StorageAreaListModel.h"

#include <QListView>
#include <vector>

// A multi-select list of storage-area lines (the mapping list and the storage-area list):
// a list view over its own compact model, one fixed row height, selection through the
// view's selection model. The view owns its model.
class StorageAreaList : public QListView {
    Q_OBJECT
public:
    StorageAreaList(StorageAreaListModel::Order order, QWidget* parent);

    StorageAreaListModel& lines() const { return *m_model; }
    int count() const { return m_model->count(); }
    // The selected rows, ascending.
    std::vector<int> selectedRows() const;
    // Selects exactly these rows (ascending); the others are deselected.
    void selectRows(const std::vector<int>& rows);

    void setLines(DisplayLines lines) { m_model->setLines(std::move(lines)); }
    // Adds lines (merged into place in a sorted list); the selected lines and the current
    // line stay selected and current.
    void addLines(const DisplayLines& lines);
    void removeRows(const std::vector<int>& rows) { m_model->removeRows(rows); }
    void clear() { m_model->clear(); }

private:
    StorageAreaListModel* m_model;
};
