// A clerk's ">>" on an area with many mappings, pressed in the real window on the clerk's
// own connection, is put back by a restore of its batch: the mapping table as it was, once
// only, and never over a storage area another clerk has mapped elsewhere since.
#include "AdminTool.h"
#include "AreaSession.h"
#include "BackendRows.h"
#include "ClerkConnection.h"
#include "Console.h"
#include "SessionFixture.h"

#include "area/TfrmArea.h"
#include "platform/ClientDataset.h"
#include "server/DemoData.h"

#include <QBuffer>
#include <QtTest>

namespace {

constexpr int MappingCount = 2000;

// The storage areas T0001... mapped to A01, besides the warehouse's own.
QString manyMappingsScript()
{
    QStringList storage;
    QStringList mappings;
    for (int i = 1; i <= MappingCount; ++i) {
        const QString code = QStringLiteral("T%1").arg(i, 4, 10, QLatin1Char('0'));
        storage << QStringLiteral("('%1', '货位%1')").arg(code);
        mappings << QStringLiteral("('PICK', 'A01', '%1')").arg(code);
    }
    return QStringLiteral("insert into tbCCQyda(f_ccqybm, f_ccqymc) values %1;"
                          "insert into tbqydz(f_qylx, f_qybm, f_ccqybm) values %2;")
        .arg(storage.join(QLatin1Char(',')), mappings.join(QLatin1Char(',')));
}

// The newest batch of the trail; 0 when it cannot be read.
qint64 newestBatch(server::DataServer& server, QString& operatorCode)
{
    server::TrailFilter filter;
    filter.limit = 1;
    QList<server::TrailBatch> batches;
    if (!server.trail(filter, batches) || batches.isEmpty())
        return 0;
    operatorCode = batches.first().operatorCode;
    return batches.first().id;
}

// Presses ">>" on A01 in the window (selecting another area first, so its lists are read
// again) and answers the batch it wrote.
qint64 unmapAllOfA01(SessionFixture& session, server::DataServer& owner)
{
    TfrmArea* window = session.window();
    if (!select(window, QStringLiteral("A02 二号拣货区")) ||
        !select(window, QStringLiteral("A01 一号拣货区")))
        return 0;
    window->tbnAllToRight->click();
    QString operatorCode;
    const qint64 batch = newestBatch(owner, operatorCode);
    return operatorCode == QLatin1String("0002") ? batch : 0;
}

// nelvo-admin as its main() runs it; the exit status, with its messages in output.
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

} // namespace

class RestoreTest : public QObject {
    Q_OBJECT
private slots:
    void unmapAllIsRestoredOnceAndNeverOverAnotherClerk_data() { addBackendRows(); }
    void unmapAllIsRestoredOnceAndNeverOverAnotherClerk();
};

void RestoreTest::unmapAllIsRestoredOnceAndNeverOverAnotherClerk()
{
    QFETCH(QString, backend);
    if (const QString reason = ScratchDatabase::unavailableReason(backend); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    ClerkConnection connection;
    QString error;
    QVERIFY2(connection.create(backend, QString::fromUtf8(WarehouseScript), QStringLiteral("0002"),
                               error),
             qPrintable(error));
    server::DataServer& owner = connection.owner();
    QVERIFY2(
        owner.loadDemoData(&error) &&
            owner.executeScript(QString::fromUtf8(WarehouseScript) + manyMappingsScript(), &error),
        qPrintable(error));

    SessionFixture session;
    server::DataServerOptions options;
    options.operatorCode = QStringLiteral("0002");
    options.createSchema = !connection.isPostgres();
    QVERIFY2(session.attach(connection.clerkDatabase(), options, error), qPrintable(error));
    session.startWindow();
    const TableDump before = session.dump();
    QCOMPARE(before.mappings.size(), MappingCount + 2);

    // ">>" and a restore by the administrator: the table as it was, recorded as a batch.
    const qint64 pressed = unmapAllOfA01(session, owner);
    QVERIFY(pressed > 0);
    QCOMPARE(session.dump().mappings.size(), 1);
    QString output;
    QCOMPARE(runAdmin({"--database", connection.database(), "--operator",
                       QString::fromUtf8(server::DemoData::OperatorCode), "restore",
                       QString::number(pressed)},
                      output),
             0);
    QCOMPARE(session.dump(), before);

    // Its rows changed since (by the restore itself): a second restore is refused.
    server::RestoreOutcome outcome;
    QVERIFY(!owner.restoreBatch(pressed, false, false, outcome, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(outcome.conflicts.size(), MappingCount + 1);
    QCOMPARE(session.dump(), before);

    // ">>" again; another clerk maps one of those storage areas to A02 (the same kind): the
    // restore would map it twice, and is refused naming it.
    const qint64 again = unmapAllOfA01(session, owner);
    QVERIFY(again > pressed);
    auto otherClerk = connection.connectClerk(QStringLiteral("0003"), error);
    QVERIFY2(otherClerk, qPrintable(error));
    QCOMPARE(
        runAsClient(*otherClerk.get(), QStringLiteral("insert into tbqydz(f_qylx,f_qybm,f_ccqybm) "
                                                      "values('PICK','A02','T1234')")),
        QStringList());
    const TableDump afterOther = session.dump();
    outcome = {};
    QVERIFY(!owner.restoreBatch(again, false, false, outcome, &error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(outcome.conflicts.size(), 1);
    QVERIFY2(outcome.conflicts.first().contains(QLatin1String("T1234")),
             qPrintable(outcome.conflicts.first()));
    QCOMPARE(session.dump(), afterOther);
    QCOMPARE(runAdmin({"--database", connection.database(), "--operator",
                       QString::fromUtf8(server::DemoData::OperatorCode), "restore",
                       QString::number(again)},
                      output),
             1);
    QVERIFY2(output.contains(QLatin1String("T1234")), qPrintable(output));
    QCOMPARE(session.dump(), afterOther);
}

QTEST_MAIN(RestoreTest)
#include "RestoreTest.moc"
