// Window handles, messages, re-parenting, message boxes, modal dialogs and the error guard.
#include "platform/Window.h"
#include "platform/BusyCursor.h"
#include "platform/Error.h"
#include "platform/Fonts.h"
#include "platform/MessageBox.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalScript.h"

#include <QApplication>
#include <QDialog>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <memory>
#include <stdexcept>

using namespace platform;

namespace {

class ReceiverWidget : public QWidget, public MessageReceiver {
public:
    intptr_t windowMessage(uint32_t message, intptr_t wParam, intptr_t lParam) override
    {
        received.append({message, wParam, lParam});
        return message == WM_USER + 2 ? wParam + lParam : 0;
    }
    struct Message {
        uint32_t message;
        intptr_t wParam;
        intptr_t lParam;
    };
    QList<Message> received;
};

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void handlesAreStableAndForgotten();
    void sendMessageReachesReceiversOnly();
    void setParentWindowReparentsAndShows();
    void recorderRecordsAndAnswers();
    void realMessageBoxIsOwnedAndAnswered_data();
    void realMessageBoxIsOwnedAndAnswered();
    void runGuardedShowsEveryError_data();
    void runGuardedShowsEveryError();
    void modalScriptDrivesDialogs();
    void modalScriptFailsOnUnexpectedDialog();
    void execModalRunsRealLoopWithoutScript();
    void busyCursorNests();
    void fontsAreSubstituted();
};

void WindowTest::init()
{
    ModuleApplication::setMainWindowHandle(0);
    ModuleApplication::setTitle(QStringLiteral("区域档案与对照"));
    setMessageBoxInterceptor({});
    setModalInterceptor({});
}

void WindowTest::handlesAreStableAndForgotten()
{
    auto first = std::make_unique<QWidget>();
    QWidget second;
    const WindowHandle handle = windowHandle(first.get());
    QVERIFY(handle != 0);
    QCOMPARE(windowHandle(first.get()), handle);
    QVERIFY(windowHandle(&second) != handle);
    QCOMPARE(windowFromHandle(handle), first.get());
    QCOMPARE(windowHandle(nullptr), 0u);
    QCOMPARE(windowFromHandle(0), nullptr);
    QCOMPARE(windowFromHandle(handle + 1), nullptr);

    first.reset();
    QCOMPARE(windowFromHandle(handle), nullptr);
    // A widget created afterwards never inherits the old handle.
    QWidget third;
    QVERIFY(windowHandle(&third) != handle);
    QCOMPARE(windowFromHandle(handle), nullptr);
}

void WindowTest::sendMessageReachesReceiversOnly()
{
    auto receiver = std::make_unique<ReceiverWidget>();
    const WindowHandle handle = windowHandle(receiver.get());
    QCOMPARE(sendMessage(handle, WM_USER + 2, 300, 500), intptr_t(800));
    QCOMPARE(sendMessage(handle, WM_USER + 4, 0, 0), intptr_t(0));
    QCOMPARE(receiver->received.size(), 2);
    QCOMPARE(receiver->received[0].message, WM_USER + 2);
    QCOMPARE(receiver->received[0].wParam, intptr_t(300));
    QCOMPARE(receiver->received[0].lParam, intptr_t(500));
    QCOMPARE(receiver->received[1].message, WM_USER + 4);

    QWidget plain;
    QCOMPARE(sendMessage(windowHandle(&plain), WM_USER + 2, 1, 2), intptr_t(0));
    receiver.reset();
    QCOMPARE(sendMessage(handle, WM_USER + 2, 1, 2), intptr_t(0));
}

void WindowTest::setParentWindowReparentsAndShows()
{
    auto parent = std::make_unique<QWidget>();
    parent->resize(800, 600);
    parent->show();
    QPointer<QWidget> child = new QWidget; // top-level until re-parented
    child->show();
    const WindowHandle childHandle = windowHandle(child);
    const WindowHandle parentHandle = windowHandle(parent.get());

    QVERIFY(setParentWindow(childHandle, parentHandle));
    QCOMPARE(child->parentWidget(), parent.get());
    QVERIFY(!child->isWindow());
    QVERIFY(child->isVisible());

    QVERIFY(!setParentWindow(childHandle, 0));
    QVERIFY(!setParentWindow(0, parentHandle));
    QVERIFY(!setParentWindow(parentHandle, childHandle)); // would make a cycle
    QVERIFY(!setParentWindow(childHandle, childHandle));
    QCOMPARE(child->parentWidget(), parent.get());

    parent.reset(); // the parent owns the child now
    QVERIFY(child.isNull());
    QCOMPARE(windowFromHandle(childHandle), nullptr);
}

