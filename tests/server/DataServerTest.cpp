#include "ServerFixture.h"
#include "platform/CoorDisp.h"
#include "platform/DataPacket.h"
#include "platform/Error.h"
#include "server/DemoData.h"
#include "server/SqlLiteral.h"

#include <QFile>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <sqlite3.h>
#include <thread>

using platform::DispatchArgument;
using platform::DispatchArguments;
using platform::Variant;
using server::sqlLiteral;
namespace Ids = platform::CoorDisp;

// Every test runs once per backend (the global data rows), each on a fresh database.
class DataServerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase_data();
    void init();
    void cleanup();

    void queryReturnsTypedRowsAndNulls();
    void queryReportsTheDatabaseMessage();
    void queryOfSeveralStatementsAnswersTheLast();
    void namesResolveIgnoringCase();
    void quotesNullsAndLongChineseTextRoundTrip();
    void batchIsAtomic();
    void longFailingStatementIsShortenedInThePayload();
    void batchWithoutStatementsChangesNothing_data();
    void batchWithoutStatementsChangesNothing();
    void batchMayNotEndItsTransaction();
    void uniqueConstraints_data();
    void uniqueConstraints();
    void serverDatesFollowTheClock();
    void yearMonthIsTheOpenPeriod();
    void carryForwardOpensTheCurrentMonth();
    void employeeNameIsLookedUpWithABoundCode();
    void employeeNameOfAnotherKindFails();
    void systemParametersKeepInsertionOrder();
    void databaseType();
    void wrongArgumentsRaiseDispatchError_data();
    void wrongArgumentsRaiseDispatchError();
    void demoDataIsAWholeWarehouse();
    void traceRecordsEveryTextSent();
    void openFailureNamesTheCause();
    void writerWaitsForAnotherConnectionsLock();
    void emptyStatementsDoNotEndTheBatch();
    void textsWithNulAreRefused();
    void auditRecordsCommittedBatchesWithTheirOperator();
    void auditKeepsTheTextExactly_data();
    void auditKeepsTheTextExactly();
    void auditRowIsPartOfTheBatchTransaction();

private:
    platform::DataTable rows(const QString& sql);
    int count(const QString& table)
    {
        return int(rows("select count(*) from " + table).rows[0][0].toInt32());
    }
    void batch(const QString& sql);

    std::unique_ptr<ServerFixture> m_fixture;
    server::DataServer* m_server = nullptr;
    QString m_backend;
};

void DataServerTest::initTestCase_data()
{
    QTest::addColumn<QString>("backend");
    QTest::newRow("sqlite") << QString(ServerFixture::Sqlite);
    QTest::newRow("postgresql") << QString(ServerFixture::Postgres);
}

void DataServerTest::init()
{
    QFETCH_GLOBAL(QString, backend);
    const QString reason = ServerFixture::unavailableReason(backend);
    if (!reason.isEmpty())
        QSKIP(qPrintable(reason));
    m_backend = backend;
    m_fixture = std::make_unique<ServerFixture>();
    QString error;
    // The server's own behaviour, with batches that may write every table (the clerk's
    // rules have their own tests).
    server::DataServerOptions options;
    options.ownerBatches = true;
    QVERIFY2(m_fixture->open(backend, options, error), qPrintable(error));
    m_server = m_fixture->server();
}

void DataServerTest::cleanup()
{
    m_server = nullptr;
    m_fixture.reset();
}

platform::DataTable DataServerTest::rows(const QString& sql)
{
    Variant data;
    if (!ServerCall::queryData(m_server, sql, data)) {
        QTest::qFail(qPrintable("query failed: " + sql), __FILE__, __LINE__);
        return {};
    }
    return platform::decodePacket(data.bytes());
}

void DataServerTest::batch(const QString& sql)
{
    Variant payload;
    if (!ServerCall::executeBatch(m_server, sql, &payload))
        QTest::qFail(qPrintable("batch failed: " + payload.elements().value(0).toText()), __FILE__,
                     __LINE__);
}

