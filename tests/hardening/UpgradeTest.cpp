// A database written by the first schema (no keys, a trail of batch texts only), with an
// orphan mapping, is refused until nelvo-admin init upgrades it, and then keeps every row:
// the old trail as text-only batches, the orphan readable, new rows held to the keys.
#include "AdminTool.h"
#include "BackendRows.h"
#include "ClerkConnection.h"
#include "Console.h"
#include "ScratchDatabase.h"

#include "platform/ClientDataset.h"
#include "platform/CoorDisp.h"

#include <QBuffer>
#include <QFile>
#include <QtTest>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace {

// Rows as the first program wrote them: A09 is gone but still mapped.
const char* const OldRows =
    "insert into tbQyda (f_qybm, f_qymc, f_qylx) values ('A01', '一号', 'PICK'), "
    "('B01', '补货', 'PUT');\n"
    "insert into tbCCQyda (f_ccqybm, f_ccqymc) values ('S01', '存储一'), ('S02', '存储二');\n"
    "insert into tbqydz (f_qylx, f_qybm, f_ccqybm) values ('PICK', 'A01', 'S01'), "
    "('PICK', 'A09', 'S02');\n"
    "insert into tbZyda (f_zybm, f_zymc) values ('0001', '管理员');\n"
    "insert into tbKjqj (f_dqny) values ('202612');\n"
    "insert into tbAudit (f_time, f_operator, f_text) values "
    "('2026-12-01 08:00:00', '0001', 'old batch one'), "
    "('2026-12-02 09:30:00', '0002', 'old batch two');\n";

// Writes the first schema and its rows straight into the database; false with error.
bool writeOldDatabase(const QString& backend, const QString& database, QString& error)
{
    QFile schema(QStringLiteral(NELVO_OLD_SCHEMA_DIR "/%1.sql").arg(backend));
    if (!schema.open(QIODevice::ReadOnly)) {
        error = schema.errorString();
        return false;
    }
    const QByteArray script = schema.readAll() + OldRows;
    if (backend == QLatin1String(ScratchDatabase::Sqlite)) {
        sqlite3* connection = nullptr;
        char* message = nullptr;
        const bool ok =
            sqlite3_open(database.toUtf8().constData(), &connection) == SQLITE_OK &&
            sqlite3_exec(connection, script.constData(), nullptr, nullptr, &message) == SQLITE_OK;
        if (!ok)
            error = QString::fromUtf8(message ? message : sqlite3_errmsg(connection));
        sqlite3_free(message);
        sqlite3_close(connection);
        return ok;
    }
    PGconn* connection = PQconnectdb(database.toUtf8().constData());
    PGresult* result = PQexec(connection, script.constData());
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    if (!ok)
        error = QString::fromUtf8(PQerrorMessage(connection));
    PQclear(result);
    PQfinish(connection);
    return ok;
}

int runAdmin(const QStringList& arguments, QString& output)
{
    QByteArray out;
    QByteArray err;
    QBuffer outBuffer(&out);
    QBuffer errBuffer(&err);
    outBuffer.open(QIODevice::WriteOnly);
    errBuffer.open(QIODevice::WriteOnly);
    admin::Console console(outBuffer, errBuffer);
    const int status = admin::AdminTool(console).run(QStringList{"nelvo-admin"} + arguments);
    output = QString::fromUtf8(out + err);
    return status;
}

