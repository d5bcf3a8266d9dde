// A clerk's own connection can do what the area window does and nothing else: every
// attack is refused with the database's message and leaves the database as it was, and
// what a clerk changes is recorded by the database itself.
#include "BackendRows.h"
#include "ClerkConnection.h"
#include "SessionFixture.h"

#include <QtTest>

namespace {

const char* const Sqlite = ScratchDatabase::Sqlite;
const char* const Postgres = ScratchDatabase::Postgres;

} // namespace

class ClerkRightsTest : public QObject {
    Q_OBJECT
private slots:
    void attackIsRefusedAndChangesNothing_data();
    void attackIsRefusedAndChangesNothing();
    void clerkChangesAreRecordedAndKeptConsistent_data() { addBackendRows(); }
    void clerkChangesAreRecordedAndKeptConsistent();
    void schemaIsNeverMadeOnAClerksConnection_data() { addBackendRows(); }
    void schemaIsNeverMadeOnAClerksConnection();

private:
    bool connect(ClerkConnection& connection, const QString& backend);
};

bool ClerkRightsTest::connect(ClerkConnection& connection, const QString& backend)
{
    if (const QString reason = ScratchDatabase::unavailableReason(backend); !reason.isEmpty()) {
        qWarning("skipped: %s", qPrintable(reason));
        return false;
    }
    QString error;
    const QString script = QString::fromUtf8(WarehouseScript) +
                           QStringLiteral("insert into tbXtcs (f_Csmc, f_csz) values ('x', '1');"
                                          "insert into tbKjqj (f_dqny) values ('202612');");
    if (!connection.create(backend, script, QStringLiteral("0002"), error)) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    return true;
}

void ClerkRightsTest::attackIsRefusedAndChangesNothing_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<bool>("query"); // through QueryData instead of ExecuteBatch
    QTest::addColumn<QString>("attack");
    const QString attachPath = QDir::temp().filePath(QStringLiteral("nelvo-attached.db"));
    const struct {
        const char* name;
        const char* backend; // nullptr: both
        bool query;
        QString sql;
    } attacks[] = {
        {"drop mapping table", nullptr, false, QStringLiteral("DROP TABLE tbqydz")},
        {"delete trail", nullptr, false, QStringLiteral("DELETE FROM tbAudit")},
        {"delete trail rows", nullptr, false, QStringLiteral("DELETE FROM tbAuditRow")},
        {"update trail", nullptr, false, QStringLiteral("UPDATE tbAudit SET f_operator = '9999'")},
        {"insert trail", nullptr, false,
         QStringLiteral("INSERT INTO tbAudit (f_time, f_operator, f_text) "
                        "VALUES ('2020-01-01 00:00:00', '0001', 'forged')")},
        {"alter area table", nullptr, false,
         QStringLiteral("ALTER TABLE tbQyda ADD COLUMN f_extra varchar(10)")},
        {"update parameters", nullptr, false, QStringLiteral("UPDATE tbXtcs SET f_csz = 'x'")},
        {"move period", nullptr, false, QStringLiteral("UPDATE tbKjqj SET f_dqny = '209912'")},
        {"insert storage area", nullptr, false,
         QStringLiteral("INSERT INTO tbCCQyda (f_ccqybm, f_ccqymc) VALUES ('S99', 'x')")},
        {"allowed change, then the trail", nullptr, false,
         QStringLiteral("INSERT INTO tbQyda (f_qybm, f_qymc, f_qylx) VALUES ('Z01', 'z', "
                        "'PICK');\nDELETE FROM tbAudit;")},
        {"write through a query", Sqlite, true, QStringLiteral("DELETE FROM tbqydz")},
        {"create trigger", Sqlite, false,
         QStringLiteral("CREATE TRIGGER t_forge AFTER INSERT ON tbQyda BEGIN DELETE FROM "
                        "tbAudit; END")},
        {"drop trigger", Sqlite, false, QStringLiteral("DROP TRIGGER trail_tbqydz_insert")},
        {"attach", Sqlite, false, QStringLiteral("ATTACH DATABASE '%1' AS other").arg(attachPath)},
        {"attach through a query", Sqlite, true,
         QStringLiteral("ATTACH DATABASE '%1' AS other").arg(attachPath)},
        {"writable schema", Sqlite, false, QStringLiteral("PRAGMA writable_schema=1")},
        {"foreign keys off", Sqlite, true, QStringLiteral("PRAGMA foreign_keys=off")},
        {"create temporary table", Sqlite, false, QStringLiteral("CREATE TEMP TABLE t (a)")},
        {"create trigger", Postgres, false,
         QStringLiteral("CREATE TRIGGER t_forge AFTER INSERT ON tbQyda FOR EACH ROW "
                        "EXECUTE FUNCTION nelvo_trail_row('tbQyda', 'f_qybm')")},
        {"drop trigger", Postgres, false, QStringLiteral("DROP TRIGGER trail_tbqydz ON tbqydz")},
        {"set role", Postgres, false, QStringLiteral("SET ROLE postgres; DELETE FROM tbAudit")},
        {"set session authorization", Postgres, false,
         QStringLiteral("SET SESSION AUTHORIZATION postgres; DELETE FROM tbAudit")},
        {"replace trail function", Postgres, false,
         QStringLiteral("CREATE OR REPLACE FUNCTION nelvo_current_batch() RETURNS bigint "
                        "LANGUAGE sql AS 'select 1::bigint'")},
        {"call trail function", Postgres, false, QStringLiteral("SELECT nelvo_current_batch()")},
    };
    for (const auto& attack : attacks)
        for (const char* backend : {Sqlite, Postgres})
            if (!attack.backend || qstrcmp(attack.backend, backend) == 0)
                QTest::addRow("%s: %s", backend, attack.name)
                    << QString::fromLatin1(backend) << attack.query << attack.sql;
}