void DataServerTest::queryReturnsTypedRowsAndNulls()
{
    batch("insert into tbQyda (f_qybm, f_qymc, f_qylx) values ('A02', '二号', 'PICK');"
          "insert into tbQyda (f_qybm, f_qymc, f_qylx) values ('A01', null, 'PUT');");
    const platform::DataTable table = rows("select f_qybm, f_qymc from tbQyda order by f_qybm");
    QCOMPARE(table.columns, QStringList({"f_qybm", "f_qymc"}));
    QCOMPARE(table.rows.size(), 2);
    QCOMPARE(table.rows[0][0], Variant("A01"));
    QVERIFY(table.rows[0][1].isNull());
    QCOMPARE(table.rows[1][1], Variant("二号"));

    const platform::DataTable typed =
        rows("select cast(7 as bigint) as i, cast(2.5 as double precision) as d, 'x' as t");
    QVERIFY(typed.rows[0][0].type() == Variant::Type::Int64 ||
            typed.rows[0][0].type() == Variant::Type::Int32);
    QCOMPARE(typed.rows[0][0].toInt32(), 7);
    QCOMPARE(typed.rows[0][1].type(), Variant::Type::Double);
    QCOMPARE(typed.rows[0][1].toDouble(), 2.5);
    QCOMPARE(typed.rows[0][2], Variant("x"));
}

void DataServerTest::queryReportsTheDatabaseMessage()
{
    Variant data;
    QVERIFY(!ServerCall::queryData(m_server, "select * from tbNoSuchTable", data));
    QVERIFY(data.isArray());
    QVERIFY(!data.elements().isEmpty());
    for (const Variant& element : data.elements())
        QVERIFY(element.isText());
    QVERIFY2(data.elements()[0].toText().contains("nosuchtable", Qt::CaseInsensitive),
             qPrintable(data.elements()[0].toText()));

    QVERIFY(!ServerCall::queryData(m_server, "  ", data));
    QVERIFY(data.isArray());
}

void DataServerTest::queryOfSeveralStatementsAnswersTheLast()
{
    const platform::DataTable table = rows("select 1 as a; select 2 as b");
    QCOMPARE(table.columns, QStringList{"b"});
    QCOMPARE(table.rows[0][0].toInt32(), 2);
}

void DataServerTest::namesResolveIgnoringCase()
{
    batch("insert into TBQYDA (F_QYBM, f_QyMc, f_qylx) values ('A01', '一号', 'PICK');"
          "insert into tbccqyda (f_ccqybm, f_ccqymc) values ('S01', '一排');"
          "insert into tbQydz (F_QYLX, f_qybm, f_ccqybm) values ('PICK', 'A01', 'S01');");
    for (const char* table : {"tbQyda", "tbqyda", "TBQYDA"})
        QCOMPARE(rows(QString("select F_QYMC from %1").arg(table)).rows[0][0], Variant("一号"));
    const platform::DataTable joined =
        rows(" select dz.*,ccqy.f_ccqymc from tbqydz dz left join tbccqyda ccqy on "
             "dz.f_ccqybm=ccqy.f_ccqybm  where f_qylx='PICK' and dz.f_qybm='A01' order by "
             "dz.f_ccqybm ");
    QCOMPARE(joined.rows.size(), 1);
    QVERIFY(joined.columns.contains("f_ccqymc", Qt::CaseInsensitive));
}

void DataServerTest::quotesNullsAndLongChineseTextRoundTrip()
{
    const QString quoted = "O'Brien's \"库\" ''";
    const QString longName = QString("长文本区域名称").repeated(9).left(60);
    QCOMPARE(longName.size(), 60);
    const QString longValue = QString("系统参数的很长的值，").repeated(20);
    QCOMPARE(longValue.size(), 200);
    batch(QString("insert into tbQyda (f_qybm, f_qymc, f_qylx) values ('Q1', %1, 'PICK');"
                  "insert into tbQyda (f_qybm, f_qymc, f_qylx) values ('Q2', %2, null);"
                  "insert into tbXtcs (f_Csmc, f_csz) values ('long', %3);")
              .arg(sqlLiteral(quoted), sqlLiteral(longName), sqlLiteral(longValue)));
    const platform::DataTable table = rows("select f_qymc, f_qylx from tbQyda order by f_qybm");
    QCOMPARE(table.rows[0][0].toText(), quoted);
    QCOMPARE(table.rows[1][0].toText(), longName);
    QVERIFY(table.rows[1][1].isNull());
    QCOMPARE(rows("select f_csz from tbXtcs").rows[0][0].toText(), longValue);

    const QString huge = QString("汉字'").repeated(5000);
    QCOMPARE(rows("select " + sqlLiteral(huge) + " as t").rows[0][0].toText(), huge);

    // A name longer than its column is refused, not cut, on both backends.
    Variant payload;
    QVERIFY(!ServerCall::executeBatch(m_server,
                                      "insert into tbQyda (f_qybm, f_qymc) values ('Q3', " +
                                          sqlLiteral(longName + "超") + ");",
                                      &payload));
}

