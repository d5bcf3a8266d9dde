#include "ShellWindow.h"
#include "AuditHistoryDialog.h"
#include "HostNotificationWindow.h"
#include "ModuleLibrary.h"
#include "ModulePanel.h"
#include "ShellOptions.h"
#include "platform/CoorDisp.h"
#include "platform/MessageBox.h"
#include "server/DataServer.h"

#include "support/ModalScript.h"
#include "support/ScratchPostgres.h"

#include <QAction>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// The shell against the real module library (built into the test's binary folder) and a
// demo database in a temporary folder.
class ShellWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void opensTwoPanelsResizesOneAndClosesOne();
    void closingATabDestroysItsModuleWindow();
    void operatorShortString_data();
    void operatorShortString();
    void moduleLoadFailureNamesWhatIsMissing();
    void commandLine_data();
    void commandLine();
    void auditHistoryOpensOnceAndReadsAgain();
    void statusBarKeepsDatabaseAndOperatorAfterMenuHints();
    void switchedOperatorTakesOnlyTheNextPanels();
    void carryForward_data();
    void carryForward();
    void carryForwardRefusedOnAClerkLogin();

private:
    static QString libraryFolder()
    {
        return qEnvironmentVariable("NELVO_TEST_BINARY_DIR") + "/lib";
    }
    static QWidget* panelMain(ModulePanel* panel)
    {
        return panel->moduleWindow() ? panel->moduleWindow()->findChild<QWidget*>("PanelMain")
                                     : nullptr;
    }

    QTemporaryDir m_folder;
    std::unique_ptr<ModuleLibrary> m_module;
    platform::DispatchRef<server::DataServer> m_server;
    QStringList m_messageBoxes;
};

void ShellWindowTest::initTestCase()
{
    QString error;
    m_module = ModuleLibrary::load(libraryFolder() + "/libnelvo_area.so", &error);
    QVERIFY2(m_module, qPrintable(error));
    m_server = platform::DispatchRef<server::DataServer>::adopt(server::DataServer::open(
        m_folder.filePath("shell.sqlite"),
        {.operatorCode = "0001", .sqlTraceFile = {}, .createSchema = true}, &error));
    QVERIFY2(m_server, qPrintable(error));
    QVERIFY2(m_server->loadDemoData(&error), qPrintable(error));
}

void ShellWindowTest::cleanupTestCase()
{
    platform::setMessageBoxInterceptor({});
}

void ShellWindowTest::init()
{
    m_messageBoxes.clear();
    platform::setMessageBoxInterceptor([this](const platform::MessageBoxRequest& request) {
        m_messageBoxes << request.text;
        return platform::IDOK;
    });
}

void ShellWindowTest::opensTwoPanelsResizesOneAndClosesOne()
{
    ShellWindow window(m_server.get(), m_module.get(), "0001");
    window.resize(1000, 700);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QPointer<ModulePanel> first = window.openModule();
    QPointer<ModulePanel> second = window.openModule();
    QCOMPARE(window.panelCount(), 2);
    QVERIFY(first->moduleWindow() && second->moduleWindow());
    QVERIFY(first->moduleWindow() != second->moduleWindow());
    QVERIFY(panelMain(first) && panelMain(second));
    QVERIFY2(m_messageBoxes.isEmpty(), qPrintable(m_messageBoxes.join('\n')));

    // PanelMain follows its panel at once; a panel hidden behind another tab passes its
    // new size on when it is shown again.
    second->resize(500, 300);
    QCOMPARE(panelMain(second)->size(), QSize(500, 300));
    QCOMPARE(panelMain(first)->size(), first->size());
    window.resize(900, 640);
    QTRY_COMPARE(panelMain(second)->size(), second->size());
    window.findChild<QTabWidget*>("moduleTabs")->setCurrentWidget(first);
    QTRY_COMPARE(panelMain(first)->size(), first->size());
    QCOMPARE(first->size(), second->size());

    // The module's exit notifies the shell, which removes that panel afterwards, never
    // while the module window is still closing.
    QPointer<QWidget> closing = first->moduleWindow();
    QVERIFY(closing->close());
    QCOMPARE(window.panelCount(), 2);
    QTRY_VERIFY(first.isNull());
    QTRY_VERIFY(closing.isNull());
    QCOMPARE(window.panelCount(), 1);
    QCOMPARE(window.panel(0), second.data());
    QVERIFY(second->moduleWindow());
}

