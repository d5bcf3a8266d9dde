// Benchmark of the area window at 10,000 and 100,000 storage areas: start-up, selecting an
// area with half of them mapped, "<<" and ">>", each against its floor (the same SQL through
// the SQLite C API alone, plus filling the same widgets with the same texts alone). The
// module and the floor run in processes of their own, so each reports its own peak memory.
//
//   area_bench              runs both sizes and prints the table
//   area_bench ROWS...      runs the given sizes
//   area_bench --build FILE ROWS, then --module FILE ROWS or --floor FILE ROWS: one run
//                           (for a profiler); the run changes the database
//   area_bench --screenshot FILE   the window on 60 storage areas, saved as a PNG
#include "AreaBenchDatabase.h"
#include "area/AreaStatements.h"
#include "area/TfrmArea.h"
#include "host/HostContext.h"
#include "nelvo/NelvoModule.h"
#include "platform/MessageBox.h"
#include "server/DataServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>

namespace {

const QStringList StepNames{"start-up", "select", "<<", ">>"};

struct Measurement {
    QList<double> milliseconds; // one per step
    qint64 peakKilobytes = 0;
};

qint64 peakResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return 0;
}

void printMeasurement(const Measurement& measurement)
{
    for (double ms : measurement.milliseconds)
        std::printf("%.3f ", ms);
    std::printf("%lld\n", static_cast<long long>(measurement.peakKilobytes));
}

int fail(const QString& message)
{
    std::fprintf(stderr, "area_bench: %s\n", qPrintable(message));
    return 1;
}

template <typename Step> double timed(Step step)
{
    QElapsedTimer timer;
    timer.start();
    step();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    QCoreApplication::processEvents(); // layout and paint, outside the measurement
    return ms;
}

// The operator the module is opened for: a length byte, then the code.
const unsigned char OperatorCode[] = {4, '0', '0', '0', '1'};

// The panel of a shell that already shows text, as a real shell does before the user
// opens the module: the font database is then loaded outside the measurement, as it
// is for the floor, whose window is shown before its timer starts.
class ShellPanel {
public:
    ShellPanel() : m_text(QStringLiteral("仓储业务后台 区域档案与对照"), &m_panel)
    {
        m_panel.resize(862, 639);
        m_panel.show();
        QCoreApplication::processEvents();
    }
    QWidget* widget() { return &m_panel; }

private:
    QWidget m_panel;
    QLabel m_text;
};

// The module: the window opened through the entry on the data server.
int runModule(const QString& database, int rows)
{
    QString error;
    server::DataServer* server = server::DataServer::open(
        database, {.operatorCode = {}, .sqlTraceFile = {}, .createSchema = true}, &error);
    if (!server)
        return fail(error);
    auto serverRef = platform::DispatchRef<server::DataServer>::adopt(server);
    ShellPanel parent;
    Measurement measurement;
    measurement.milliseconds.append(
        timed([&] { GetNelvoForm(1, nullptr, OperatorCode, parent.widget(), server); }));
    auto* window = qobject_cast<TfrmArea*>(hostContext().AreaForm.data());
    if (!window || window->listccqyda->count() != rows)
        return fail(QStringLiteral("the window did not load"));
    QTreeWidgetItem* busyArea = window->rootNodes[0]->child(0);
    if (!busyArea || busyArea->text(0) != AreaBenchDatabase::BusyAreaText)
        return fail(QStringLiteral("no area %1").arg(AreaBenchDatabase::BusyAreaText));
    measurement.milliseconds.append(timed([&] { window->TN->setCurrentItem(busyArea); }));
    if (window->listDZ->count() != rows / 2)
        return fail(QStringLiteral("select shows %1 lines").arg(window->listDZ->count()));
    measurement.milliseconds.append(timed([&] { window->btnAllToLeft->click(); }));
    if (window->listDZ->count() != rows)
        return fail(QStringLiteral("<< shows %1 lines").arg(window->listDZ->count()));
    measurement.milliseconds.append(timed([&] { window->tbnAllToRight->click(); }));
    if (window->listDZ->count() != 0 || window->listccqyda->count() != rows)
        return fail(QStringLiteral(">> left %1 lines").arg(window->listDZ->count()));
    measurement.peakKilobytes = peakResidentKilobytes();
    printMeasurement(measurement);
    return 0;
}

using Rows = QList<QStringList>;