void DataServerTest::batchIsAtomic()
{
    batch("insert into tbQyda (f_qybm, f_qymc, f_qylx) values ('A01', '一号', 'PICK');");
    Variant payload;
    QVERIFY(!ServerCall::executeBatch(
        m_server,
        "insert into tbQyda (f_qybm, f_qymc, f_qylx) values ('A02', '二号', 'PICK');\n"
        "update tbQyda set f_qymc = '改名' where f_qybm = 'A01';\n"
        "insert into tbQyda (f_qybm, f_qymc, f_qylx) values ('A01', '重复', 'PUT');\n",
        &payload));
    QVERIFY(payload.isArray());
    const QString message = payload.elements().value(0).toText();
    QVERIFY2(message.contains("unique", Qt::CaseInsensitive) ||
                 message.contains("duplicate", Qt::CaseInsensitive),
             qPrintable(message));
    // The failing statement is named after the database's message.
    QVERIFY(payload.elements().size() >= 2);
    QVERIFY(payload.elements().last().toText().contains("'重复'"));

    const platform::DataTable table = rows("select f_qybm, f_qymc from tbQyda");
    QCOMPARE(table.rows.size(), 1);
    QCOMPARE(table.rows[0][1], Variant("一号"));
    // The connection is usable again after the rollback.
    batch("insert into tbQyda (f_qybm, f_qymc, f_qylx) values ('A02', '二号', 'PICK');");
    QCOMPARE(count("tbQyda"), 2);
}

void DataServerTest::longFailingStatementIsShortenedInThePayload()
{
    const QString name(10000, QChar(u'名'));
    Variant payload;
    QVERIFY(!ServerCall::executeBatch(
        m_server,
        "insert into tbQyda (f_qybm, f_qymc, f_qylx) values ('L01', '" + name + "', 'PICK');",
        &payload));
    QVERIFY(payload.isArray());
    QVERIFY(payload.elements().size() >= 2);
    const QString statement = payload.elements().last().toText();
    QVERIFY2(statement.size() < 600, qPrintable(QString::number(statement.size())));
    QVERIFY(statement.startsWith("insert into tbQyda"));
    QVERIFY(statement.endsWith(QStringLiteral("个字符）")));
    QCOMPARE(count("tbQyda"), 0);
}

void DataServerTest::batchWithoutStatementsChangesNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks") << QString(" \r\n\t ");
    QTest::newRow("terminator only") << QString(";");
    QTest::newRow("comment only") << QString("-- nothing to do\n");
}

void DataServerTest::batchWithoutStatementsChangesNothing()
{
    QFETCH(QString, text);
    batch("insert into tbZyda (f_zybm, f_zymc) values ('0001', '张三');");
    Variant value(text);
    DispatchArguments arguments{DispatchArgument::byRef(value)};
    QCOMPARE(m_server->invoke(Ids::ExecuteBatch, arguments), Variant(true));
    QCOMPARE(value, Variant(text));
    QCOMPARE(count("tbZyda"), 1);
    QCOMPARE(count("tbAudit"), 1); // only the insert above is recorded
}

void DataServerTest::batchMayNotEndItsTransaction()
{
    Variant payload;
    QVERIFY(!ServerCall::executeBatch(
        m_server, "insert into tbZyda (f_zybm, f_zymc) values ('0001', '张三'); commit;",
        &payload));
    QVERIFY(payload.isArray());
    if (m_backend == QLatin1String(ServerFixture::Sqlite))
        QCOMPARE(count("tbZyda"), 0); // refused before it ran
    QCOMPARE(count("tbAudit"), 0);
    batch("insert into tbZyda (f_zybm, f_zymc) values ('0002', '李四');");
}

void DataServerTest::uniqueConstraints_data()
{
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("same storage area, same kind, other area")
        << "insert into tbqydz (f_qylx, f_qybm, f_ccqybm) values ('PICK', 'A02', 'S01');" << false;
    QTest::newRow("same storage area, other kind")
        << "insert into tbqydz (f_qylx, f_qybm, f_ccqybm) values ('PUT', 'B01', 'S01');" << true;
    QTest::newRow("other storage area, same kind")
        << "insert into tbqydz (f_qylx, f_qybm, f_ccqybm) values ('PICK', 'A01', 'S02');" << true;
    QTest::newRow("area code of another kind")
        << "insert into tbQyda (f_qybm, f_qymc, f_qylx) values ('A01', '另一个', 'PUT');" << false;
}

