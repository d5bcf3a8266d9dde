// The four transfer buttons: map the selected or all free storage areas to the selected
// area, remove the selected or all of its mappings. One query and one batch per press.
#include "area/AreaStatements.h"
#include "area/CaseInsensitiveListItem.h"
#include "area/StorageAreaLines.h"
#include "area/TfrmArea.h"
#include "host/HostDataService.h"

namespace {

// Lines removed one by one up to this many; above it the list is rebuilt without them,
// since each single removal shifts the rest of the list.
constexpr int RemoveOneByOneLimit = 64;

// The lines of list that are selected (all lines when selectedOnly is false), in list order.
QStringList linesOf(const QListWidget* list, bool selectedOnly)
{
    QStringList lines;
    for (int row = 0; row < list->count(); ++row) {
        const QListWidgetItem* item = list->item(row);
        if (!selectedOnly || item->isSelected())
            lines.append(item->text());
    }
    return lines;
}

// The free lines among candidates, each storage area at most once.
QStringList freeLines(const QStringList& candidates, FreeStorageAreaTest& test)
{
    QStringList lines;
    for (const QString& line : candidates) {
        if (test.isFree(line)) {
            test.take(line);
            lines.append(line);
        }
    }
    return lines;
}

void removeSelectedLines(QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.size() <= RemoveOneByOneLimit) {
        for (int row = list->count() - 1; row >= 0; --row) {
            if (list->item(row)->isSelected())
                delete list->takeItem(row);
        }
        return;
    }
    const QStringList kept = [list] {
        QStringList lines;
        for (int row = 0; row < list->count(); ++row) {
            if (!list->item(row)->isSelected())
                lines.append(list->item(row)->text());
        }
        return lines;
    }();
    list->clear();
    addSortedLines(list, kept);
}

} // namespace

bool TfrmArea::selectedArea(QString& kindKey, QString& areaCode) const
{
    const QTreeWidgetItem* node = selectedNode();
    if (!node || node->childCount() > 0 || !node->parent())
        return false;
    const std::optional<AreaType> type = areaTypeFromRootLabel(node->parent()->text(0));
    if (!type)
        return false;
    kindKey = areaTypeKey(*type);
    areaCode = CodeOfText(node->text(0));
    return true;
}

bool TfrmArea::loadKindSnapshot(const QString& kindKey)
{
    platform::Variant data;
    if (!HostDataService::queryData(AreaStatements::kindMappingQuery(kindKey), data)) {
        ShowServerErrors(platform::windowHandle(this), data);
        return false;
    }
    cdspub.loadPacket(data);
    return true;
}

bool TfrmArea::executeTransferBatch(const QString& batch)
{
    platform::Variant argument(batch);
    if (!HostDataService::executeBatch(argument)) {
        ShowServerErrors(platform::windowHandle(this), argument);
        return false;
    }
    return true;
}

void TfrmArea::btnToLeftClick()
{
    QString kindKey, areaCode;
    if (!selectedArea(kindKey, areaCode) || !loadKindSnapshot(kindKey))
        return;
    FreeStorageAreaTest test(lineTexts(listDZ), cdspub.table(), kindKey);
    const QStringList lines = freeLines(linesOf(listccqyda, true), test);
    if (lines.isEmpty())
        return;
    QString batch;
    for (const QString& line : lines)
        batch += AreaStatements::mapSelectedStatement(kindKey, areaCode, CodeOfText(line));
    if (executeTransferBatch(batch))
        addSortedLines(listDZ, lines);
}

void TfrmArea::btnToRightClick()
{
    QString kindKey, areaCode;
    if (!selectedArea(kindKey, areaCode))
        return;
    const QStringList lines = linesOf(listDZ, true);
    if (lines.isEmpty())
        return;
    QString batch;
    for (const QString& line : lines)
        batch += AreaStatements::unmapSelectedStatement(kindKey, areaCode, CodeOfText(line));
    if (executeTransferBatch(batch))
        removeSelectedLines(listDZ);
}

void TfrmArea::btnAllToLeftClick()
{
    QString kindKey, areaCode;
    if (!selectedArea(kindKey, areaCode) || listccqyda->count() == 0 || !loadKindSnapshot(kindKey))
        return;
    FreeStorageAreaTest test(lineTexts(listDZ), cdspub.table(), kindKey);
    const QStringList lines = freeLines(linesOf(listccqyda, false), test);
    QString batch;
    for (const QString& line : lines)
        batch += AreaStatements::mapAllStatement(kindKey, areaCode, CodeOfText(line));
    // Sent even when empty: the server decides what an empty batch means.
    if (executeTransferBatch(batch))
        addSortedLines(listDZ, lines);
}

void TfrmArea::tbnAllToRightClick()
{
    QString kindKey, areaCode;
    if (!selectedArea(kindKey, areaCode) || listDZ->count() == 0)
        return;
    if (!executeTransferBatch(AreaStatements::unmapAllStatement(kindKey, areaCode)))
        return;
    listDZ->clear();
    LoadStorageAreas();
}