void WindowTest::recorderRecordsAndAnswers()
{
    QWidget owner;
    const WindowHandle ownerHandle = windowHandle(&owner);
    testsupport::MessageBoxRecorder recorder;
    recorder.queueAnswer(IDNO);
    QCOMPARE(showMessageBox(ownerHandle, "删除吗？", "询问", MessageBoxButtons::YesNo,
                            MessageBoxIcon::Question),
             IDNO);
    QCOMPARE(showMessageBox(0, "第二", "错误", MessageBoxButtons::Ok, MessageBoxIcon::Stop), IDOK);
    QCOMPARE(recorder.count(), 2);
    const MessageBoxRequest first = recorder.requests().first();
    QCOMPARE(first.owner, ownerHandle);
    QCOMPARE(first.text, QStringLiteral("删除吗？"));
    QCOMPARE(first.caption, QStringLiteral("询问"));
    QVERIFY(first.buttons == MessageBoxButtons::YesNo);
    QVERIFY(first.icon == MessageBoxIcon::Question);
    QCOMPARE(recorder.last().owner, 0u);
    QVERIFY(recorder.last().icon == MessageBoxIcon::Stop);
    QCOMPARE(recorder.texts(), (QStringList{"删除吗？", "第二"}));
}

void WindowTest::realMessageBoxIsOwnedAndAnswered_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("click"); // QMessageBox::StandardButton, or 0 to close without one
    QTest::addColumn<bool>("ownerGiven");
    QTest::addColumn<int>("expected");

    QTest::newRow("ok clicked, owner")
        << int(MessageBoxButtons::Ok) << int(QMessageBox::Ok) << true << IDOK;
    QTest::newRow("ok box closed") << int(MessageBoxButtons::Ok) << 0 << false << IDOK;
    QTest::newRow("cancel clicked")
        << int(MessageBoxButtons::OkCancel) << int(QMessageBox::Cancel) << true << IDCANCEL;
    QTest::newRow("ok-cancel closed") << int(MessageBoxButtons::OkCancel) << 0 << true << IDCANCEL;
    QTest::newRow("yes clicked, main window owns")
        << int(MessageBoxButtons::YesNo) << int(QMessageBox::Yes) << false << IDYES;
    QTest::newRow("no clicked") << int(MessageBoxButtons::YesNo) << int(QMessageBox::No) << true
                                << IDNO;
}

void WindowTest::realMessageBoxIsOwnedAndAnswered()
{
    QFETCH(int, buttons);
    QFETCH(int, click);
    QFETCH(bool, ownerGiven);
    QFETCH(int, expected);

    QWidget owner;
    QWidget mainWindow;
    ModuleApplication::setMainWindowHandle(windowHandle(&mainWindow));
    testsupport::ModalScript script;
    QWidget* parentSeen = nullptr;
    QMessageBox::Icon iconSeen = QMessageBox::NoIcon;
    script.queue([&](QDialog& dialog) {
        auto& box = static_cast<QMessageBox&>(dialog);
        parentSeen = box.parentWidget();
        iconSeen = box.icon();
        if (click)
            box.button(QMessageBox::StandardButton(click))->click();
        return 0;
    });
    const int result = showMessageBox(ownerGiven ? windowHandle(&owner) : 0, "text", "标题",
                                      MessageBoxButtons(buttons), MessageBoxIcon::Stop);
    QCOMPARE(result, expected);
    QCOMPARE(script.seen().size(), 1);
    QCOMPARE(script.seen()[0].windowTitle, QStringLiteral("标题"));
    QCOMPARE(parentSeen, ownerGiven ? &owner : &mainWindow);
    QCOMPARE(iconSeen, QMessageBox::Critical);
}

