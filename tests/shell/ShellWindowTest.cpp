#include "ShellWindow.h"
#include "AuditHistoryDialog.h"
#include "HostNotificationWindow.h"
#include "ModuleLibrary.h"
#include "ModulePanel.h"
#include "ShellOptions.h"
#include "platform/CoorDisp.h"
#include "platform/MessageBox.h"
#include "server/DataServer.h"

#include <QAction>
#include <QDateEdit>
#include <QPointer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

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
    void auditHistoryListsNewestFirstAndFiltersByDate();

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
    QTest::newRow("defaults") << QStringList() << true << fallback << "0001" << false;
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

void ShellWindowTest::auditHistoryListsNewestFirstAndFiltersByDate()
{
    // A database of its own whose batches were committed on known days.
    QString error;
    auto server = platform::DispatchRef<server::DataServer>::adopt(server::DataServer::open(
        m_folder.filePath("audit.sqlite"),
        {.operatorCode = "0042", .sqlTraceFile = {}, .createSchema = true}, &error));
    QVERIFY2(server, qPrintable(error));
    const QList<QPair<QDateTime, QString>> batches = {
        {QDateTime(QDate(2024, 3, 4), QTime(9, 0)), "insert into tbZyda values ('1', '甲');"},
        {QDateTime(QDate(2024, 3, 5), QTime(23, 59, 59)),
         "update tbZyda set f_zymc = 'it''s' where f_zybm = '1';"},
        {QDateTime(QDate(2024, 3, 6), QTime(0, 0)), "delete from tbZyda;"},
    };
    // The trail takes its times from the database's clock: batches of past days are
    // written as the trail holds them.
    for (const auto& [time, text] : batches) {
        QString insert = text;
        insert.replace("'", "''");
        QVERIFY2(server->executeScript(
                     QString("insert into tbAudit (f_time, f_operator, f_text) values ('%1', "
                             "'0042', '%2');")
                         .arg(time.toString(server::DataServer::AuditTimeFormat), insert),
                     &error),
                 qPrintable(error));
    }

    ShellWindow window(server.get(), m_module.get(), "0042");
    auto* action = window.findChild<QAction*>("actionAuditHistory");
    QVERIFY(action);
    action->trigger();
    auto* dialog = window.findChild<AuditHistoryDialog*>("auditHistoryDialog");
    QVERIFY(dialog && dialog->isVisible());
    auto* table = dialog->findChild<QTableWidget*>("auditHistory");
    auto* since = dialog->findChild<QDateEdit*>("auditSince");
    QVERIFY(table && since);
    QVERIFY(!table->accessibleName().isEmpty());
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);

    const auto shownTexts = [table] {
        QStringList texts;
        for (int row = 0; row < table->rowCount(); ++row)
            texts << table->item(row, AuditHistoryDialog::TextColumn)->text();
        return texts;
    };
    QCOMPARE(shownTexts(), QStringList({batches[2].second, batches[1].second, batches[0].second}));
    QCOMPARE(table->item(0, AuditHistoryDialog::TimeColumn)->text(), "2024-03-06 00:00:00");
    QCOMPARE(table->item(2, AuditHistoryDialog::OperatorColumn)->text(), "0042");

    since->setDate(QDate(2024, 3, 5)); // the whole day counts, up to 23:59:59
    QCOMPARE(shownTexts(), QStringList({batches[2].second, batches[1].second}));
    since->setDate(QDate(2024, 3, 7));
    QCOMPARE(table->rowCount(), 0);
    dialog->setSince({});
    QCOMPARE(table->rowCount(), 3);

    // Opening it again reads what was committed meanwhile, in the same window.
    const QString added = "insert into tbQyda values ('Z1', '乙', 'PICK');";
    platform::Variant value(added);
    platform::DispatchArguments arguments{platform::DispatchArgument::byRef(value)};
    QVERIFY(server->invoke(platform::CoorDisp::ExecuteBatch, arguments).toBool());
    action->trigger();
    QCOMPARE(window.findChildren<AuditHistoryDialog*>().size(), 1);
    QCOMPARE(table->rowCount(), 4);
    QCOMPARE(table->item(0, AuditHistoryDialog::TextColumn)->text(), added);
    QVERIFY2(m_messageBoxes.isEmpty(), qPrintable(m_messageBoxes.join('\n')));
}

QTEST_MAIN(ShellWindowTest)
#include "ShellWindowTest.moc"
