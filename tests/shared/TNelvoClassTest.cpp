#include "shared/TNelvoClass.h"
#include "platform/CoorDisp.h"
#include "platform/MessageBox.h"
#include "platform/Window.h"
#include "shared/TsysmsgInfo.h"
#include "support/MessageBoxRecorder.h"
#include "support/PacketBuilder.h"
#include "support/ScriptedServer.h"

#include <QListView>
#include <QTest>
#include <QWidget>

using platform::Variant;
using testsupport::ScriptedAnswer;
using testsupport::ScriptedServer;
namespace CoorDisp = platform::CoorDisp;

class TestTNelvoClass : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void keepsDatabaseTypeAsReported();
    void failedRequestWarnsOnce_data();
    void failedRequestWarnsOnce();
    void ownerZeroMeansApplicationWindow();
    void referenceReleasedOnceOnDestruction();
    void hiddenListViewSelectsRows();
    void loadsThroughItsServer();

private:
    ScriptedServer* m_server = nullptr;
    platform::DispatchRef<platform::DispatchObject> m_serverRef;
};

void TestTNelvoClass::init()
{
    m_server = new ScriptedServer;
    m_serverRef = platform::DispatchRef<platform::DispatchObject>::adopt(m_server);
    platform::ModuleApplication::setMainWindowHandle(0);
}

void TestTNelvoClass::cleanup()
{
    m_serverRef.reset();
    m_server = nullptr;
    platform::ModuleApplication::setMainWindowHandle(0);
}

void TestTNelvoClass::keepsDatabaseTypeAsReported()
{
    testsupport::MessageBoxRecorder boxes;
    m_server->queue(CoorDisp::GetDatabaseType, ScriptedAnswer::value("db2"));
    TNelvoClass context(m_server, 5);
    QCOMPARE(context.dbType(), QStringLiteral("db2"));
    QCOMPARE(boxes.count(), 0);
    QCOMPARE(m_server->callsOf(CoorDisp::GetDatabaseType).size(), 1);
    QVERIFY(m_server->calls()[0].arguments.isEmpty());
}

void TestTNelvoClass::failedRequestWarnsOnce_data()
{
    QTest::addColumn<int>("failure");
    QTest::newRow("call raises") << 0;
    QTest::newRow("no such member") << 1;
    QTest::newRow("result is no text") << 2;
}

void TestTNelvoClass::failedRequestWarnsOnce()
{
    QFETCH(int, failure);
    if (failure == 0)
        m_server->queue(CoorDisp::GetDatabaseType, ScriptedAnswer::throwing("断开"));
    else if (failure == 2)
        m_server->queue(CoorDisp::GetDatabaseType,
                        ScriptedAnswer::value(Variant::array({Variant("SQLSERVER")})));

    testsupport::MessageBoxRecorder boxes;
    TNelvoClass context(m_server, 42);
    QCOMPARE(context.dbType(), QStringLiteral("SQLSERVER"));
    QCOMPARE(boxes.count(), 1);
    const platform::MessageBoxRequest box = boxes.last();
    QCOMPARE(box.text, QStringLiteral("获取数据库类型失败!"));
    QCOMPARE(box.caption, QStringLiteral("警告"));
    QCOMPARE(box.owner, platform::WindowHandle(42));
    QCOMPARE(box.buttons, platform::MessageBoxButtons::Ok);
    QCOMPARE(box.icon, platform::MessageBoxIcon::Exclamation);
}

void TestTNelvoClass::ownerZeroMeansApplicationWindow()
{
    QWidget application;
    const platform::WindowHandle applicationHandle = platform::windowHandle(&application);
    platform::ModuleApplication::setMainWindowHandle(applicationHandle);
    m_server->queue(CoorDisp::GetDatabaseType, ScriptedAnswer::throwing("断开"));

    testsupport::MessageBoxRecorder boxes;
    TNelvoClass context(m_server, 0);
    QCOMPARE(context.ownerHandle(), applicationHandle);
    QCOMPARE(boxes.last().owner, applicationHandle);
}

void TestTNelvoClass::referenceReleasedOnceOnDestruction()
{
    m_server->setDefault(CoorDisp::GetDatabaseType, ScriptedAnswer::value("SQLSERVER"));
    const uint32_t before = m_server->referenceCount();
    {
        TNelvoClass context(m_server, 1);
        QCOMPARE(m_server->referenceCount(), before + 1);
        TNelvoClass second(m_server, 1);
        QCOMPARE(m_server->referenceCount(), before + 2);
    }
    QCOMPARE(m_server->referenceCount(), before);

    // A context outliving every other holder frees the server with its own release.
    bool destroyed = false;
    m_server->setDestroyedFlag(&destroyed);
    auto context = std::make_unique<TNelvoClass>(m_server, 1);
    m_serverRef.reset();
    QVERIFY(!destroyed);
    context.reset();
    QVERIFY(destroyed);
}

void TestTNelvoClass::hiddenListViewSelectsRows()
{
    m_server->setDefault(CoorDisp::GetDatabaseType, ScriptedAnswer::value("ORACLE"));
    TNelvoClass context(m_server, 1);
    QVERIFY(context.listView());
    QVERIFY(!context.listView()->isVisible());
    QVERIFY(!context.listView()->parentWidget());
    QCOMPARE(context.listView()->selectionBehavior(), QAbstractItemView::SelectRows);
}

void TestTNelvoClass::loadsThroughItsServer()
{
    m_server->setDefault(CoorDisp::GetDatabaseType, ScriptedAnswer::value("DB2"));
    m_server->queue(CoorDisp::GetSystemParameters,
                    ScriptedAnswer::success(testsupport::makePacket(
                        {"f_Csmc", "f_csz"}, {{Variant("dwlx"), Variant("02")}})));
    TNelvoClass context(m_server, 1);
    TsysmsgInfo info;
    QString error;
    QVERIFY(context.GetSysmsgInfo(info, {TsysmsgItem::ypthphkz}, error));
    QCOMPARE(info.dbType, QStringLiteral("DB2"));
    QCOMPARE(context.unitType(), QStringLiteral("02"));
    QCOMPARE(context.dataSet().recordCount(), 1);
}

QTEST_MAIN(TestTNelvoClass)
#include "TNelvoClassTest.moc"
