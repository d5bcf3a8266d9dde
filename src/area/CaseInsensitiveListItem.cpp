#include "area/CaseInsensitiveListItem.h"

#include <QListWidget>

CaseInsensitiveListItem::CaseInsensitiveListItem(const QString& text)
    : QListWidgetItem(text, nullptr, ItemType), m_folded(text.toCaseFolded()), m_text(text)
{
}

bool CaseInsensitiveListItem::operator<(const QListWidgetItem& other) const
{
    if (other.type() != ItemType) {
        const QString theirs = other.text();
        const int folded = m_text.compare(theirs, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : m_text < theirs;
    }
    const auto& item = static_cast<const CaseInsensitiveListItem&>(other);
    const int folded = m_folded.compare(item.m_folded);
    return folded != 0 ? folded < 0 : m_text < item.m_text;
}

void addSortedLines(QListWidget* list, const QStringList& lines)
{
    if (lines.isEmpty())
        return;
    const bool sorting = list->isSortingEnabled();
    list->setSortingEnabled(false);
    for (const QString& line : lines)
        list->addItem(new CaseInsensitiveListItem(line));
    list->sortItems(Qt::AscendingOrder);
    list->setSortingEnabled(sorting);
}

void addLines(QListWidget* list, const QStringList& lines)
{
    for (const QString& line : lines)
        list->addItem(new QListWidgetItem(line));
}

QStringList lineTexts(const QListWidget* list)
{
    QStringList texts;
    texts.reserve(list->count());
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}
