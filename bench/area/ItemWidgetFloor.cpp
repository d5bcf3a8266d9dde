// The lists' former floor: the same statements through the SQLite C API, the texts filled
// into item widgets (one object per line).
#include "BenchSupport.h"
#include "area/AreaStatements.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QTreeWidget>
#include <sqlite3.h>

namespace {

void fillSorted(QListWidget* list, const QStringList& lines)
{
    list->setSortingEnabled(false);
    for (const QString& line : lines)
        list->addItem(line);
    list->sortItems();
    list->setSortingEnabled(true);
}

void fillStorageAreas(QListWidget* list, const QStringList& lines)
{
    list->clear();
    for (const QString& line : lines)
        list->addItem(line);
}

} // namespace

int runItemWidgetFloor(const QString& database, int rows)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(database.toUtf8().constData(), &db) != SQLITE_OK)
        return fail(QStringLiteral("cannot open %1").arg(database));
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* tree = new QTreeWidget;
    auto* middle = new QListWidget;
    auto* right = new QListWidget;
    for (QListWidget* list : {middle, right}) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setUniformItemSizes(true);
    }
    middle->setSortingEnabled(true);
    layout->addWidget(tree);
    layout->addWidget(middle);
    layout->addWidget(right);
    window.resize(862, 639);
    window.show();

    const QString kind = QStringLiteral("PICK"), area = QStringLiteral("A000000");
    const QString allToLeftBatch = FloorSql::allToLeftBatch(rows);
    Measurement measurement;
    measurement.milliseconds.append(timed([&] {
        FloorSql::fillAreaTree(tree, FloorSql::query(db, AreaStatements::areaTreeQuery()));
        fillStorageAreas(right, FloorSql::lines(db, AreaStatements::storageAreasQuery(), 0, 1));
    }));
    measurement.milliseconds.append(timed([&] {
        middle->clear();
        fillSorted(middle,
                   FloorSql::lines(db, AreaStatements::mappedStorageAreasQuery(kind, area), 2, 3));
    }));
    measurement.milliseconds.append(timed([&] {
        const FloorSql::Rows mapped = FloorSql::query(db, AreaStatements::kindMappingQuery(kind));
        FloorSql::execute(db, allToLeftBatch);
        QStringList lines;
        for (int i = rows / 2; i < rows; ++i)
            lines.append(right->item(i)->text());
        fillSorted(middle, lines);
        Q_UNUSED(mapped);
    }));
    measurement.milliseconds.append(timed([&] {
        FloorSql::execute(db, AreaStatements::unmapAllStatement(kind, area));
        middle->clear();
        fillStorageAreas(right, FloorSql::lines(db, AreaStatements::storageAreasQuery(), 0, 1));
    }));
    sqlite3_close(db);
    if (middle->count() != 0 || right->count() != rows)
        return fail(QStringLiteral("the item-widget floor did not run through"));
    measurement.peakKilobytes = peakResidentKilobytes();
    printMeasurement(measurement);
    return 0;
}
