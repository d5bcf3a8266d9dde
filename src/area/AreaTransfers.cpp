// The four transfer buttons: map the selected or all free storage areas to the selected
// area, remove the selected or all of its mappings. One query and one batch per press.
#include "area/AreaStatements.h"
#include "area/StorageAreaLines.h"
#include "area/TfrmArea.h"
#include "host/HostDataService.h"

namespace {

// The free lines among the given rows of list (every row when rows is null), in list
// order, each storage area at most once.
DisplayLines freeLines(const StorageAreaList* list, const std::vector<int>* rows,
                       FreeStorageAreaTest& test)
{
    DisplayLines lines;
    const auto consider = [&](int row) {
        const QStringView line = list->lines().line(row);
        if (test.isFree(line)) {
            test.take(line);
            lines.append(line);
        }
    };
    if (rows) {
        for (int row : *rows)
            consider(row);
    } else {
        for (int row = 0; row < list->count(); ++row)
            consider(row);
    }
    return lines;
}

QString codeOf(QStringView line)
{
    return CodeOfText(line.toString());
}

// One statement per line, built by statement(kind, area, storage code), back to back.
template <typename Statement>
QString batchOf(const DisplayLines& lines, const QString& kindKey, const QString& areaCode,
                Statement statement)
{
    QString batch;
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const QString one = statement(kindKey, areaCode, codeOf(lines.at(index)));
        if (batch.isEmpty())
            batch.reserve(one.size() * lines.size() + lines.size());
        batch += one;
    }
    return batch;
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
    cdspub.loadPacket(data, kindKey);
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
    // The test's sets are gone before the batch is sent (less memory at the peak).
    const DisplayLines lines = [this] {
        FreeStorageAreaTest test(listDZ->lines(), cdspub);
        const std::vector<int> selected = listccqyda->selectedRows();
        return freeLines(listccqyda, &selected, test);
    }();
    if (lines.isEmpty())
        return;
    if (executeTransferBatch(
            batchOf(lines, kindKey, areaCode, AreaStatements::mapSelectedStatement)))
        listDZ->addLines(lines);
}

void TfrmArea::btnToRightClick()
{
    QString kindKey, areaCode;
    if (!selectedArea(kindKey, areaCode))
        return;
    const std::vector<int> selected = listDZ->selectedRows();
    if (selected.empty())
        return;
    QString batch;
    for (int row : selected)
        batch += AreaStatements::unmapSelectedStatement(kindKey, areaCode,
                                                        codeOf(listDZ->lines().line(row)));
    if (executeTransferBatch(batch))
        listDZ->removeRows(selected);
}

void TfrmArea::btnAllToLeftClick()
{
    QString kindKey, areaCode;
    if (!selectedArea(kindKey, areaCode) || listccqyda->count() == 0 || !loadKindSnapshot(kindKey))
        return;
    const DisplayLines lines = [this] {
        FreeStorageAreaTest test(listDZ->lines(), cdspub);
        return freeLines(listccqyda, nullptr, test);
    }();
    // Sent even when empty: the server decides what an empty batch means.
    if (executeTransferBatch(batchOf(lines, kindKey, areaCode, AreaStatements::mapAllStatement)))
        listDZ->addLines(lines);
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