void ShellWindowTest::closingATabDestroysItsModuleWindow()
{
    ShellWindow window(m_server.get(), m_module.get(), "0001");
    window.show();
    ModulePanel* panel = window.openModule();
    QPointer<QWidget> module = panel->moduleWindow();
    QVERIFY(module);
    auto* tabs = window.findChild<QTabWidget*>("moduleTabs");
    QVERIFY(tabs);
    emit tabs->tabCloseRequested(0);
    QCOMPARE(window.panelCount(), 0);
    QTRY_VERIFY(module.isNull());
}

void ShellWindowTest::operatorShortString_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("ascii") << "0001"
                           << QByteArray("\x04"
                                         "0001");
    QTest::newRow("empty") << "" << QByteArray(1, '\0');
    QTest::newRow("chinese") << "张三" << QByteArray("\x04\xd5\xc5\xc8\xfd");
    QTest::newRow("too long") << QString(300, 'x')
                              << (QByteArray(1, char(255)) + QByteArray(255, 'x'));
}

void ShellWindowTest::operatorShortString()
{
    QFETCH(QString, code);
    QFETCH(QByteArray, expected);
    QCOMPARE(ShellWindow::operatorShortString(code), expected);
}

void ShellWindowTest::moduleLoadFailureNamesWhatIsMissing()
{
    QString error;
    const QString missing = m_folder.filePath("no-such-module.so");
    QVERIFY(!ModuleLibrary::load(missing, &error));
    QVERIFY2(error.contains(missing), qPrintable(error));

    // A real library without the entry.
    QVERIFY(!ModuleLibrary::load(libraryFolder() + "/libnelvo_platform_core.so", &error));
    QVERIFY2(error.contains("GetNelvoForm"), qPrintable(error));

    QFile notALibrary(m_folder.filePath("broken.so"));
    QVERIFY(notALibrary.open(QIODevice::WriteOnly));
    notALibrary.write("not an ELF file");
    notALibrary.close();
    QVERIFY(!ModuleLibrary::load(notALibrary.fileName(), &error));
    QVERIFY2(error.contains("broken.so"), qPrintable(error));
}

void ShellWindowTest::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("operatorCode");
    QTest::addColumn<bool>("demo");
    const QString fallback = ShellOptions::defaultDatabasePath();
    QTest::newRow("defaults") << QStringList() << true << fallback << "" << false;
    QTest::newRow("all") << QStringList{"--database", "postgresql://u@h/db",
                                        "--operator", "0042",
                                        "--demo",     "--sql-trace",
                                        "t.log",      "--module",
                                        "m.so"}
                         << true << "postgresql://u@h/db"
                         << "0042" << true;
    QTest::newRow("unknown option") << QStringList{"--nonsense"} << false << ""
                                    << "" << false;
    QTest::newRow("missing value") << QStringList{"--database"} << false << ""
                                   << "" << false;
    QTest::newRow("empty database") << QStringList{"--database", ""} << false << ""
                                    << "" << false;
}

void ShellWindowTest::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, ok);
    ShellOptions options;
    QString error;
    QCOMPARE(ShellOptions::parse(QStringList{"nelvo-shell"} + arguments, options, error), ok);
    if (!ok) {
        QVERIFY(!error.isEmpty());
        return;
    }
    QFETCH(QString, database);
    QFETCH(QString, operatorCode);
    QFETCH(bool, demo);
    QCOMPARE(options.database, database);
    QCOMPARE(options.defaultDatabase, arguments.isEmpty());
    QCOMPARE(options.operatorCode, operatorCode);
    QCOMPARE(options.demo, demo);
}

