// Benchmark of the area window at 10,000, 100,000 and 1,000,000 storage areas: start-up,
// selecting an area with half of them mapped, "<<" and ">>", each against two floors (the
// same SQL through the SQLite C API alone, its texts filled into plain Qt model/view, and
// into item widgets as the lists once were). The module and each floor run in processes
// of their own, so each reports its own peak memory.
//
//   area_bench              runs the three sizes and prints the table
//   area_bench ROWS...      runs the given sizes
//   area_bench --build FILE ROWS, then --module, --floor or --item-floor FILE ROWS: one
//                           run (for a profiler); the run changes the database
//   area_bench --query-data FILE   QueryData of every storage area, alone (for a profiler)
//   area_bench --screenshot FILE   the window on 60 storage areas, saved as a PNG
#include "AreaBenchDatabase.h"
#include "BenchSupport.h"
#include "area/AreaStatements.h"
#include "area/TfrmArea.h"
#include "host/HostContext.h"
#include "nelvo/NelvoModule.h"
#include "platform/CoorDisp.h"
#include "platform/MessageBox.h"
#include "server/DataServer.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>

namespace {

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

// The data server's QueryData of every storage area, as the window's start-up sends it.
int runQueryData(const QString& database)
{
    QString error;
    server::DataServer* server = server::DataServer::open(database, {}, &error);
    if (!server)
        return fail(error);
    auto serverRef = platform::DispatchRef<server::DataServer>::adopt(server);
    platform::Variant data;
    platform::DispatchArguments arguments;
    arguments.push_back(platform::DispatchArgument::byValue(
        platform::Variant(AreaStatements::storageAreasQuery())));
    arguments.push_back(platform::DispatchArgument::byRef(data));
    const double ms = timed([&] { server->invoke(platform::CoorDisp::QueryData, arguments); });
    if (!data.isBytes())
        return fail(QStringLiteral("QueryData failed"));
    std::printf("QueryData %.1f ms, %lld bytes, peak %lld kB\n", ms,
                static_cast<long long>(data.bytes().size()),
                static_cast<long long>(peakResidentKilobytes()));
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
    window->listccqyda->selectRows({31, 32, 35});
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

struct Mode {
    QString argument; // the child's command-line mode
    QString title;    // its column in the table
};

const QList<Mode> Modes{{QStringLiteral("--module"), QStringLiteral("module")},
                        {QStringLiteral("--floor"), QStringLiteral("model/view floor")},
                        {QStringLiteral("--item-floor"), QStringLiteral("item-widget floor")}};

void printTable(const QList<int>& sizes, const QList<QList<Measurement>>& results)
{
    std::printf("%-8s %-9s %10s %10s %6s %10s %6s\n", "rows", "step", "module", "m/v floor",
                "ratio", "item floor", "ratio");
    for (qsizetype size = 0; size < sizes.size(); ++size) {
        const QList<Measurement>& run = results[size];
        for (qsizetype step = 0; step < StepNames.size(); ++step) {
            const double module = run[0].milliseconds[step];
            std::printf("%-8d %-9s %8.1fms %8.1fms %6.2f %8.1fms %6.2f\n", sizes[size],
                        qPrintable(StepNames[step]), module, run[1].milliseconds[step],
                        module / run[1].milliseconds[step], run[2].milliseconds[step],
                        module / run[2].milliseconds[step]);
        }
        const auto mb = [&run](int mode) { return double(run[mode].peakKilobytes) / 1024.0; };
        std::printf("%-8d %-9s %8.1fMB %8.1fMB %6.2f %8.1fMB %6.2f\n", sizes[size], "peak RSS",
                    mb(0), mb(1), mb(0) / mb(1), mb(2), mb(0) / mb(2));
    }
    for (qsizetype size = 1; size < sizes.size(); ++size) {
        for (qsizetype step = 0; step < StepNames.size(); ++step) {
            const auto growth = [&](int mode) {
                return results[size][mode].milliseconds[step] /
                       results[size - 1][mode].milliseconds[step];
            };
            std::printf("growth %d -> %d, %-9s module x%.1f, m/v floor x%.1f, item floor x%.1f\n",
                        sizes[size - 1], sizes[size], qPrintable(StepNames[step]), growth(0),
                        growth(1), growth(2));
        }
    }
}

int runTable(const QList<int>& sizes)
{
    QTemporaryDir folder;
    QList<QList<Measurement>> results; // per size, per mode
    for (int rows : sizes) {
        const QString built = folder.filePath(QStringLiteral("built-%1.db").arg(rows));
        QString error;
        if (!AreaBenchDatabase::build(built, rows, error))
            return fail(error);
        QList<Measurement> perMode(Modes.size());
        // The best of a few runs, each on a fresh copy: the machine may be shared. The
        // modes take turns so that a busy spell does not fall on one of them alone.
        for (int run = 0; run < Repeats; ++run) {
            for (qsizetype mode = 0; mode < Modes.size(); ++mode) {
                const QString copy = folder.filePath(QStringLiteral("run-%1.db").arg(rows));
                Measurement one;
                if (!QFile::copy(built, copy) || !measure(Modes[mode].argument, copy, rows, one))
                    return fail(QStringLiteral("%1 run at %2 rows failed")
                                    .arg(Modes[mode].title)
                                    .arg(rows));
                keepBest(perMode[mode], one);
                QFile::remove(copy);
                QFile::remove(copy + QStringLiteral("-wal"));
                QFile::remove(copy + QStringLiteral("-shm"));
            }
        }
        QFile::remove(built);
        results.append(perMode);
    }
    printTable(sizes, results);
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
        return runModelViewFloor(arguments[1], arguments[2].toInt());
    if (arguments.size() == 3 && arguments[0] == QLatin1String("--item-floor"))
        return runItemWidgetFloor(arguments[1], arguments[2].toInt());
    if (arguments.size() == 2 && arguments[0] == QLatin1String("--query-data"))
        return runQueryData(arguments[1]);
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
    return runTable(sizes.isEmpty() ? QList<int>{10000, 100000, 1000000} : sizes);
}
