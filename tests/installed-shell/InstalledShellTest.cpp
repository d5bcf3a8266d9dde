// Loads the installed area module the way a shell does, over this shell's own data server,
// on the offscreen platform: the window opens inside the panel with the server's areas and
// storage areas, closing it notifies the shell's window, and unloading the module gives the
// server's references back.
#include "MemoryDataServer.h"

#include <nelvo/NelvoModule.h>
#include <nelvo/platform/TextCodec.h>
#include <nelvo/platform/Window.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <dlfcn.h>

namespace {

// The shell's notification window: records the messages the module sends it by handle.
class NotificationWindow : public QWidget, public platform::MessageReceiver {
public:
    intptr_t windowMessage(uint32_t message, intptr_t, intptr_t) override
    {
        messages.append(message);
        return 0;
    }
    QList<uint32_t> messages;
};

// Closes any modal dialog the module shows (none is expected) and keeps its texts.
class DialogWatch : public QObject {
public:
    DialogWatch()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            QStringList texts;
            for (const QLabel* label : dialog->findChildren<QLabel*>())
                texts.append(label->text());
            shown.append(texts.join(u' '));
            dialog->close();
        });
        m_timer.start(100);
    }
    QStringList shown;

private:
    QTimer m_timer;
};

QByteArray shortString(const QString& text)
{
    const QByteArray bytes = platform::encodeGb18030(text);
    return char(uint8_t(bytes.size())) + bytes;
}

} // namespace

class InstalledShellTest : public QObject {
    Q_OBJECT
private slots:
    void opensAndClosesAreaWindow();
};

void InstalledShellTest::opensAndClosesAreaWindow()
{
    void* library = dlopen(NELVO_AREA_MODULE, RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(library, dlerror());
    const auto entry = reinterpret_cast<GetNelvoFormFunction>(dlsym(library, "GetNelvoForm"));
    QVERIFY(entry);

    QWidget mainWindow;
    mainWindow.resize(1000, 700);
    NotificationWindow* notifications = new NotificationWindow;
    notifications->setParent(&mainWindow);
    QWidget* panel = new QWidget(&mainWindow);
    panel->resize(mainWindow.size());
    mainWindow.show();

    auto* server = new MemoryDataServer; // this shell's reference
    DialogWatch dialogs;
    const QByteArray operatorCode = shortString(QStringLiteral("0001"));
    entry(platform::windowHandle(&mainWindow), notifications,
          reinterpret_cast<const unsigned char*>(operatorCode.constData()), panel, server);
    QVERIFY2(dialogs.shown.isEmpty(), qPrintable(dialogs.shown.join(u'\n')));
    QVERIFY2(server->unanswered.isEmpty(), qPrintable(server->unanswered.join(u'\n')));

    QWidget* window = panel->findChild<QWidget*>(QStringLiteral("frmArea"));
    QVERIFY(window);
    QTRY_VERIFY(window->isVisible());
    const auto* tree = window->findChild<QTreeWidget*>(QStringLiteral("TN"));
    QVERIFY(tree);
    QCOMPARE(tree->topLevelItemCount(), 3); // one root per kind
    int areas = 0;
    for (int kind = 0; kind < tree->topLevelItemCount(); ++kind)
        areas += tree->topLevelItem(kind)->childCount();
    QCOMPARE(areas, MemoryDataServer::AreaCount);
    QVERIFY(tree->topLevelItem(0)->child(0)->text(0).contains(QStringLiteral("A01")));
    const auto* storageAreas = window->findChild<QAbstractItemView*>(QStringLiteral("listccqyda"));
    QVERIFY(storageAreas && storageAreas->model());
    QCOMPARE(storageAreas->model()->rowCount(), MemoryDataServer::StorageAreaCount);
    QVERIFY(server->referenceCount() > 1); // the module holds its own

    QVERIFY(window->close());
    QCOMPARE(notifications->messages, QList<uint32_t>{platform::WM_USER + 4});
    delete panel;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(dialogs.shown.isEmpty());
    QVERIFY(server->unanswered.isEmpty());
    QCOMPARE(dlclose(library), 0);          // no window of the module is left
    QCOMPARE(server->referenceCount(), 1u); // the module gave back every reference it took
    server->release();
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    InstalledShellTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "InstalledShellTest.moc"
