// Two clerks, each with an area window on its own server connection, map the same free
// storage area in the same kind, and add the same area code, at the same moment, many
// times over: one wins, the other is told by the server, and the tables hold one row each.
#include "BackendRows.h"
#include "DatabaseQuery.h"
#include "ScratchDatabase.h"
#include "SessionFixture.h"

#include "platform/ClientDataset.h"
#include "server/DataServer.h"

#include <QProcess>
#include <QtTest>
#include <array>
#include <memory>

namespace {

constexpr int Rounds = 12;
constexpr int PauseMilliseconds = 40;

QString storageLine(int round)
{
    return QStringLiteral("R%1 竞争").arg(round, 2, 10, QLatin1Char('0'));
}

// The lines of one query's answer, each row "a|b|...".
QStringList rowsOf(const QString& database, const QString& sql, const QStringList& columns)
{
    platform::ClientDataset dataset;
    if (const QString failure = queryDatabase(database, sql, dataset); !failure.isEmpty())
        return {failure};
    QStringList rows;
    for (dataset.first(); !dataset.eof(); dataset.next()) {
        QStringList cells;
        for (const QString& column : columns)
            cells << dataset.fieldText(column);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

class Clerk {
public:
    bool start(const QString& database, const QString& areaNode)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QCoreApplication::applicationDirPath() +
                            QStringLiteral("/hardening_race_client"),
                        {database, areaNode, QString::number(PauseMilliseconds)});
        return m_process.waitForStarted(10000) && readLine() == QLatin1String("ready");
    }
    // Written at once, not when the event loop next runs, so both clerks start together.
    void send(const QString& command)
    {
        m_process.write(command.toUtf8() + '\n');
        m_process.waitForBytesWritten(1000);
    }
    QString readLine()
    {
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(30000))
                return QStringLiteral("<no answer>");
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }
    bool finish()
    {
        m_process.closeWriteChannel();
        return m_process.waitForFinished(10000) && m_process.exitCode() == 0;
    }

private:
    QProcess m_process;
};

} // namespace

class ConcurrencyTest : public QObject {
    Q_OBJECT
private slots:
    void sameStorageAreaAndSameCodeAtOnce_data();
    void sameStorageAreaAndSameCodeAtOnce();
};

void ConcurrencyTest::sameStorageAreaAndSameCodeAtOnce_data()
{
    addBackendRows();
}

void ConcurrencyTest::sameStorageAreaAndSameCodeAtOnce()
{
    QFETCH(QString, backend);
    if (const QString reason = ScratchDatabase::unavailableReason(backend); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    ScratchDatabase database;
    QString error;
    QVERIFY2(database.create(backend, error), qPrintable(error));
    QVERIFY2(SessionFixture::createWarehouse(database.database(), error), qPrintable(error));
    QString storage;
    for (int round = 1; round <= Rounds; ++round)
        storage += QStringLiteral("insert into tbCCQyda(f_ccqybm, f_ccqymc) values ('%1', '竞争');")
                       .arg(storageLine(round).section(QLatin1Char(' '), 0, 0));
    {
        auto server = platform::DispatchRef<server::DataServer>::adopt(server::DataServer::open(
            database.database(), {.operatorCode = {}, .sqlTraceFile = {}, .createSchema = true},
            &error));
        QVERIFY2(server && server->executeScript(storage, &error), qPrintable(error));
    }

    // Both clerks work on a PICK area of their own: the same storage area cannot go to both.
    std::array<Clerk, 2> clerks;
    QVERIFY(clerks[0].start(database.database(), QStringLiteral("A01 一号拣货区")));
    QVERIFY(clerks[1].start(database.database(), QStringLiteral("A02 二号拣货区")));

    const auto race = [&clerks](const QString& command) {
        for (Clerk& clerk : clerks)
            clerk.send(command);
        return QStringList{clerks[0].readLine(), clerks[1].readLine()};
    };
    int serverRefusals = 0;
    for (int round = 1; round <= Rounds; ++round) {
        const QStringList answers = race(QStringLiteral("map ") + storageLine(round));
        QCOMPARE(answers.count(QStringLiteral("mapped")), 1);
        const QString loser = answers[answers[0] == QLatin1String("mapped") ? 1 : 0];
        // The loser either saw the mapping in its snapshot, or got the server's error list.
        QVERIFY2(loser == QLatin1String("skipped") ||
                     loser.startsWith(QStringLiteral("error 错误|")),
                 qPrintable(loser));
        serverRefusals += loser.startsWith(QLatin1String("error"));
    }
    for (int round = 1; round <= Rounds; ++round) {
        const QString code = QStringLiteral("D%1").arg(round, 2, 10, QLatin1Char('0'));
        const QStringList answers = race(QStringLiteral("add ") + code);
        QCOMPARE(answers.count(QStringLiteral("added")), 1);
        const QString loser = answers[answers[0] == QLatin1String("added") ? 1 : 0];
        // Refused by the duplicate check, or by the server when both checked first.
        QVERIFY2(loser == QStringLiteral("error 信息|该区域编码已经存在，请重新输入！") ||
                     loser.startsWith(QStringLiteral("error 错误|")),
                 qPrintable(loser));
        serverRefusals += loser.startsWith(QStringLiteral("error 错误|"));
    }
    for (Clerk& clerk : clerks)
        QVERIFY(clerk.finish());
    // The pause after each check makes most rounds true races, decided by the server.
    QVERIFY2(serverRefusals >= Rounds, qPrintable(QString::number(serverRefusals)));

    const QStringList duplicates =
        rowsOf(database.database(),
               QStringLiteral("select f_qylx, f_ccqybm, count(*) as n from tbqydz"
                              " group by f_qylx, f_ccqybm having count(*) > 1"),
               {QStringLiteral("f_qylx"), QStringLiteral("f_ccqybm"), QStringLiteral("n")});
    QCOMPARE(duplicates, QStringList());
    QCOMPARE(rowsOf(database.database(),
                    QStringLiteral("select count(*) as n from tbqydz where f_ccqybm like 'R%'"),
                    {QStringLiteral("n")}),
             QStringList{QString::number(Rounds)});
    QCOMPARE(rowsOf(database.database(),
                    QStringLiteral("select count(*) as n from tbQyda where f_qybm like 'D%'"),
                    {QStringLiteral("n")}),
             QStringList{QString::number(Rounds)});
}

QTEST_GUILESS_MAIN(ConcurrencyTest)
#include "ConcurrencyTest.moc"
