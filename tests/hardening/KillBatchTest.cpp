// A process killed in the middle of a large batch leaves all of the batch in the database,
// with its audit entry, or none of it, on SQLite and on PostgreSQL.
#include "BackendRows.h"
#include "DatabaseQuery.h"
#include "ScratchDatabase.h"

#include "platform/ClientDataset.h"
#include "server/DataServer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <QtTest>

namespace {

constexpr int BatchSize = 50000;

QString writerPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/hardening_batch_writer");
}

// The answer of a count query named n; -1 when the count failed.
int countOf(const QString& database, const QString& sql)
{
    platform::ClientDataset dataset;
    if (!queryDatabase(database, sql, dataset).isEmpty())
        return -1;
    return dataset.fieldValue(QStringLiteral("n")).toInt32();
}

// The rows the writer inserts that the database holds.
int batchRows(const QString& database)
{
    return countOf(database,
                   QStringLiteral("select count(*) as n from tbCCQyda where f_ccqybm like 'K%'"));
}

// The audit entries of committed batches of the writer.
int auditedBatches(const QString& database)
{
    return countOf(database, QStringLiteral("select count(*) as n from tbAudit"
                                            " where f_text like 'insert into tbCCQyda%'"));
}

bool removeBatchRows(const QString& database)
{
    QString error;
    auto server = platform::DispatchRef<server::DataServer>::adopt(server::DataServer::open(
        database, {.operatorCode = {}, .sqlTraceFile = {}, .createSchema = true}, &error));
    return server && server->executeScript(QStringLiteral("delete from tbCCQyda"), &error);
}

// Starts the writer and waits until it is about to send the batch.
bool startWriter(QProcess& writer, const QString& database)
{
    writer.start(writerPath(), {database, QString::number(BatchSize)});
    if (!writer.waitForStarted(10000))
        return false;
    while (!writer.canReadLine())
        if (!writer.waitForReadyRead(30000))
            return false;
    return writer.readLine().trimmed() == "batch";
}

} // namespace

class KillBatchTest : public QObject {
    Q_OBJECT
private slots:
    void killedWriterLeavesAllOrNone_data();
    void killedWriterLeavesAllOrNone();
};

void KillBatchTest::killedWriterLeavesAllOrNone_data()
{
    addBackendRows();
}

void KillBatchTest::killedWriterLeavesAllOrNone()
{
    QFETCH(QString, backend);
    if (const QString reason = ScratchDatabase::unavailableReason(backend); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    ScratchDatabase database;
    QString error;
    QVERIFY2(database.create(backend, error), qPrintable(error));

    // One undisturbed run: the whole batch arrives, and it shows how long the batch takes.
    QProcess writer;
    QVERIFY(startWriter(writer, database.database()));
    QElapsedTimer timer;
    timer.start();
    QVERIFY(writer.waitForFinished(120000));
    const qint64 batchMilliseconds = timer.elapsed();
    QCOMPARE(writer.exitCode(), 0);
    QCOMPARE(batchRows(database.database()), BatchSize);
    QCOMPARE(auditedBatches(database.database()), 1);
    QVERIFY(removeBatchRows(database.database()));

    int killedBeforeCommit = 0;
    int committed = 1;
    for (const double fraction : {0.05, 0.3, 0.6, 0.95}) {
        QProcess victim;
        QVERIFY(startWriter(victim, database.database()));
        QThread::msleep(qMax<qint64>(1, qint64(batchMilliseconds * fraction)));
        victim.kill(); // SIGKILL
        QVERIFY(victim.waitForFinished(30000));
        const int rows = batchRows(database.database());
        QVERIFY2(rows == 0 || rows == BatchSize,
                 qPrintable(QStringLiteral("%1 of %2 rows after a kill at %3")
                                .arg(rows)
                                .arg(BatchSize)
                                .arg(fraction)));
        if (rows == 0) {
            ++killedBeforeCommit;
        } else {
            ++committed;
            QVERIFY(removeBatchRows(database.database()));
        }
        // The audit entry is part of the same transaction as the batch.
        QCOMPARE(auditedBatches(database.database()), committed);
    }
    // At least one kill landed inside the batch, so the test saw an interrupted batch.
    QVERIFY(killedBeforeCommit > 0);
}

QTEST_GUILESS_MAIN(KillBatchTest)
#include "KillBatchTest.moc"
