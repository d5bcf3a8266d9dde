// The floor of the lists: the same statements through the SQLite C API into plain Qt
// model/view (a QStringListModel under a QListView), the mapping list sorted with std::sort
// on the keys the window sorts by (the case-folded text, then the text).
#include "BenchSupport.h"
#include "area/AreaStatements.h"

#include <QHBoxLayout>
#include <QListView>
#include <QStringListModel>
#include <QTreeWidget>
#include <algorithm>
#include <numeric>
#include <sqlite3.h>

namespace {

QStringList sortedIgnoringCase(const QStringList& lines)
{
    QStringList keys;
    keys.reserve(lines.size());
    for (const QString& line : lines)
        keys.append(line.toCaseFolded());
    std::vector<qsizetype> order(size_t(lines.size()));
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int folded = keys[a].compare(keys[b]);
        return folded != 0 ? folded < 0 : lines[a] < lines[b];
    });
    QStringList sorted;
    sorted.reserve(lines.size());
    for (qsizetype index : order)
        sorted.append(lines[index]);
    return sorted;
}

QListView* newList(QStringListModel* model)
{
    auto* view = new QListView;
    view->setModel(model);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setUniformItemSizes(true);
    return view;
}

} // namespace

int runModelViewFloor(const QString& database, int rows)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(database.toUtf8().constData(), &db) != SQLITE_OK)
        return fail(QStringLiteral("cannot open %1").arg(database));
    QWidget window;
    QStringListModel middle, right;
    auto* layout = new QHBoxLayout(&window);
    auto* tree = new QTreeWidget;
    layout->addWidget(tree);
    layout->addWidget(newList(&middle));
    layout->addWidget(newList(&right));
    window.resize(862, 639);
    window.show();

    const QString kind = QStringLiteral("PICK"), area = QStringLiteral("A000000");
    const QString allToLeftBatch = FloorSql::allToLeftBatch(rows);
    Measurement measurement;
    measurement.milliseconds.append(timed([&] {
        FloorSql::fillAreaTree(tree, FloorSql::query(db, AreaStatements::areaTreeQuery()));
        right.setStringList(FloorSql::lines(db, AreaStatements::storageAreasQuery(), 0, 1));
    }));
    measurement.milliseconds.append(timed([&] {
        middle.setStringList(sortedIgnoringCase(
            FloorSql::lines(db, AreaStatements::mappedStorageAreasQuery(kind, area), 2, 3)));
    }));
    measurement.milliseconds.append(timed([&] {
        const FloorSql::Rows mapped = FloorSql::query(db, AreaStatements::kindMappingQuery(kind));
        FloorSql::execute(db, allToLeftBatch);
        QStringList lines = middle.stringList();
        const QStringList storage = right.stringList();
        lines.append(storage.mid(rows / 2));
        middle.setStringList(sortedIgnoringCase(lines));
        Q_UNUSED(mapped);
    }));
    measurement.milliseconds.append(timed([&] {
        FloorSql::execute(db, AreaStatements::unmapAllStatement(kind, area));
        middle.setStringList({});
        right.setStringList(FloorSql::lines(db, AreaStatements::storageAreasQuery(), 0, 1));
    }));
    sqlite3_close(db);
    if (middle.rowCount() != 0 || right.rowCount() != rows)
        return fail(QStringLiteral("the model/view floor did not run through"));
    measurement.peakKilobytes = peakResidentKilobytes();
    printMeasurement(measurement);
    return 0;
}