void DataServerTest::uniqueConstraints()
{
    QFETCH(QString, statement);
    QFETCH(bool, accepted);
    batch("insert into tbQyda (f_qybm, f_qymc, f_qylx) values ('A01', '一号', 'PICK'),"
          " ('A02', '二号', 'PICK'), ('B01', '补货', 'PUT');"
          "insert into tbCCQyda (f_ccqybm, f_ccqymc) values ('S01', '一'), ('S02', '二');"
          "insert into tbqydz (f_qylx, f_qybm, f_ccqybm) values ('PICK', 'A01', 'S01');");
    Variant payload;
    QCOMPARE(ServerCall::executeBatch(m_server, statement, &payload), accepted);
    QCOMPARE(count("tbQyda") + count("tbqydz"), accepted ? 5 : 4);
}

void DataServerTest::serverDatesFollowTheClock()
{
    m_server->setClock([] { return QDateTime(QDate(2024, 3, 5), QTime(8, 9, 10)); });
    Variant value;
    QCOMPARE(ServerCall::byRefCall(m_server, Ids::GetServerDate, value), Variant(true));
    QCOMPARE(value, Variant("20240305"));
    QCOMPARE(ServerCall::byRefCall(m_server, Ids::GetServerDateTime, value), Variant(true));
    QCOMPARE(value, Variant("2024-03-05 08:09:10"));
}

void DataServerTest::yearMonthIsTheOpenPeriod()
{
    Variant value;
    QCOMPARE(ServerCall::byRefCall(m_server, Ids::GetServerYearMonth, value), Variant(false));
    QVERIFY(value.isArray());
    QVERIFY(value.elements().value(0).isText());

    batch("insert into tbKjqj (f_dqny) values ('202402');");
    QCOMPARE(ServerCall::byRefCall(m_server, Ids::GetServerYearMonth, value), Variant(true));
    QCOMPARE(value, Variant("202402"));
}

void DataServerTest::carryForwardOpensTheCurrentMonth()
{
    m_server->setClock([] { return QDateTime(QDate(2024, 3, 15), QTime(9, 0)); });
    Variant value;
    QVERIFY(m_server->carryForward()); // no period yet: one is opened
    QCOMPARE(ServerCall::byRefCall(m_server, Ids::GetServerYearMonth, value), Variant(true));
    QCOMPARE(value, Variant("202403"));

    m_server->setClock([] { return QDateTime(QDate(2024, 4, 1), QTime(0, 0)); });
    QVERIFY(m_server->carryForward());
    QCOMPARE(ServerCall::byRefCall(m_server, Ids::GetServerYearMonth, value), Variant(true));
    QCOMPARE(value, Variant("202404"));
    QCOMPARE(count("tbKjqj"), 1);
}

void DataServerTest::employeeNameIsLookedUpWithABoundCode()
{
    batch("insert into tbZyda (f_zybm, f_zymc) values ('0001', '张晓明');"
          "insert into tbZyda (f_zybm, f_zymc) values ('x''y', '引号');");
    auto lookUp = [this](const QString& code) {
        Variant value(code);
        DispatchArguments arguments{DispatchArgument::byValue(int32_t(1)),
                                    DispatchArgument::byRef(value)};
        if (m_server->invoke(Ids::GetEmployeeName, arguments) != Variant(true))
            return platform::DataTable{{"failed"}, {}};
        return platform::decodePacket(value.bytes());
    };
    platform::DataTable found = lookUp("0001");
    QCOMPARE(found.columns, QStringList{"f_zymc"});
    QCOMPARE(found.rows.size(), 1);
    QCOMPARE(found.rows[0][0], Variant("张晓明"));
    QCOMPARE(lookUp("x'y").rows.value(0).value(0), Variant("引号"));
    // A code that would change a spliced statement is only a code that matches nobody.
    found = lookUp("' or '1'='1");
    QCOMPARE(found.columns, QStringList{"f_zymc"});
    QCOMPARE(found.rows.size(), 0);
}

void DataServerTest::employeeNameOfAnotherKindFails()
{
    Variant value("0001");
    DispatchArguments arguments{DispatchArgument::byValue(int32_t(2)),
                                DispatchArgument::byRef(value)};
    QCOMPARE(m_server->invoke(Ids::GetEmployeeName, arguments), Variant(false));
    QVERIFY(value.isArray());
}