void ClerkRightsTest::attackIsRefusedAndChangesNothing()
{
    QFETCH(QString, backend);
    QFETCH(bool, query);
    QFETCH(QString, attack);
    ClerkConnection connection;
    if (!connect(connection, backend))
        QSKIP("no database");
    const QString before = connection.dump();
    const QStringList errors = runAsClient(connection.clerk(), attack, query);
    QVERIFY2(!errors.isEmpty(), "the attack ran");
    QVERIFY2(!errors.first().trimmed().isEmpty(), "no message");
    QCOMPARE(connection.dump(), before);
}

void ClerkRightsTest::clerkChangesAreRecordedAndKeptConsistent()
{
    QFETCH(QString, backend);
    ClerkConnection connection;
    if (!connect(connection, backend))
        QSKIP("no database");
    server::DataServer& clerk = connection.clerk();

    // What the window does works, and the database records each row in one batch, with
    // the clerk's operator; the trigger's own trail writes pass the clerk's rules.
    const QString batch =
        QStringLiteral("Insert into tbqyda(f_qybm,f_qymc,f_qylx) values('A03','三号','PICK');\n"
                       "insert into  tbqydz(f_qylx,f_qybm,f_ccqybm) values('PICK','A03','S03');\n"
                       "update tbqyda set f_qymc ='改名' where f_qybm='A01';");
    QCOMPARE(runAsClient(clerk, batch), QStringList());
    QList<server::TrailBatch> batches;
    QString error;
    server::TrailFilter filter;
    filter.limit = 1;
    QVERIFY2(connection.owner().trail(filter, batches, &error), qPrintable(error));
    QCOMPARE(batches.size(), 1);
    QCOMPARE(batches[0].operatorCode, "0002");
    QCOMPARE(batches[0].text, batch);
    QStringList rows;
    for (const server::TrailRow& row : batches[0].rows)
        rows << row.operation + ' ' + row.table + ' ' + row.key;
    QCOMPARE(rows,
             QStringList({"INSERT tbQyda A03", "INSERT tbqydz PICK/S03", "UPDATE tbQyda A01"}));
    QVERIFY2(batches[0].rows[2].before.contains("一号拣货区"),
             qPrintable(batches[0].rows[2].before));
    QVERIFY2(batches[0].rows[2].after.contains("改名"), qPrintable(batches[0].rows[2].after));

    // The keys: no mapping into a missing area, an area of another kind or a missing storage
    // area; no deleting an area that still has mappings. Each fails its whole batch.
    const QString dump = connection.dump();
    for (const QString& refused :
         {QStringLiteral("insert into tbqydz(f_qylx,f_qybm,f_ccqybm) values('PICK','A09','S04')"),
          QStringLiteral("insert into tbqydz(f_qylx,f_qybm,f_ccqybm) values('PICK','B01','S04')"),
          QStringLiteral("insert into tbqydz(f_qylx,f_qybm,f_ccqybm) values('PICK','A02','S77')"),
          QStringLiteral("delete from tbqyda where f_qybm='A01'")}) {
        QVERIFY2(!runAsClient(clerk, refused).isEmpty(), qPrintable(refused));
        QCOMPARE(connection.dump(), dump);
    }

    // The trail is the administrator's to read on a shared server; the clerk is told so.
    QList<server::TrailBatch> ownBatches;
    QCOMPARE(clerk.trail({}, ownBatches, &error), !connection.isPostgres());
    if (connection.isPostgres())
        QCOMPARE(error, QString::fromUtf8(server::DataServer::TrailNotPermittedMessage));

    // The period is the administrator's on a shared server; the embedded user is both.
    QCOMPARE(clerk.mayCarryForward(), !connection.isPostgres());
    QCOMPARE(clerk.carryForward(&error), !connection.isPostgres());
    if (connection.isPostgres())
        QVERIFY2(error.contains("管理员"), qPrintable(error));
}

void ClerkRightsTest::schemaIsNeverMadeOnAClerksConnection()
{
    QFETCH(QString, backend);
    if (const QString reason = ScratchDatabase::unavailableReason(backend); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    ScratchDatabase database;
    QString error;
    QVERIFY2(database.create(backend, error), qPrintable(error));
    if (backend == QLatin1String(Sqlite)) {
        // No file: nothing is created.
        QVERIFY(!server::DataServer::open(database.database(), {}, &error));
        QVERIFY(!QFileInfo::exists(database.database()));
        // A file without the schema (of another program, or older): refused, unchanged.
        QFile file(database.database());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
    }
    error.clear();
    QVERIFY(!server::DataServer::open(database.database(), {}, &error));
    QCOMPARE(error, QString::fromUtf8(server::DataServer::MissingSchemaMessage));
}

QTEST_GUILESS_MAIN(ClerkRightsTest)
#include "ClerkRightsTest.moc"
