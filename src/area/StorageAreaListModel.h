#pragma once

#include "area/DisplayLines.h"

#include <QAbstractListModel>
#include <vector>

// The lines of one storage-area list: display texts held compactly, in the order given or
// kept in LineOrder (letter case ignored). Lines are built once when they arrive; a sorted
// list sorts a new set once and merges additions instead of inserting line by line.
class StorageAreaListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum class Order { AsGiven, IgnoringCase };
    StorageAreaListModel(Order order, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The type-ahead of the view: a scan of the lines for MatchStartsWith on the display
    // text (letter case ignored unless asked), with no value built per line; other
    // searches as the base class does them.
    QModelIndexList match(const QModelIndex& start, int role, const QVariant& value, int hits,
                          Qt::MatchFlags flags) const override;

    int count() const { return int(m_rows.size()); }
    QStringView line(int row) const { return m_lines.at(m_rows[size_t(row)]); }

    // Replaces every line (a reset: the view's selection is dropped).
    void setLines(DisplayLines lines);
    // Adds lines: appended to an unsorted list, merged into their places in a sorted one.
    // Answers, for each row before the call, its row after it.
    std::vector<int> addLines(const DisplayLines& lines);
    // Removes the given rows (ascending, each once). A reset.
    void removeRows(const std::vector<int>& rows);
    void clear();

private:
    void sortRows(std::vector<uint32_t>::iterator begin, std::vector<uint32_t>::iterator end);

    Order m_order;
    DisplayLines m_lines;         // every line, in the order they arrived
    std::vector<uint32_t> m_rows; // row -> line number in m_lines
};
