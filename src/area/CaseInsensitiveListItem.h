#pragma once

#include <QListWidgetItem>
#include <QStringList>

class QListWidget;

// A list line that sorts as a user reads it: ignoring letter case (a, B, c), with the
// case-sensitive order only to break ties. The line's text is fixed at construction; its
// sort keys are kept with it, so sorting n lines costs no text conversion per comparison.
class CaseInsensitiveListItem : public QListWidgetItem {
public:
    static constexpr int ItemType = QListWidgetItem::UserType + 1;

    explicit CaseInsensitiveListItem(const QString& text);
    bool operator<(const QListWidgetItem& other) const override;

private:
    QString m_folded; // text, case-folded
    QString m_text;
};

// Adds lines to a sorted list: appended with sorting off, then sorted once (one insertion
// per line into the sorted model would cost a search and a layout each).
void addSortedLines(QListWidget* list, const QStringList& lines);
// Appends lines to an unsorted list in the given order.
void addLines(QListWidget* list, const QStringList& lines);
// The texts of all lines, in list order.
QStringList lineTexts(const QListWidget* list);