void ShellWindowTest::auditHistoryOpensOnceAndReadsAgain()
{
    ShellWindow window(m_server.get(), m_module.get(), "0001");
    auto* action = window.findChild<QAction*>("actionAuditHistory");
    QVERIFY(action);
    action->trigger();
    auto* dialog = window.findChild<AuditHistoryDialog*>("auditHistoryDialog");
    QVERIFY(dialog && dialog->isVisible());
    const int before = dialog->findChild<QTableView*>("auditHistory")->model()->rowCount();

    // Opening it again reads what was committed meanwhile, in the same window.
    platform::Variant value(QString("update tbQyda set f_qymc = f_qymc;"));
    platform::DispatchArguments arguments{platform::DispatchArgument::byRef(value)};
    QVERIFY(m_server->invoke(platform::CoorDisp::ExecuteBatch, arguments).toBool());
    action->trigger();
    QCOMPARE(window.findChildren<AuditHistoryDialog*>().size(), 1);
    QCOMPARE(dialog->findChild<QTableView*>("auditHistory")->model()->rowCount(), before + 1);
    QVERIFY2(m_messageBoxes.isEmpty(), qPrintable(m_messageBoxes.join('\n')));
}

void ShellWindowTest::statusBarKeepsDatabaseAndOperatorAfterMenuHints()
{
    ShellWindow window(m_server.get(), m_module.get(), "0001");
    window.setConnection({m_folder.filePath("shell.sqlite"), {}, false}, {});
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // What the clerk reads there: a temporary message when one shows, else the widgets.
    const auto shownStatus = [&window] {
        if (!window.statusBar()->currentMessage().isEmpty())
            return window.statusBar()->currentMessage();
        QStringList texts;
        for (QLabel* label : window.statusBar()->findChildren<QLabel*>())
            if (label->isVisible())
                texts << label->text();
        return texts.join(' ');
    };
    const QString expected =
        "数据库：SQLITE " + m_folder.filePath("shell.sqlite") + "    操作员：0001 张晓明";
    QCOMPARE(shownStatus(), expected);

    // Walking through the menus' entries sends their (empty) status tips to the window.
    for (QMenu* menu : window.menuBar()->findChildren<QMenu*>()) {
        window.menuBar()->setActiveAction(menu->menuAction()); // opened from the menu bar
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        for (int step = 0; step < menu->actions().size(); ++step)
            QTest::keyClick(menu, Qt::Key_Down);
        menu->hide();
    }
    QCOMPARE(shownStatus(), expected);
}

void ShellWindowTest::switchedOperatorTakesOnlyTheNextPanels()
{
    ShellWindow window(m_server.get(), m_module.get(), "0001");
    window.setConnection({m_folder.filePath("shell.sqlite"), {}, false}, {});
    window.show();
    ModulePanel* first = window.openModule();

    testsupport::ModalScript modals;
    modals.queue([](QDialog& login) {
        auto* code = login.findChild<QLineEdit*>("loginCode");
        code->setText("0002");
        login.findChild<QPushButton*>("loginOk")->click();
        return login.result();
    });
    window.findChild<QAction*>("actionSwitchOperator")->trigger();
    QCOMPARE(modals.seenObjectNames(), QStringList{"loginDialog"});
    QVERIFY2(m_messageBoxes.isEmpty(), qPrintable(m_messageBoxes.join('\n')));
    QVERIFY2(window.statusText().endsWith("操作员：0002 李建国"), qPrintable(window.statusText()));
    ModulePanel* second = window.openModule();

    // Each panel audits its batches under the operator it was opened with.
    QCOMPARE(first->operatorCode(), "0001");
    QCOMPARE(first->session()->operatorCode(), "0001");
    QCOMPARE(second->operatorCode(), "0002");
    QCOMPARE(second->session()->operatorCode(), "0002");
    QVERIFY(first->session() != second->session());
    QVERIFY(first->moduleWindow() && second->moduleWindow());
    QVERIFY2(m_messageBoxes.isEmpty(), qPrintable(m_messageBoxes.join('\n')));
}

void ShellWindowTest::carryForward_data()
{
    QTest::addColumn<QString>("period");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("shown");
    // The server clock stands at 2026-12-05.
    QTest::newRow("forward, confirmed")
        << "202611" << platform::IDOK << "202612"
        << QStringList{"将会计期间从 202611 结转到 202612，确定吗？",
                       "已从 202611 结转到 202612。新打开的区域档案窗口按此期间工作。"};
    QTest::newRow("forward, cancelled")
        << "202611" << platform::IDCANCEL << "202611"
        << QStringList{"将会计期间从 202611 结转到 202612，确定吗？"};
    QTest::newRow("backwards: refused, not asked")
        << "202703" << platform::IDOK << "202703"
        << QStringList{"当前会计期间 202703 晚于本月 202612，不能结转到更早的期间。"};
    QTest::newRow("current already") << "202612" << platform::IDOK << "202612"
                                     << QStringList{"当前会计期间已是 202612，无需结转。"};
}