void DataServerTest::systemParametersKeepInsertionOrder()
{
    batch("insert into tbXtcs (f_Csmc, f_csz) values ('zz', '1');"
          "insert into tbXtcs (f_Csmc, f_csz) values ('DWLX', '00');"
          "insert into tbXtcs (f_Csmc, f_csz) values ('aa', null);"
          "insert into tbXtcs (f_Csmc, f_csz) values ('zz', '2');");
    Variant value;
    QCOMPARE(ServerCall::byRefCall(m_server, Ids::GetSystemParameters, value), Variant(true));
    const platform::DataTable table = platform::decodePacket(value.bytes());
    QCOMPARE(table.columns, QStringList({"f_Csmc", "f_csz"}));
    QCOMPARE(table.rows.size(), 4);
    QCOMPARE(table.rows[0], QList<Variant>({"zz", "1"}));
    QCOMPARE(table.rows[1], QList<Variant>({"DWLX", "00"}));
    QCOMPARE(table.rows[2][0], Variant("aa"));
    QVERIFY(table.rows[2][1].isNull());
    QCOMPARE(table.rows[3], QList<Variant>({"zz", "2"}));
}

void DataServerTest::databaseType()
{
    const QString expected =
        m_backend == QLatin1String(ServerFixture::Sqlite) ? "SQLITE" : "POSTGRESQL";
    QCOMPARE(m_server->invoke(Ids::GetDatabaseType, DispatchArguments{}), Variant(expected));
}

void DataServerTest::wrongArgumentsRaiseDispatchError_data()
{
    using Builder = std::function<DispatchArguments(Variant&)>;
    QTest::addColumn<int>("id");
    QTest::addColumn<Builder>("arguments");
    const Builder none = [](Variant&) { return DispatchArguments{}; };
    const Builder oneByRef = [](Variant& v) {
        return DispatchArguments{DispatchArgument::byRef(v)};
    };
    const Builder oneByValue = [](Variant&) {
        return DispatchArguments{DispatchArgument::byValue(Variant("x"))};
    };
    QTest::newRow("unknown id") << 77 << oneByRef;
    QTest::newRow("QueryData without data") << Ids::QueryData << oneByValue;
    QTest::newRow("QueryData data by value") << Ids::QueryData << Builder([](Variant&) {
        return DispatchArguments{DispatchArgument::byValue(Variant("select 1")),
                                 DispatchArgument::byValue(Variant())};
    });
    QTest::newRow("QueryData sql not text") << Ids::QueryData << Builder([](Variant& v) {
        return DispatchArguments{DispatchArgument::byValue(int32_t(1)), DispatchArgument::byRef(v)};
    });
    QTest::newRow("ExecuteBatch by value") << Ids::ExecuteBatch << oneByValue;
    QTest::newRow("ExecuteBatch not text") << Ids::ExecuteBatch << oneByRef; // v is empty
    QTest::newRow("GetServerYearMonth none") << Ids::GetServerYearMonth << none;
    QTest::newRow("GetServerDate by value") << Ids::GetServerDate << oneByValue;
    QTest::newRow("GetServerDateTime none") << Ids::GetServerDateTime << none;
    QTest::newRow("GetEmployeeName one") << Ids::GetEmployeeName << oneByRef;
    QTest::newRow("GetEmployeeName kind text") << Ids::GetEmployeeName << Builder([](Variant& v) {
        v = Variant("0001");
        return DispatchArguments{DispatchArgument::byValue(Variant("1")),
                                 DispatchArgument::byRef(v)};
    });
    QTest::newRow("GetDatabaseType one") << Ids::GetDatabaseType << oneByRef;
    QTest::newRow("GetSystemParameters by value") << Ids::GetSystemParameters << oneByValue;
}

void DataServerTest::wrongArgumentsRaiseDispatchError()
{
    using Builder = std::function<DispatchArguments(Variant&)>;
    QFETCH(int, id);
    QFETCH(Builder, arguments);
    Variant value;
    DispatchArguments built = arguments(value);
    QVERIFY_THROWS_EXCEPTION(platform::DispatchError, m_server->invoke(id, built));
}

