// The entry as a shell calls it: embedding, sizing, the close notification, destruction
// with the parent, the server references, and failures that must not escape.
#include "host/ModuleEntry.h"
#include "HostWindowRecorder.h"
#include "area/TfrmArea.h"
#include "host/HostContext.h"
#include "host/HostDataService.h"
#include "nelvo/NelvoModule.h"
#include "platform/CoorDisp.h"
#include "platform/TextCodec.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScriptedServer.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <memory>

using platform::Variant;
using testsupport::ScriptedAnswer;
using testsupport::ScriptedServer;

namespace {

QByteArray shortString(const QByteArray& bytes)
{
    return char(uint8_t(bytes.size())) + bytes;
}

void flushDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class ModuleEntryTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void operatorCode_data();
    void operatorCode();
    void resizeMessageSizesPanelOnly();
    void panelTakesParentsOuterSize();
    void windowFollowsPanelPastTheScreen();
    void focusGoesToTheTreeOnOpen();
    void closeNotifiesHostWindowOfLatestCall();
    void destroyingParentSendsNothing();
    void unloadGivesBackServerReferences();
    void failedEntryIsShownAndReturns();
    void serverErrorsBox();

private:
    // Opens one window; returns it (nullptr when the entry created none).
    TfrmArea* open(QWidget* parent, QWidget* hostWindow, const QByteArray& operatorBytes = "0001");
    QWidget* newParent(int width = 800, int height = 600);

    ScriptedServer* m_server = nullptr;
    platform::DispatchRef<ScriptedServer> m_serverRef;
    std::unique_ptr<testsupport::MessageBoxRecorder> m_boxes;
    QList<QPointer<QWidget>> m_parents;
};

void ModuleEntryTest::init()
{
    m_boxes = std::make_unique<testsupport::MessageBoxRecorder>();
    m_server = new ScriptedServer;
    m_serverRef = platform::DispatchRef<ScriptedServer>::adopt(m_server);
    m_server->setDefault(platform::CoorDisp::GetDatabaseType, ScriptedAnswer::value("SQLSERVER"));
    // Start-up stops at the first system value: the window is refused, which is all the
    // entry needs.
    m_server->setDefault(platform::CoorDisp::GetServerYearMonth, ScriptedAnswer::value(false));
}

void ModuleEntryTest::cleanup()
{
    for (const QPointer<QWidget>& parent : m_parents)
        delete parent.data();
    m_parents.clear();
    flushDeferredDeletes();
    unloadModule();
    m_serverRef.reset();
    m_boxes.reset();
}

QWidget* ModuleEntryTest::newParent(int width, int height)
{
    auto* parent = new QWidget;
    parent->resize(width, height);
    parent->show();
    m_parents.append(parent);
    return parent;
}

TfrmArea* ModuleEntryTest::open(QWidget* parent, QWidget* hostWindow,
                                const QByteArray& operatorBytes)
{
    const QPointer<QWidget> before = hostContext().AreaForm;
    const QByteArray text = shortString(operatorBytes);
    GetNelvoForm(0x1234, hostWindow, reinterpret_cast<const unsigned char*>(text.constData()),
                 parent, m_server);
    TfrmArea* window = qobject_cast<TfrmArea*>(hostContext().AreaForm.data());
    return window != before.data() ? window : nullptr;
}

void ModuleEntryTest::operatorCode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("code");
    QTest::newRow("length 0") << QByteArray() << QString();
    QTest::newRow("length 255") << QByteArray(255, 'A') << QString(255, u'A');
    QTest::newRow("GB2312 name") << platform::encodeGb18030(QStringLiteral("张三"))
                                 << QStringLiteral("张三");
}

void ModuleEntryTest::operatorCode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, code);
    TfrmArea* window = open(newParent(), nullptr, bytes);
    QVERIFY(window);
    QCOMPARE(hostContext().OperatorCode, code);
    QCOMPARE(window->sysmsgInfo().operatorCode, code);
}

void ModuleEntryTest::resizeMessageSizesPanelOnly()
{
    TfrmArea* window = open(newParent(), nullptr);
    QVERIFY(window);
    const QSize windowSize = window->size();
    const intptr_t result =
        platform::sendMessage(platform::windowHandle(window), platform::WM_USER + 2, 300, 500);
    QCOMPARE(result, intptr_t(0));
    QCOMPARE(window->PanelMain->size(), QSize(500, 300));
    QCOMPARE(window->size(), windowSize);
}

void ModuleEntryTest::panelTakesParentsOuterSize()
{
    auto* parent = new QFrame;
    parent->setFrameStyle(QFrame::Box | QFrame::Plain);
    parent->setLineWidth(4);
    parent->resize(800, 600);
    parent->show();
    m_parents.append(parent);
    TfrmArea* window = open(parent, nullptr);
    QVERIFY(window);
    QCOMPARE(window->parentWidget(), parent);
    QVERIFY(window->isVisible());
    QVERIFY(!window->isWindow());
    QCOMPARE(window->PanelMain->size(), QSize(800, 600));
    QVERIFY(parent->contentsRect().width() < 800);
    QCOMPARE(platform::ModuleApplication::mainWindowHandle(), platform::WindowHandle(0x1234));
}