void WindowTest::runGuardedShowsEveryError_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("expected");
    QTest::newRow("platform error") << 0 << "Field 'f_bm' not found";
    QTest::newRow("dispatch error") << 1 << "Unknown name";
    QTest::newRow("std exception") << 2 << "bad thing";
    QTest::newRow("anything else") << 3 << "Unknown error";
}

void WindowTest::runGuardedShowsEveryError()
{
    QFETCH(int, kind);
    QFETCH(QString, expected);

    QWidget owner;
    testsupport::MessageBoxRecorder recorder;
    bool after = false;
    runGuarded(windowHandle(&owner), [&] {
        switch (kind) {
        case 0:
            throw Error("Field 'f_bm' not found");
        case 1:
            throw DispatchError("Unknown name");
        case 2:
            throw std::runtime_error("bad thing");
        default:
            throw 7;
        }
        after = true;
    });
    QVERIFY(!after);
    QCOMPARE(recorder.count(), 1);
    QCOMPARE(recorder.last().text, expected);
    QCOMPARE(recorder.last().caption, QStringLiteral("区域档案与对照"));
    QCOMPARE(recorder.last().owner, windowHandle(&owner));
    QVERIFY(recorder.last().icon == MessageBoxIcon::Stop);
    QVERIFY(recorder.last().buttons == MessageBoxButtons::Ok);

    runGuarded(0, [&] { after = true; });
    QVERIFY(after);
    QCOMPARE(recorder.count(), 1);
}

void WindowTest::modalScriptDrivesDialogs()
{
    testsupport::ModalScript script;
    QDialog outer;
    outer.setObjectName("TfrmQyda");
    outer.setWindowTitle("区域档案");
    QDialog inner;
    inner.setObjectName("TfrmLocate");
    // The outer handler opens the inner dialog, which takes the next handler.
    script.queue([&](QDialog& dialog) {
        auto* label = new QLabel("edited", &dialog);
        label->setObjectName("probe");
        return execModal(inner) == 5 ? 1 : 0;
    });
    script.queueResult(5);
    QCOMPARE(execModal(outer), 1);
    QCOMPARE(script.seenObjectNames(), (QStringList{"TfrmQyda", "TfrmLocate"}));
    QCOMPARE(script.seen()[0].windowTitle, QStringLiteral("区域档案"));
    QVERIFY(outer.findChild<QLabel*>("probe"));
    QCOMPARE(script.pending(), 0);
    QVERIFY(!script.failed());
}

void WindowTest::modalScriptFailsOnUnexpectedDialog()
{
    testsupport::ModalScript script;
    QDialog dialog;
    dialog.setObjectName("Surprise");
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("Unexpected modal dialog 'Surprise'"));
    QEXPECT_FAIL("", "a dialog with no handler queued fails the test", Continue);
    const int result = execModal(dialog);
    QCOMPARE(result, IDCANCEL);
    QVERIFY(script.failed());
    QCOMPARE(script.seenObjectNames(), QStringList{"Surprise"});
}

void WindowTest::execModalRunsRealLoopWithoutScript()
{
    QDialog dialog;
    QTimer::singleShot(0, &dialog, [&] {
        QTRY_VERIFY(QApplication::activeModalWidget() == &dialog);
        dialog.done(4);
    });
    QCOMPARE(execModal(dialog), 4);
}

void WindowTest::busyCursorNests()
{
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    {
        BusyCursor outer;
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            BusyCursor inner;
            QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        QVERIFY(QApplication::overrideCursor() != nullptr);
    }
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void WindowTest::fontsAreSubstituted()
{
    installFontSubstitutions();
    installFontSubstitutions(); // idempotent
    QCOMPARE(QFont::substitutes(QStringLiteral("宋体")), QStringList{"wenquanyi zen hei"});
    const QFont songti = songtiFont();
    QCOMPARE(songti.pixelSize(), 12);
    QCOMPARE(QFontInfo(songti).family(), QStringLiteral("WenQuanYi Zen Hei"));
    const QStringList sans = QFont::substitutes(QStringLiteral("MS Sans Serif"));
    QCOMPARE(sans.size(), 1);
    QVERIFY(QFontDatabase::families().contains(sans.first(), Qt::CaseInsensitive));

    QFont message;
    QVERIFY(systemMessageFont(message));
    QVERIFY(!message.family().isEmpty());
}

QTEST_MAIN(WindowTest)
#include "WindowTest.moc"
