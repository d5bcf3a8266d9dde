#pragma once

#include <QListWidgetItem>
#include <QStringList>

class QListWidget;

// A list line that sorts as a user reads it: ignoring letter case (a, B, c), with the
// case-sensitive order only to break ties.
class CaseInsensitiveListItem : public QListWidgetItem {
public:
    explicit CaseInsensitiveListItem(const QString& text);
    bool operator<(const QListWidgetItem& other) const override;
};

// Adds lines to a sorted list: appended with sorting off, then sorted once (one insertion
// per line into the sorted model would cost a search and a layout each).
void addSortedLines(QListWidget* list, const QStringList& lines);
// Appends lines to an unsorted list in the given order.
void addLines(QListWidget* list, const QStringList& lines);
// The texts of all lines, in list order.
QStringList lineTexts(const QListWidget* list);
