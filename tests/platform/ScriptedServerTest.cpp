// The scripted fake server that other suites use for server failures.
#include "support/ScriptedServer.h"
#include "platform/ClientDataset.h"
#include "platform/CoorDisp.h"
#include "platform/Error.h"
#include "support/PacketBuilder.h"

#include <QTest>

using platform::DispatchArgument;
using platform::Variant;
using testsupport::ScriptedAnswer;
using testsupport::ScriptedServer;
namespace CoorDisp = platform::CoorDisp;

class ScriptedServerTest : public QObject {
    Q_OBJECT

private slots:
    void answersInOrderThenDefault();
    void unknownAndThrowingCallsRaiseDispatchError();
    void lastReleaseDestroys();
};

void ScriptedServerTest::answersInOrderThenDefault()
{
    auto server = platform::DispatchRef<ScriptedServer>::adopt(new ScriptedServer);
    server->queue(
        CoorDisp::QueryData,
        ScriptedAnswer::success(testsupport::PacketBuilder({"f_bm"}).row({"01"}).packet()));
    server->queue(CoorDisp::QueryData, ScriptedAnswer::failure({"A", "B"}));
    server->setDefault(CoorDisp::GetDatabaseType, ScriptedAnswer::value("ORACLE"));
    QCOMPARE(server->pending(CoorDisp::QueryData), 2);

    Variant data;
    QVERIFY(server
                ->invoke(CoorDisp::QueryData,
                         {DispatchArgument::byValue("select 1"), DispatchArgument::byRef(data)})
                .toBool());
    platform::ClientDataset dataset;
    dataset.loadPacket(data);
    QCOMPARE(dataset.fieldText("F_BM"), QStringLiteral("01"));

    QVERIFY(!server
                 ->invoke(CoorDisp::QueryData,
                          {DispatchArgument::byValue("select 2"), DispatchArgument::byRef(data)})
                 .toBool());
    QVERIFY(data == Variant::array({Variant("A"), Variant("B")}));

    QCOMPARE(server->invoke(CoorDisp::GetDatabaseType, {}).toText(), QStringLiteral("ORACLE"));
    QCOMPARE(server->invoke(CoorDisp::GetDatabaseType, {}).toText(), QStringLiteral("ORACLE"));

    // Calls are recorded with their arguments as passed in.
    const QList<ScriptedServer::Call> queries = server->callsOf(CoorDisp::QueryData);
    QCOMPARE(queries.size(), 2);
    QCOMPARE(queries[1].arguments[0].toText(), QStringLiteral("select 2"));
    QVERIFY(queries[1].arguments[1].isBytes()); // the packet of the first call was passed back in
    QCOMPARE(queries[1].byRef, (QList<bool>{false, true}));
    QCOMPARE(server->calls().size(), 4);
}

void ScriptedServerTest::unknownAndThrowingCallsRaiseDispatchError()
{
    auto server = platform::DispatchRef<ScriptedServer>::adopt(new ScriptedServer);
    server->queue(CoorDisp::ExecuteBatch, ScriptedAnswer::throwing("connection lost"));
    Variant batch("delete from tbqydz;");
    QVERIFY_THROWS_EXCEPTION(platform::DispatchError, server->invoke(CoorDisp::GetServerDate, {}));
    try {
        server->invoke(CoorDisp::ExecuteBatch, {DispatchArgument::byRef(batch)});
        QFAIL("no error raised");
    } catch (const platform::DispatchError& error) {
        QCOMPARE(error.message(), QStringLiteral("connection lost"));
    }
    QCOMPARE(batch.toText(), QStringLiteral("delete from tbqydz;"));
    QCOMPARE(server->calls().size(), 2);
}

void ScriptedServerTest::lastReleaseDestroys()
{
    bool destroyed = false;
    auto* server = new ScriptedServer;
    server->setDestroyedFlag(&destroyed);
    server->addRef();
    QCOMPARE(server->release(), 1u);
    QVERIFY(!destroyed);
    QCOMPARE(server->release(), 0u);
    QVERIFY(destroyed);
}

QTEST_APPLESS_MAIN(ScriptedServerTest)
#include "ScriptedServerTest.moc"
