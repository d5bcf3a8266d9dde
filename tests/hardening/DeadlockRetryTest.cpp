// Two sessions that each lock a row the other wants next deadlock; PostgreSQL undoes one
// transaction whole. When that is a clerk's batch, the data server runs it again instead of
// showing the clerk "deadlock detected" (PostgreSQL only: NELVO_TEST_PG_URI).
#include "ClerkConnection.h"
#include "ScratchDatabase.h"
#include "SessionFixture.h"

#include <QtTest>
#include <future>
#include <libpq-fe.h>
#include <thread>

namespace {

// Runs one statement; false with the server's message in error.
bool execute(PGconn* connection, const char* sql, QString& error)
{
    PGresult* result = PQexec(connection, sql);
    const bool ok =
        PQresultStatus(result) == PGRES_COMMAND_OK || PQresultStatus(result) == PGRES_TUPLES_OK;
    if (!ok)
        error = QString::fromUtf8(PQresultErrorMessage(result));
    PQclear(result);
    return ok;
}

// Whether some session of the server waits for a lock.
bool someoneWaits(PGconn* connection)
{
    PGresult* result = PQexec(connection, "select 1 from pg_locks where not granted");
    const bool waits = PQresultStatus(result) == PGRES_TUPLES_OK && PQntuples(result) > 0;
    PQclear(result);
    return waits;
}

// The other session: locks A01, waits until the batch waits for it, then takes A02 (which
// the batch holds) and commits once it has it. Its failure, empty when it committed.
QString lockA01ThenA02(const QString& database, std::promise<void>& locked)
{
    PGconn* connection = PQconnectdb(database.toUtf8().constData());
    QString error;
    bool ok = PQstatus(connection) == CONNECTION_OK;
    // It waits second, so the batch's deadlock check runs first; a long timeout of its own
    // makes sure it is never the one undone.
    ok = ok && execute(connection, "set deadlock_timeout = '60s'", error) &&
         execute(connection, "begin", error) &&
         execute(connection, "update tbqyda set f_qymc = '甲' where f_qybm = 'A01'", error);
    locked.set_value();
    if (ok) {
        for (int i = 0; i < 1000 && !someoneWaits(connection); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ok = execute(connection, "update tbqyda set f_qymc = '甲' where f_qybm = 'A02'", error) &&
             execute(connection, "commit", error);
    }
    if (!ok && error.isEmpty())
        error = QString::fromUtf8(PQerrorMessage(connection));
    PQfinish(connection);
    return error;
}

} // namespace

class DeadlockRetryTest : public QObject {
    Q_OBJECT
private slots:
    void batchUndoneByADeadlockRunsAgain();
};

void DeadlockRetryTest::batchUndoneByADeadlockRunsAgain()
{
    if (const QString reason = ScratchDatabase::unavailableReason(ScratchDatabase::Postgres);
        !reason.isEmpty())
        QSKIP(qPrintable(reason));
    ClerkConnection connection;
    QString error;
    QVERIFY2(connection.create(ScratchDatabase::Postgres, QString::fromUtf8(WarehouseScript),
                               QStringLiteral("0002"), error),
             qPrintable(error));

    std::promise<void> locked;
    std::future<QString> other =
        std::async(std::launch::async, lockA01ThenA02, connection.database(), std::ref(locked));
    locked.get_future().wait();
    // The batch takes A02, then waits for A01: a deadlock with the other session.
    const QString batch = QStringLiteral("update tbqyda set f_qymc = '乙' where f_qybm = 'A02';\n"
                                         "update tbqyda set f_qymc = '乙' where f_qybm = 'A01';");
    const QStringList errors = runAsClient(connection.clerk(), batch);
    QCOMPARE(other.get(), QString());
    QCOMPARE(errors, QStringList());

    // It ran after the other session: its names stand, and the trail holds it once.
    QList<server::TrailBatch> batches;
    server::TrailFilter filter;
    filter.limit = 2;
    QVERIFY2(connection.owner().trail(filter, batches, &error), qPrintable(error));
    QCOMPARE(batches.size(), 2);
    QCOMPARE(batches[0].text, batch);
    QCOMPARE(batches[0].rows.size(), 2);
    QVERIFY2(batches[0].rows[1].after.contains(QStringLiteral("乙")),
             qPrintable(batches[0].rows[1].after));
    QVERIFY2(batches[1].rows.size() == 2 && batches[1].rows[0].after.contains(QStringLiteral("甲")),
             "the other session's batch");
}

QTEST_GUILESS_MAIN(DeadlockRetryTest)
#include "DeadlockRetryTest.moc"