// The rows of sql, each "a|b|...", in the order of the query.
QStringList rowsOf(server::DataServer& server, const QString& sql)
{
    platform::Variant data;
    platform::DispatchArguments arguments{platform::DispatchArgument::byValue(sql),
                                          platform::DispatchArgument::byRef(data)};
    if (!server.invoke(platform::CoorDisp::QueryData, arguments).toBool())
        return {QStringLiteral("<query failed> ") + sql};
    platform::ClientDataset dataset;
    dataset.loadPacket(data);
    QStringList rows;
    for (dataset.first(); !dataset.eof(); dataset.next()) {
        QStringList cells;
        for (const QString& column : dataset.table().columns)
            cells << dataset.fieldText(column);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

class UpgradeTest : public QObject {
    Q_OBJECT
private slots:
    void firstSchemaOpensAfterInitWithNothingLost_data() { addBackendRows(); }
    void firstSchemaOpensAfterInitWithNothingLost();
};

void UpgradeTest::firstSchemaOpensAfterInitWithNothingLost()
{
    QFETCH(QString, backend);
    if (const QString reason = ScratchDatabase::unavailableReason(backend); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    ScratchDatabase database;
    QString error;
    QVERIFY2(database.create(backend, error), qPrintable(error));
    QVERIFY2(writeOldDatabase(backend, database.database(), error), qPrintable(error));

    // Before init: refused, in the clerk's language.
    QVERIFY(!server::DataServer::open(database.database(), {}, &error));
    QCOMPARE(error, QString::fromUtf8(server::DataServer::MissingSchemaMessage));

    QString output;
    QCOMPARE(runAdmin({"--database", database.database(), "init"}, output), 0);
    QVERIFY2(output.contains(QLatin1String("PICK/A09/S02")), qPrintable(output));

    server::DataServerOptions options;
    options.operatorCode = QStringLiteral("0001");
    auto server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(database.database(), options, &error));
    QVERIFY2(server, qPrintable(error));
    QCOMPARE(rowsOf(*server.get(), "select f_qybm, f_qymc, f_qylx from tbQyda order by 1"),
             QStringList({"A01|一号|PICK", "B01|补货|PUT"}));
    QCOMPARE(rowsOf(*server.get(), "select f_ccqybm, f_ccqymc from tbCCQyda order by 1"),
             QStringList({"S01|存储一", "S02|存储二"}));
    QCOMPARE(rowsOf(*server.get(), "select f_qylx, f_qybm, f_ccqybm from tbqydz order by 3"),
             QStringList({"PICK|A01|S01", "PICK|A09|S02"}));
    QCOMPARE(rowsOf(*server.get(), "select f_zybm, f_zymc from tbZyda"),
             QStringList({"0001|管理员"}));
    QCOMPARE(rowsOf(*server.get(), "select f_dqny from tbKjqj"), QStringList({"202612"}));

    QList<server::TrailBatch> batches;
    QVERIFY2(server->trail({}, batches, &error), qPrintable(error));
    QStringList old;
    for (const server::TrailBatch& batch : std::as_const(batches))
        if (batch.text.startsWith(QLatin1String("old batch")))
            old << batch.time + ' ' + batch.operatorCode + ' ' + batch.text + ' ' +
                       QString::number(batch.rows.size());
    QCOMPARE(old, QStringList({"2026-12-02 09:30:00 0002 old batch two 0",
                               "2026-12-01 08:00:00 0001 old batch one 0"}));

    // New rows are held to the keys, and recorded row by row.
    QVERIFY(!runAsClient(*server.get(), "insert into tbqydz(f_qylx,f_qybm,f_ccqybm) "
                                        "values('PUT','A09','S02')")
                 .isEmpty());
    QVERIFY(!runAsClient(*server.get(), "delete from tbQyda where f_qybm = 'A01'").isEmpty());
    const QString mapping =
        QStringLiteral("insert into tbqydz(f_qylx,f_qybm,f_ccqybm) values('PUT','B01','S02')");
    QCOMPARE(runAsClient(*server.get(), mapping), QStringList());
    server::TrailFilter newest;
    newest.limit = 1;
    QList<server::TrailBatch> latest;
    QVERIFY2(server->trail(newest, latest, &error), qPrintable(error));
    QCOMPARE(latest.size(), 1);
    QCOMPARE(latest[0].text, mapping);
    QCOMPARE(latest[0].rows.size(), 1);
}

QTEST_GUILESS_MAIN(UpgradeTest)
#include "UpgradeTest.moc"