Rows query(sqlite3* db, const QString& sql)
{
    Rows rows;
    sqlite3_stmt* statement = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(db, text.constData(), int(text.size()), &statement, nullptr) !=
        SQLITE_OK)
        return rows;
    const int columns = sqlite3_column_count(statement);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        QStringList row;
        row.reserve(columns);
        for (int column = 0; column < columns; ++column)
            row.append(QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                sqlite3_column_bytes(statement, column)));
        rows.append(row);
    }
    sqlite3_finalize(statement);
    return rows;
}

void execute(sqlite3* db, const QString& batch)
{
    sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr);
    sqlite3_exec(db, batch.toUtf8().constData(), nullptr, nullptr, nullptr);
    sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
}

void fillSorted(QListWidget* list, const QStringList& lines)
{
    list->setSortingEnabled(false);
    for (const QString& line : lines)
        list->addItem(line);
    list->sortItems();
    list->setSortingEnabled(true);
}

void fillStorageAreas(QListWidget* list, const Rows& rows)
{
    list->clear();
    for (const QStringList& row : rows)
        list->addItem(row[0] + u' ' + row[1]);
}

// The floor: the same statements through the SQLite C API, the same widgets filled.
int runFloor(const QString& database, int rows)
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
    QString allToLeftBatch;
    for (int i = rows / 2; i < rows; ++i)
        allToLeftBatch += AreaStatements::mapAllStatement(
            kind, area, QStringLiteral("S%1").arg(i, 6, 10, QLatin1Char('0')));

    Measurement measurement;
    measurement.milliseconds.append(timed([&] {
        const Rows areas = query(db, AreaStatements::areaTreeQuery());
        const Rows storage = query(db, AreaStatements::storageAreasQuery());
        const QStringList kinds{"PICK", "PUT", "MPICK"};
        QList<QTreeWidgetItem*> roots, children[3];
        for (const QString& label : kinds)
            roots.append(new QTreeWidgetItem(tree, QStringList{label}));
        for (const QStringList& row : areas)
            children[kinds.indexOf(row[2])].append(
                new QTreeWidgetItem(QStringList{row[0] + u' ' + row[1]}));
        for (int index = 0; index < 3; ++index)
            roots[index]->addChildren(children[index]);
        tree->expandAll();
        fillStorageAreas(right, storage);
    }));
    measurement.milliseconds.append(timed([&] {
        middle->clear();
        QStringList lines;
        for (const QStringList& row :
             query(db, AreaStatements::mappedStorageAreasQuery(kind, area)))
            lines.append(row[2] + u' ' + row[3]);
        fillSorted(middle, lines);
    }));
    measurement.milliseconds.append(timed([&] {
        const Rows mapped = query(db, AreaStatements::kindMappingQuery(kind));
        execute(db, allToLeftBatch);
        QStringList lines;
        for (int i = rows / 2; i < rows; ++i)
            lines.append(right->item(i)->text());
        fillSorted(middle, lines);
        Q_UNUSED(mapped);
    }));
    measurement.milliseconds.append(timed([&] {
        execute(db, AreaStatements::unmapAllStatement(kind, area));
        middle->clear();
        fillStorageAreas(right, query(db, AreaStatements::storageAreasQuery()));
    }));
    sqlite3_close(db);
    if (middle->count() != 0 || right->count() != rows)
        return fail(QStringLiteral("the floor did not run through"));
    measurement.peakKilobytes = peakResidentKilobytes();
    printMeasurement(measurement);
    return 0;
}

// The working window on a small warehouse, an area selected, saved as an image.
int saveScreenshot(const QString& file)
{
    QTemporaryDir folder;
    const QString database = folder.filePath(QStringLiteral("screenshot.db"));
    QString error;
    if (!AreaBenchDatabase::build(database, 60, error))
        return fail(error);
    server::DataServer* server = server::DataServer::open(
        database, {.operatorCode = {}, .sqlTraceFile = {}, .createSchema = true}, &error);
    if (!server)
        return fail(error);
    auto serverRef = platform::DispatchRef<server::DataServer>::adopt(server);
    ShellPanel parent;
    GetNelvoForm(1, nullptr, OperatorCode, parent.widget(), server);
    auto* window = qobject_cast<TfrmArea*>(hostContext().AreaForm.data());
    if (!window || !window->rootNodes[0] || window->rootNodes[0]->childCount() == 0)
        return fail(QStringLiteral("the window did not load"));
    window->TN->setCurrentItem(window->rootNodes[0]->child(0));
    for (int row : {31, 32, 35})
        window->listccqyda->item(row)->setSelected(true);
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QCoreApplication::processEvents();
    return parent.widget()->grab().save(file) ? 0
                                              : fail(QStringLiteral("cannot write %1").arg(file));
}