void DataServerTest::demoDataIsAWholeWarehouse()
{
    m_server->setClock([] { return QDateTime(QDate(2025, 7, 9), QTime(10, 0)); });
    for (int round = 0; round < 2; ++round) { // loading again replaces, not adds
        QString error;
        QVERIFY2(m_server->loadDemoData(&error), qPrintable(error));
    }
    const platform::DataTable kinds =
        rows("select f_qylx, count(*) from tbQyda group by f_qylx order by f_qylx");
    QCOMPARE(kinds.rows.size(), 3);
    for (const auto& row : kinds.rows)
        QCOMPARE(row[1].toInt32(), server::DemoData::AreasPerKind);
    QCOMPARE(count("tbCCQyda"), server::DemoData::StorageAreaCount);
    QVERIFY(count("tbqydz") > 0);
    QCOMPARE(rows("select f_ccqymc from tbCCQyda where f_ccqybm = 'S013'").rows[0][0],
             Variant("二号库区一排"));

    Variant value;
    QCOMPARE(ServerCall::byRefCall(m_server, Ids::GetServerYearMonth, value), Variant(true));
    QCOMPARE(value, Variant("202507"));
    QCOMPARE(ServerCall::byRefCall(m_server, Ids::GetSystemParameters, value), Variant(true));
    const platform::DataTable parameters = platform::decodePacket(value.bytes());
    QCOMPARE(parameters.rows.size(), server::DemoData::parameterCount());
    QStringList names;
    for (const auto& row : parameters.rows)
        names << row[0].toText();
    QCOMPARE(names.removeDuplicates(), 0);
    QCOMPARE(names.first(), "dwlx");
    QCOMPARE(parameters.rows.first()[1], Variant("00"));
    for (const char* key : {"qyny", "dybm", "djphmrz", "ypphchsclfs", "zbbm", "ypthphkz", "mdzdyjj",
                            "sljd", "BalanceWorkFlow", "SpecialAuditCyc", "Psdjzycts"})
        QVERIFY2(names.contains(key), key);

    value = Variant(server::DemoData::OperatorCode);
    DispatchArguments arguments{DispatchArgument::byValue(int32_t(1)),
                                DispatchArgument::byRef(value)};
    QCOMPARE(m_server->invoke(Ids::GetEmployeeName, arguments), Variant(true));
    QCOMPARE(platform::decodePacket(value.bytes()).rows.value(0).value(0),
             Variant(server::DemoData::OperatorName));
}

void DataServerTest::traceRecordsEveryTextSent()
{
    QTemporaryDir folder;
    const QString path = folder.filePath("trace.log");
    ServerFixture fixture;
    QString error;
    QFETCH_GLOBAL(QString, backend);
    server::DataServerOptions options{"0001", path};
    options.ownerBatches = true; // the batch below writes the employee table
    QVERIFY2(fixture.open(backend, options, error), qPrintable(error));
    server::DataServer* traced = fixture.server();
    QVERIFY(traced->isTracing());

    const QString batchText = "insert into tbZyda (f_zybm, f_zymc) values ('1', '甲');\n\n"
                              "insert into tbZyda (f_zybm, f_zymc) values ('2', '乙');";
    Variant data;
    QVERIFY(ServerCall::executeBatch(traced, batchText));
    QVERIFY(!ServerCall::queryData(traced, "select nothing from nowhere", data));
    QVERIFY(ServerCall::queryData(traced, "select * from tbZyda ", data));
    QCOMPARE(ServerCall::byRefCall(traced, Ids::GetServerDate, data), Variant(true)); // not traced

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    struct Record {
        QByteArray call, result, text;
    };
    QList<Record> records;
    qsizetype at = 0;
    while (at < content.size()) {
        const qsizetype lineEnd = content.indexOf('\n', at);
        QVERIFY(lineEnd > at);
        const QList<QByteArray> header = content.mid(at, lineEnd - at).split(' ');
        QCOMPARE(header.size(), 5);
        QCOMPARE(header[0], QByteArray(server::SqlTrace::HeaderMark));
        QVERIFY(QDateTime::fromString(QString::fromUtf8(header[1]), Qt::ISODateWithMs).isValid());
        const qsizetype length = header[4].toLongLong();
        records.append({header[2], header[3], content.mid(lineEnd + 1, length)});
        at = lineEnd + 1 + length;
        QCOMPARE(content.mid(at, 2), QByteArray("\n\n"));
        at += 2;
    }
    QCOMPARE(records.size(), 3);
    QCOMPARE(records[0].call, "ExecuteBatch");
    QCOMPARE(records[0].result, "true");
    QCOMPARE(QString::fromUtf8(records[0].text), batchText);
    QCOMPARE(records[1].call, "QueryData");
    QCOMPARE(records[1].result, "false");
    QCOMPARE(records[1].text, "select nothing from nowhere");
    QCOMPARE(records[2].result, "true");
    QCOMPARE(records[2].text, "select * from tbZyda ");
}