void ShellWindowTest::carryForward()
{
    QFETCH(QString, period);
    QFETCH(int, answer);
    QFETCH(QString, after);
    QFETCH(QStringList, shown);
    QString error;
    QVERIFY2(m_server->executeScript("update tbKjqj set f_dqny = '" + period + "';", &error),
             qPrintable(error));
    m_server->setClock([] { return QDateTime(QDate(2026, 12, 5), QTime(10, 0)); });
    platform::setMessageBoxInterceptor([this, answer](const platform::MessageBoxRequest& request) {
        m_messageBoxes << request.text;
        return request.buttons == platform::MessageBoxButtons::OkCancel ? answer : platform::IDOK;
    });
    ShellWindow window(m_server.get(), m_module.get(), "0001");
    window.findChild<QAction*>("actionCarryForward")->trigger();
    m_server->setClock([] { return QDateTime::currentDateTime(); });
    QCOMPARE(m_messageBoxes, shown);
    platform::Variant value;
    platform::DispatchArguments arguments{platform::DispatchArgument::byRef(value)};
    QVERIFY(m_server->invoke(platform::CoorDisp::GetServerYearMonth, arguments).toBool());
    QCOMPARE(value.toText(), after);
}

void ShellWindowTest::carryForwardRefusedOnAClerkLogin()
{
    if (ScratchPostgres::serverUri().isEmpty())
        QSKIP("NELVO_TEST_PG_URI is not set (tools/with-postgres.sh sets it)");
    const QString name = ScratchPostgres::uniqueName("nelvo_shell_");
    QString error;
    QVERIFY2(ScratchPostgres::run("create database " + name, error), qPrintable(error));
    const auto cleanup = qScopeGuard([name] {
        QString ignored;
        ScratchPostgres::run("drop database if exists " + name + " with (force)", ignored);
        ScratchPostgres::run("drop role if exists " + name + "_login", ignored);
        ScratchPostgres::run("drop role if exists " + name + "_clerks", ignored);
    });
    QUrl uri(ScratchPostgres::serverUri());
    uri.setPath("/" + name);
    server::DataServerOptions options;
    options.operatorCode = "0001";
    options.createSchema = true;
    options.clerkRole = name + "_clerks";
    {
        auto owner = platform::DispatchRef<server::DataServer>::adopt(
            server::DataServer::open(uri.toString(), options, &error));
        QVERIFY2(owner && owner->loadDemoData(&error), qPrintable(error));
        QVERIFY(owner->mayCarryForward());
    }
    QVERIFY2(ScratchPostgres::run(
                 "create role " + name + "_login login in role " + name + "_clerks", error),
             qPrintable(error));
    uri.setUserName(name + "_login");
    options.createSchema = false;
    auto clerk = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(uri.toString(), options, &error));
    QVERIFY2(clerk, qPrintable(error));
    platform::Variant before;
    platform::DispatchArguments arguments{platform::DispatchArgument::byRef(before)};
    QVERIFY(clerk->invoke(platform::CoorDisp::GetServerYearMonth, arguments).toBool());
    clerk->setClock([] { return QDateTime::currentDateTime().addMonths(1); });

    ShellWindow window(clerk.get(), m_module.get(), "0001");
    window.findChild<QAction*>("actionCarryForward")->trigger();
    QCOMPARE(m_messageBoxes.size(), 1);
    QVERIFY2(m_messageBoxes[0].contains("没有结转会计期间的权限"), qPrintable(m_messageBoxes[0]));
    platform::Variant after;
    platform::DispatchArguments again{platform::DispatchArgument::byRef(after)};
    QVERIFY(clerk->invoke(platform::CoorDisp::GetServerYearMonth, again).toBool());
    QCOMPARE(after.toText(), before.toText());
}

QTEST_MAIN(ShellWindowTest)
#include "ShellWindowTest.moc"