bool measure(const QString& mode, const QString& database, int rows, Measurement& measurement)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {mode, database, QString::number(rows)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return false;
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != StepNames.size() + 1)
        return false;
    for (qsizetype index = 0; index < StepNames.size(); ++index)
        measurement.milliseconds.append(fields[index].toDouble());
    measurement.peakKilobytes = fields.last().toLongLong();
    return true;
}

constexpr int Repeats = 3;

// Keeps the smaller time of each step and the smaller peak memory.
void keepBest(Measurement& best, const Measurement& run)
{
    if (best.milliseconds.isEmpty()) {
        best = run;
        return;
    }
    for (qsizetype step = 0; step < best.milliseconds.size(); ++step)
        best.milliseconds[step] = std::min(best.milliseconds[step], run.milliseconds[step]);
    best.peakKilobytes = std::min(best.peakKilobytes, run.peakKilobytes);
}

int runTable(QList<int> sizes)
{
    QTemporaryDir folder;
    QList<Measurement> modules, floors;
    for (int rows : sizes) {
        const QString built = folder.filePath(QStringLiteral("built-%1.db").arg(rows));
        QString error;
        if (!AreaBenchDatabase::build(built, rows, error))
            return fail(error);
        Measurement module, floor;
        for (const auto& [mode, target] : {std::pair{QStringLiteral("--module"), &module},
                                           {QStringLiteral("--floor"), &floor}}) {
            // The best of a few runs, each on a fresh copy: the machine may be shared.
            for (int run = 0; run < Repeats; ++run) {
                const QString copy = folder.filePath(
                    QStringLiteral("%1-%2-%3.db").arg(mode.mid(2)).arg(rows).arg(run));
                Measurement one;
                if (!QFile::copy(built, copy) || !measure(mode, copy, rows, one))
                    return fail(QStringLiteral("%1 run at %2 rows failed").arg(mode).arg(rows));
                keepBest(*target, one);
                QFile::remove(copy);
            }
        }
        modules.append(module);
        floors.append(floor);
    }
    std::printf("%-8s %-9s %12s %12s %7s\n", "rows", "step", "module ms", "floor ms", "ratio");
    for (qsizetype size = 0; size < sizes.size(); ++size) {
        for (qsizetype step = 0; step < StepNames.size(); ++step) {
            const double module = modules[size].milliseconds[step];
            const double floor = floors[size].milliseconds[step];
            std::printf("%-8d %-9s %12.1f %12.1f %7.2f\n", sizes[size], qPrintable(StepNames[step]),
                        module, floor, module / floor);
        }
        std::printf("%-8d %-9s %10.1f MB %9.1f MB %7.2f\n", sizes[size], "peak RSS",
                    modules[size].peakKilobytes / 1024.0, floors[size].peakKilobytes / 1024.0,
                    double(modules[size].peakKilobytes) / double(floors[size].peakKilobytes));
    }
    if (sizes.size() >= 2) {
        for (qsizetype step = 0; step < StepNames.size(); ++step)
            std::printf("growth %d -> %d, %-9s module x%.1f, floor x%.1f\n", sizes.first(),
                        sizes.last(), qPrintable(StepNames[step]),
                        modules.last().milliseconds[step] / modules.first().milliseconds[step],
                        floors.last().milliseconds[step] / floors.first().milliseconds[step]);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    platform::setMessageBoxInterceptor([](const platform::MessageBoxRequest& request) {
        std::fprintf(stderr, "message box: %s\n", qPrintable(request.text));
        return platform::IDOK;
    });
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() == 3 && arguments[0] == QLatin1String("--module"))
        return runModule(arguments[1], arguments[2].toInt());
    if (arguments.size() == 3 && arguments[0] == QLatin1String("--floor"))
        return runFloor(arguments[1], arguments[2].toInt());
    if (arguments.size() == 2 && arguments[0] == QLatin1String("--screenshot"))
        return saveScreenshot(arguments[1]);
    if (arguments.size() == 3 && arguments[0] == QLatin1String("--build")) {
        QString error;
        return AreaBenchDatabase::build(arguments[1], arguments[2].toInt(), error) ? 0
                                                                                   : fail(error);
    }
    QList<int> sizes;
    for (const QString& argument : arguments)
        sizes.append(argument.toInt());
    return runTable(sizes.isEmpty() ? QList<int>{10000, 100000} : sizes);
}