void DataServerTest::openFailureNamesTheCause()
{
    QTemporaryDir folder;
    const QString database =
        m_backend == QLatin1String(ServerFixture::Sqlite)
            ? folder.filePath("missing-folder/db.sqlite")
            : QString("postgresql://nobody@127.0.0.1:1/none?connect_timeout=2");
    QString error;
    server::DataServer* opened = server::DataServer::open(
        database, {.operatorCode = {}, .sqlTraceFile = {}, .createSchema = true}, &error);
    QVERIFY(!opened);
    QVERIFY(!error.isEmpty());
}

void DataServerTest::writerWaitsForAnotherConnectionsLock()
{
    if (m_backend != QLatin1String(ServerFixture::Sqlite))
        QSKIP("PostgreSQL waits for row locks without any setting");
    // Another connection (as another process would) holds the write lock for a while.
    QSemaphore locked;
    std::thread other([&] {
        sqlite3* db = nullptr;
        sqlite3_open(m_fixture->database().toUtf8().constData(), &db);
        sqlite3_exec(db, "begin immediate; insert into tbZyda values ('9', '他人')", nullptr,
                     nullptr, nullptr);
        locked.release();
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
    locked.acquire();
    Variant payload;
    const bool ok = ServerCall::executeBatch(
        m_server, "insert into tbZyda (f_zybm, f_zymc) values ('1', '本人');", &payload);
    other.join();
    QVERIFY2(ok, qPrintable(payload.isArray() ? payload.elements().value(0).toText() : ""));
    QCOMPARE(count("tbZyda"), 2);
}

void DataServerTest::emptyStatementsDoNotEndTheBatch()
{
    batch(";\n; insert into tbZyda (f_zybm, f_zymc) values ('1', '甲');;\n"
          "-- between\n; insert into tbZyda (f_zybm, f_zymc) values ('2', '乙');");
    QCOMPARE(count("tbZyda"), 2);
}

void DataServerTest::textsWithNulAreRefused()
{
    // The databases would read only up to the NUL and run the first statement alone.
    QString text = "insert into tbZyda (f_zybm, f_zymc) values ('1', '甲');";
    text += QChar::Null;
    text += "insert into tbZyda (f_zybm, f_zymc) values ('2', '乙');";
    Variant payload;
    QVERIFY(!ServerCall::executeBatch(m_server, text, &payload));
    QVERIFY(payload.isArray());
    QCOMPARE(count("tbZyda"), 0);
    QCOMPARE(count("tbAudit"), 0);
    Variant data;
    QVERIFY(!ServerCall::queryData(m_server, QString("select 1") + QChar::Null + "x", data));
    QVERIFY(data.isArray());
}

void DataServerTest::auditRecordsCommittedBatchesWithTheirOperator()
{
    QString error;
    auto other = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(m_fixture->database(),
                                 {.operatorCode = "0077",
                                  .sqlTraceFile = {},
                                  .createSchema = true,
                                  .readOnly = false,
                                  .ownerBatches = true},
                                 &error));
    QVERIFY2(other, qPrintable(error));
    auto opened = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(m_fixture->database(),
                                 {.operatorCode = "0042",
                                  .sqlTraceFile = {},
                                  .createSchema = true,
                                  .readOnly = false,
                                  .ownerBatches = true},
                                 &error));
    QVERIFY2(opened, qPrintable(error));
    server::DataServer* first = opened.get();

    const QString added = "insert into tbZyda (f_zybm, f_zymc) values ('1', '甲');";
    const QString renamed = "update tbZyda set f_zymc = '乙' where f_zybm = '1';";
    QVERIFY(ServerCall::executeBatch(first, added));
    QVERIFY(!ServerCall::executeBatch(first, added)); // duplicate key: rolled back
    QVERIFY(!ServerCall::executeBatch(first, "insert into tbNoSuchTable values (1);"));
    QVERIFY(ServerCall::executeBatch(first, " \n "));
    QVERIFY(ServerCall::executeBatch(first, "-- only a comment\n"));
    // A fixture script that changes no recorded table leaves no batch; the carry-forward
    // is recorded with its row of the period table.
    QVERIFY(first->executeScript("insert into tbZyda (f_zybm, f_zymc) values ('2', '丙');"));
    QVERIFY(first->carryForward());
    QVERIFY(ServerCall::executeBatch(other.get(), renamed));

    QList<server::TrailBatch> batches;
    QVERIFY2(first->trail({}, batches, &error), qPrintable(error));
    QCOMPARE(batches.size(), 3);
    QCOMPARE(batches[0].text, renamed); // newest first
    QCOMPARE(batches[0].operatorCode, "0077");
    QVERIFY(batches[1].text.startsWith("结转会计期间"));
    QCOMPARE(batches[1].rows.size(), 1);
    QCOMPARE(batches[1].rows[0].table, "tbKjqj");
    QCOMPARE(batches[2].text, added);
    QCOMPARE(batches[2].operatorCode, "0042");
    QVERIFY(batches[0].id > batches[1].id && batches[1].id > batches[2].id);
    // The database's clock, one time per batch.
    const QDateTime recorded =
        QDateTime::fromString(batches[0].time, server::DataServer::AuditTimeFormat);
    QVERIFY2(recorded.isValid(), qPrintable(batches[0].time));
    QVERIFY(qAbs(recorded.secsTo(QDateTime::currentDateTime())) < 600);

    server::TrailFilter filter;
    filter.operatorCode = "0042";
    QVERIFY(first->trail(filter, batches, &error));
    QCOMPARE(batches.size(), 2);
    filter.operatorCode = "0042' or '1'='1";
    QVERIFY(first->trail(filter, batches, &error));
    QCOMPARE(batches.size(), 0);
    filter = {};
    filter.since = recorded.date().addDays(1);
    QVERIFY(first->trail(filter, batches, &error));
    QCOMPARE(batches.size(), 0);
    filter.since = {};
    filter.until = recorded.date().addDays(-1);
    QVERIFY(first->trail(filter, batches, &error));
    QCOMPARE(batches.size(), 0);
    filter.until = recorded.date();
    filter.limit = 2;
    QVERIFY(first->trail(filter, batches, &error));
    QCOMPARE(batches.size(), 2);
}