void ModuleEntryTest::windowFollowsPanelPastTheScreen()
{
    TfrmArea* window = open(newParent(), nullptr);
    QVERIFY(window);
    // A shell wider and taller than the screen the window opened on (a second monitor).
    const QSize screen = window->screen()->availableGeometry().size();
    const QSize panel = screen + QSize(300, 200);
    platform::sendMessage(platform::windowHandle(window), platform::WM_USER + 2, panel.height(),
                          panel.width());
    QCOMPARE(window->PanelMain->size(), panel);
    QVERIFY(window->rect().contains(window->PanelMain->geometry()));
    const QRect storage(window->listccqyda->mapTo(window, QPoint(0, 0)),
                        window->listccqyda->size());
    QVERIFY(window->rect().contains(storage)); // its scroll bar at the right edge included
}

void ModuleEntryTest::focusGoesToTheTreeOnOpen()
{
    QWidget* parent = newParent();
    auto* shellControl = new QLineEdit(parent); // stands for the shell's tab bar
    shellControl->show();
    parent->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(parent));
    shellControl->setFocus();
    QCOMPARE(QApplication::focusWidget(), shellControl);
    TfrmArea* window = open(parent, nullptr);
    QVERIFY(window);
    QCOMPARE(QApplication::focusWidget(), window->TN);
}

void ModuleEntryTest::closeNotifiesHostWindowOfLatestCall()
{
    HostWindowRecorder firstHost, secondHost;
    QPointer<TfrmArea> first = open(newParent(), &firstHost);
    QPointer<TfrmArea> second = open(newParent(), &secondHost);
    QVERIFY(first && second && first != second);

    QVERIFY(first->close());
    QCOMPARE(firstHost.messages.size(), 0);
    QCOMPARE(secondHost.messages.size(), 1);
    QCOMPARE(secondHost.messages[0].message, platform::WM_USER + 4);
    QCOMPARE(secondHost.messages[0].wParam, intptr_t(0));
    QCOMPARE(secondHost.messages[0].lParam, intptr_t(0));
    QVERIFY(first); // freed only after the message being handled
    flushDeferredDeletes();
    QVERIFY(!first);
    QVERIFY(second);
}

void ModuleEntryTest::destroyingParentSendsNothing()
{
    HostWindowRecorder host;
    QWidget* parent = newParent();
    QPointer<TfrmArea> window = open(parent, &host);
    QVERIFY(window);
    delete parent;
    QVERIFY(!window);
    flushDeferredDeletes();
    QCOMPARE(host.messages.size(), 0);
}

void ModuleEntryTest::unloadGivesBackServerReferences()
{
    const uint32_t start = m_server->referenceCount();
    QPointer<TfrmArea> first = open(newParent(), nullptr);
    QPointer<TfrmArea> second = open(newParent(), nullptr);
    QVERIFY(first && second);
    // The module's one reference and one per server context.
    QCOMPARE(m_server->referenceCount(), start + 3);
    first->close();
    second->close();
    flushDeferredDeletes();
    QCOMPARE(m_server->referenceCount(), start + 1);
    unloadModule();
    QCOMPARE(m_server->referenceCount(), start);
    QVERIFY(hostContext().OperatorCode.isEmpty());
}

void ModuleEntryTest::failedEntryIsShownAndReturns()
{
    const uint32_t start = m_server->referenceCount();
    const QByteArray text = shortString("0001");
    GetNelvoForm(1, nullptr, reinterpret_cast<const unsigned char*>(text.constData()), nullptr,
                 m_server);
    QCOMPARE(m_boxes->count(), 1);
    QCOMPARE(m_boxes->last().icon, platform::MessageBoxIcon::Stop);
    QVERIFY(!m_boxes->last().text.isEmpty());
    // Only the module's own reference is kept; the call's reference was given back.
    QCOMPARE(m_server->referenceCount(), start + 1);
}

void ModuleEntryTest::serverErrorsBox()
{
    QWidget owner;
    const platform::WindowHandle handle = platform::windowHandle(&owner);
    ShowServerErrors(handle, Variant::array({Variant("A"), Variant("B")}));
    QCOMPARE(m_boxes->count(), 1);
    const platform::MessageBoxRequest box = m_boxes->last();
    QCOMPARE(box.owner, handle);
    QCOMPARE(box.text, QStringLiteral("A\r\nB"));
    QCOMPARE(box.caption, QStringLiteral("错误"));
    QCOMPARE(box.icon, platform::MessageBoxIcon::Stop);
    QCOMPARE(box.buttons, platform::MessageBoxButtons::Ok);
}

QTEST_MAIN(ModuleEntryTest)
#include "ModuleEntryTest.moc"
