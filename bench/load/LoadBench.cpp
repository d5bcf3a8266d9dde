// Many clerks under load: each clerk is a process of its own with a real area window on its
// own connection, driven by a seeded random script on shared areas for a fixed time; at the
// end the database's invariants are checked and the throughput, the latencies and the
// errors by kind are printed.
//
//   load_bench [--seconds N] [--seed N] [--sqlite-clerks N] [--postgres-clerks N]
//              [--backend sqlite|postgresql|both]
//
// PostgreSQL runs on the server NELVO_TEST_PG_URI names (tools/with-postgres.sh sets it)
// and is skipped without it. Exit status: 0 when only expected collisions happened and every
// invariant held, 1 otherwise, 2 on a usage error.
#include "ClerkProcess.h"
#include "ClerkResult.h"
#include "LoadDatabase.h"
#include "LoadReport.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct Options {
    int seconds = 60;
    quint32 seed = 1;
    int sqliteClerks = 4;
    int postgresClerks = 8;
    QStringList backends{QLatin1String(ScratchDatabase::Sqlite),
                         QLatin1String(ScratchDatabase::Postgres)};
};

bool parse(const QStringList& arguments, Options& options)
{
    for (qsizetype index = 1; index < arguments.size(); ++index) {
        const QString& name = arguments[index];
        if (index + 1 >= arguments.size())
            return false;
        const QString value = arguments[++index];
        bool ok = true;
        if (name == QLatin1String("--seconds"))
            options.seconds = value.toInt(&ok);
        else if (name == QLatin1String("--seed"))
            options.seed = value.toUInt(&ok);
        else if (name == QLatin1String("--sqlite-clerks"))
            options.sqliteClerks = value.toInt(&ok);
        else if (name == QLatin1String("--postgres-clerks"))
            options.postgresClerks = value.toInt(&ok);
        else if (name == QLatin1String("--backend") && value != QLatin1String("both"))
            options.backends = QStringList{value};
        else if (name != QLatin1String("--backend"))
            return false;
        if (!ok || options.seconds <= 0 || options.sqliteClerks <= 0 || options.postgresClerks <= 0)
            return false;
    }
    for (const QString& backend : std::as_const(options.backends))
        if (backend != QLatin1String(ScratchDatabase::Sqlite) &&
            backend != QLatin1String(ScratchDatabase::Postgres))
            return false;
    return true;
}

// Starts the clerks, lets them go together once all are ready, and collects their results.
void runClerks(const LoadDatabase& database, const Options& options, LoadReport& report)
{
    QTemporaryDir folder;
    std::vector<std::unique_ptr<QProcess>> clerks;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (int index = 0; index < report.clerks; ++index) {
        auto clerk = std::make_unique<QProcess>();
        clerk->setProcessEnvironment(environment);
        clerk->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        clerk->start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--clerk"), database.clerkDatabase(index),
                      LoadDatabase::operatorCode(index),
                      QString::number(options.seed * 1000 + quint32(index)),
                      QString::number(options.seconds),
                      folder.filePath(QStringLiteral("clerk%1.json").arg(index))});
        clerks.push_back(std::move(clerk));
    }
    for (int index = 0; index < report.clerks; ++index) {
        QProcess& clerk = *clerks[size_t(index)];
        while (!clerk.canReadLine() && clerk.waitForReadyRead(60000)) {
        }
        if (clerk.readLine().trimmed() != "ready")
            report.problems << QStringLiteral("clerk %1 did not start").arg(index + 1);
    }
    // Written at once, not when the event loop next runs, so that all clerks start together.
    for (auto& clerk : clerks) {
        clerk->write("go\n");
        clerk->waitForBytesWritten(1000);
    }
    for (int index = 0; index < report.clerks; ++index) {
        QProcess& clerk = *clerks[size_t(index)];
        clerk.waitForFinished((options.seconds + 120) * 1000);
        ClerkResult result;
        if (clerk.exitStatus() != QProcess::NormalExit || clerk.exitCode() != 0 ||
            !result.load(folder.filePath(QStringLiteral("clerk%1.json").arg(index))))
            report.problems
                << QStringLiteral("clerk %1 failed (exit %2)").arg(index + 1).arg(clerk.exitCode());
        else
            report.results << result;
    }
    for (const ClerkResult& result : std::as_const(report.results))
        report.seconds = std::max(report.seconds, result.seconds);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() > 1 && arguments[1] == QLatin1String("--clerk"))
        return runClerk(arguments.mid(2));
    Options options;
    if (!parse(arguments, options)) {
        std::fprintf(stderr, "usage: load_bench [--seconds N] [--seed N] [--sqlite-clerks N]"
                             " [--postgres-clerks N] [--backend sqlite|postgresql|both]\n");
        return 2;
    }
    const QString adminTool =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("nelvo-admin"));
    QList<LoadReport> reports;
    for (const QString& backend : std::as_const(options.backends)) {
        if (const QString reason = ScratchDatabase::unavailableReason(backend); !reason.isEmpty()) {
            std::printf("%s skipped: %s\n", qPrintable(backend), qPrintable(reason));
            continue;
        }
        LoadReport report;
        report.backend = backend;
        report.clerks = backend == QLatin1String(ScratchDatabase::Postgres) ? options.postgresClerks
                                                                            : options.sqliteClerks;
        LoadDatabase database;
        QString error;
        if (!database.create(backend, report.clerks, adminTool, error)) {
            report.problems << QStringLiteral("cannot create the database: ") + error;
        } else {
            runClerks(database, options, report);
            report.brokenInvariants =
                database.brokenInvariants(report.results, report.matchedTrailBatches);
        }
        std::printf("%s\n\n", qPrintable(report.details()));
        std::fflush(stdout);
        reports << report;
    }
    std::printf("%s\n", qPrintable(LoadReport::tableHeader()));
    bool passed = true;
    for (const LoadReport& report : std::as_const(reports)) {
        std::printf("%s\n", qPrintable(report.tableRow()));
        passed = passed && report.passed();
    }
    return passed ? 0 : 1;
}