void DataServerTest::auditKeepsTheTextExactly_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("quotes") << QString("insert into tbZyda (f_zybm, f_zymc) values "
                                       "('O''B', 'it''s \"库\" ''''');");
    QTest::newRow("placeholders and backslashes")
        << QString("insert into tbZyda (f_zybm, f_zymc) values ('$1', '? \\ $2 %1 :a');");
    QTest::newRow("lines, blanks and comments")
        << QString("\r\n  -- 增加 'x\r\ninsert into tbZyda (f_zybm, f_zymc) values ('1', "
                   "'多行\n文本');\t\n\n");
}

void DataServerTest::auditKeepsTheTextExactly()
{
    QFETCH(QString, text);
    batch(text);
    QCOMPARE(count("tbZyda"), 1);
    QList<server::TrailBatch> entries;
    QString error;
    QVERIFY2(m_server->trail({}, entries, &error), qPrintable(error));
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries[0].text, text);
    QCOMPARE(rows("select f_text from tbAudit").rows.value(0).value(0), Variant(text));
}

void DataServerTest::auditRowIsPartOfTheBatchTransaction()
{
    // Without its audit table the server cannot record a batch, so it runs none.
    QString error;
    QVERIFY2(m_server->executeScript("drop table tbAuditRow; drop table tbAudit;", &error),
             qPrintable(error));
    Variant payload;
    QVERIFY(!ServerCall::executeBatch(
        m_server, "insert into tbZyda (f_zybm, f_zymc) values ('1', '甲');", &payload));
    QVERIFY2(payload.elements().value(0).toText().contains("tbaudit", Qt::CaseInsensitive),
             qPrintable(payload.elements().value(0).toText()));
    QCOMPARE(count("tbZyda"), 0);

    // Opening the database again creates the missing table.
    auto reopened = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(m_fixture->database(),
                                 {.operatorCode = "0042",
                                  .sqlTraceFile = {},
                                  .createSchema = true,
                                  .readOnly = false,
                                  .ownerBatches = true},
                                 &error));
    QVERIFY2(reopened, qPrintable(error));
    QVERIFY(ServerCall::executeBatch(reopened.get(),
                                     "insert into tbZyda (f_zybm, f_zymc) values ('1', '甲');"));
    QCOMPARE(count("tbZyda"), 1);
    QCOMPARE(count("tbAudit"), 1);
}

QTEST_GUILESS_MAIN(DataServerTest)
#include "DataServerTest.moc"
