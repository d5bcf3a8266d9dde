// The history dialog on the trail the database writes: batches with their rows, the
// filters (typed dates too), the calendar, a long batch's whole text, and restore.
#include "AuditHistoryDialog.h"
#include "BatchTextDialog.h"
#include "OptionalDateEdit.h"
#include "platform/ClientDataset.h"
#include "platform/CoorDisp.h"
#include "platform/MessageBox.h"
#include "server/DataServer.h"

#include <QCalendarWidget>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

using ServerRef = platform::DispatchRef<server::DataServer>;

const char* const SetupText = "准备测试数据";
const QString Added = QStringLiteral(
    "insert into tbQyda(f_qybm, f_qymc, f_qylx) values ('Z09', '九号拣货区', 'PICK');");
const QString Renamed = QStringLiteral("update tbQyda set f_qymc = '改名' where f_qybm = 'Z09';");
const QString Mapped =
    QStringLiteral("Insert into tbQydz(f_qylx,f_qybm,f_ccqybm) values('PICK','Z09','W01'); "
                   "Insert into tbQydz(f_qylx,f_qybm,f_ccqybm) values('PICK','Z09','W02'); ");

ServerRef openServer(const QString& path, const QString& operatorCode, QString& error)
{
    server::DataServerOptions options;
    options.operatorCode = operatorCode;
    options.createSchema = true;
    return ServerRef::adopt(server::DataServer::open(path, options, &error));
}

bool execute(server::DataServer& server, const QString& batch)
{
    platform::Variant value(batch);
    platform::DispatchArguments arguments{platform::DispatchArgument::byRef(value)};
    return server.invoke(platform::CoorDisp::ExecuteBatch, arguments).toBool();
}

int mappingCount(server::DataServer& server)
{
    platform::Variant data;
    platform::DispatchArguments arguments{
        platform::DispatchArgument::byValue(QStringLiteral("select f_ccqybm from tbqydz")),
        platform::DispatchArgument::byRef(data)};
    if (!server.invoke(platform::CoorDisp::QueryData, arguments).toBool())
        return -1;
    platform::ClientDataset dataset;
    dataset.loadPacket(data);
    return dataset.recordCount();
}

QStringList column(const QAbstractItemModel* model, int column)
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

} // namespace

class AuditHistoryDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void filters_data();
    void filters();
    void showsEachRowBeforeAndAfter();
    void typedDateOverAllFilters_data();
    void typedDateOverAllFilters();
    void calendarOpensAtToday();
    void longBatchShowsItsSizeAndOpensWhole();
    void restoresOneBatchBehindAConfirmation();

private:
    // A database with the demo data, storage areas W01..W03 (one batch, SetupText), then
    // Added by 0002, Renamed by 0003 and Mapped by 0002.
    ServerRef createDatabase(const QString& name);
    std::unique_ptr<AuditHistoryDialog> openDialog(server::DataServer* server);
    static QTableView* batchView(const QDialog& dialog)
    {
        return dialog.findChild<QTableView*>("auditHistory");
    }

    QTemporaryDir m_folder;
    ServerRef m_server;
    QList<platform::MessageBoxRequest> m_boxes;
    QList<int> m_answers; // to the next message boxes, then IDOK
};

void AuditHistoryDialogTest::initTestCase()
{
    m_server = createDatabase("history.sqlite");
    QVERIFY(m_server);
}

void AuditHistoryDialogTest::init()
{
    m_boxes.clear();
    m_answers.clear();
    platform::setMessageBoxInterceptor([this](const platform::MessageBoxRequest& request) {
        m_boxes << request;
        return m_answers.isEmpty() ? platform::IDOK : m_answers.takeFirst();
    });
}

void AuditHistoryDialogTest::cleanup()
{
    platform::setMessageBoxInterceptor({});
    platform::setModalInterceptor({});
}

ServerRef AuditHistoryDialogTest::createDatabase(const QString& name)
{
    QString error;
    const QString path = m_folder.filePath(name);
    ServerRef owner = openServer(path, "0001", error);
    if (!owner || !owner->loadDemoData(&error) ||
        !owner->executeScript("delete from tbqydz; delete from tbQyda; delete from tbCCQyda;"
                              "insert into tbCCQyda(f_ccqybm, f_ccqymc) values"
                              " ('W01', '存储一'), ('W02', '存储二'), ('W03', '存储三');",
                              &error, SetupText)) {
        qWarning("%s", qPrintable(error));
        return {};
    }
    for (const auto& [operatorCode, batch] :
         {std::pair{"0002", Added}, std::pair{"0003", Renamed}, std::pair{"0002", Mapped}}) {
        ServerRef clerk = openServer(path, operatorCode, error);
        if (!clerk || !execute(*clerk.get(), batch)) {
            qWarning("%s: %s", operatorCode, qPrintable(error));
            return {};
        }
    }
    return owner;
}

std::unique_ptr<AuditHistoryDialog> AuditHistoryDialogTest::openDialog(server::DataServer* server)
{
    auto dialog = std::make_unique<AuditHistoryDialog>(server, nullptr);
    dialog->show();
    return dialog;
}

void AuditHistoryDialogTest::filters_data()
{
    QTest::addColumn<int>("sinceDays"); // from today; 99: 全部
    QTest::addColumn<int>("untilDays");
    QTest::addColumn<QString>("operatorCode");
    QTest::addColumn<QString>("area");
    QTest::addColumn<QString>("storageArea");
    QTest::addColumn<QStringList>("texts");
    const QStringList all{Mapped, Renamed, Added, SetupText, "载入演示数据"};
    QTest::newRow("nothing: newest first") << 99 << 99 << ""
                                           << ""
                                           << "" << all;
    QTest::newRow("since today") << 0 << 99 << ""
                                 << ""
                                 << "" << all;
    QTest::newRow("since tomorrow") << 1 << 99 << ""
                                    << ""
                                    << "" << QStringList();
    QTest::newRow("until yesterday") << 99 << -1 << ""
                                     << ""
                                     << "" << QStringList();
    QTest::newRow("operator") << 99 << 99 << "0002"
                              << ""
                              << "" << QStringList{Mapped, Added};
    QTest::newRow("today and operator") << 0 << 0 << "0003"
                                        << ""
                                        << "" << QStringList{Renamed};
    QTest::newRow("area: its own rows and its mappings")
        << 99 << 99 << ""
        << "Z09"
        << "" << QStringList{Mapped, Renamed, Added};
    QTest::newRow("storage area") << 99 << 99 << ""
                                  << ""
                                  << "W02" << QStringList{Mapped, SetupText};
    QTest::newRow("nothing matches") << 99 << 99 << ""
                                     << "Z01"
                                     << "" << QStringList();
}

void AuditHistoryDialogTest::filters()
{
    QFETCH(int, sinceDays);
    QFETCH(int, untilDays);
    QFETCH(QString, operatorCode);
    QFETCH(QString, area);
    QFETCH(QString, storageArea);
    QFETCH(QStringList, texts);
    auto dialog = openDialog(m_server.get());
    const QDate today = QDate::currentDate();
    const auto day = [today](int days) { return days == 99 ? QDate() : today.addDays(days); };
    dialog->findChild<OptionalDateEdit*>("auditSince")->setDay(day(sinceDays));
    dialog->findChild<OptionalDateEdit*>("auditUntil")->setDay(day(untilDays));
    // The code filters typed as a clerk does, each confirmed with Enter.
    for (const auto& [name, text] :
         {std::pair{"auditOperator", operatorCode}, std::pair{"auditArea", area},
          std::pair{"auditStorageArea", storageArea}}) {
        auto* edit = dialog->findChild<QLineEdit*>(name);
        QVERIFY(edit && !edit->accessibleName().isEmpty());
        edit->setFocus();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    QStringList shown; // on one line each
    for (const QString& text : std::as_const(texts))
        shown << text.simplified();
    QCOMPARE(column(batchView(*dialog)->model(), 4), shown);
    QCOMPARE(dialog->findChild<QLabel*>("auditStatus")->text(),
             QStringLiteral("共 %1 批").arg(texts.size()));
    QVERIFY2(m_boxes.isEmpty(), qPrintable(m_boxes.value(0).text));
}

void AuditHistoryDialogTest::showsEachRowBeforeAndAfter()
{
    auto dialog = openDialog(m_server.get());
    const QAbstractItemModel* batches = batchView(*dialog)->model();
    const auto* rows = dialog->findChild<QTableView*>("auditRows");
    QVERIFY(rows && !rows->accessibleName().isEmpty());
    const auto rowTexts = [rows] {
        QStringList lines;
        for (int row = 0; row < rows->model()->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < rows->model()->columnCount(); ++column)
                cells << rows->model()->index(row, column).data().toString();
            lines << cells.join('|');
        }
        return lines;
    };
    // The newest batch is selected at once; its rows show below.
    QCOMPARE(dialog->selectedBatch()->text, Mapped);
    QCOMPARE(batches->index(0, 2).data().toString(), "0002");
    QCOMPARE(batches->index(0, 3).data().toInt(), 2);
    QCOMPARE(rowTexts(),
             QStringList({"新增|区域对照|PICK/W01||f_qylx=PICK, f_qybm=Z09, f_ccqybm=W01",
                          "新增|区域对照|PICK/W02||f_qylx=PICK, f_qybm=Z09, f_ccqybm=W02"}));
    // An update shows the fields it changed, before and after.
    batchView(*dialog)->setFocus();
    QTest::keyClick(batchView(*dialog), Qt::Key_Down);
    QCOMPARE(dialog->selectedBatch()->text, Renamed);
    QCOMPARE(rowTexts(), QStringList{"修改|区域档案|Z09|f_qymc=九号拣货区|f_qymc=改名"});
}

void AuditHistoryDialogTest::typedDateOverAllFilters_data()
{
    QTest::addColumn<int>("days");
    QTest::addColumn<int>("batches");
    QTest::newRow("today") << 0 << 5;
    QTest::newRow("tomorrow") << 1 << 0;
}

void AuditHistoryDialogTest::typedDateOverAllFilters()
{
    QFETCH(int, days);
    QFETCH(int, batches);
    auto dialog = openDialog(m_server.get());
    auto* since = dialog->findChild<OptionalDateEdit*>("auditSince");
    QCOMPARE(since->text(), "全部");
    const QDate typed = QDate::currentDate().addDays(days);
    since->setFocus();
    QTest::keyClicks(since, typed.toString("yyyyMMdd"));
    QTest::keyClick(since, Qt::Key_Return);
    QCOMPARE(since->text(), typed.toString("yyyy-MM-dd"));
    QCOMPARE(since->day(), typed);
    QCOMPARE(batchView(*dialog)->model()->rowCount(), batches);
    // Delete shows everything again.
    QTest::keyClick(since, Qt::Key_Delete);
    QCOMPARE(since->text(), "全部");
    QCOMPARE(batchView(*dialog)->model()->rowCount(), 5);
}

void AuditHistoryDialogTest::calendarOpensAtToday()
{
    auto dialog = openDialog(m_server.get());
    auto* since = dialog->findChild<OptionalDateEdit*>("auditSince");
    since->setFocus();
    QTest::keyClick(since, Qt::Key_F4);
    QCalendarWidget* calendar = since->calendarWidget();
    QTRY_VERIFY(calendar->isVisible());
    const QDate today = QDate::currentDate();
    QCOMPARE(calendar->yearShown(), today.year());
    QCOMPARE(calendar->monthShown(), today.month());
    QCOMPARE(since->text(), "全部"); // opening it chose nothing yet
}

void AuditHistoryDialogTest::longBatchShowsItsSizeAndOpensWhole()
{
    ServerRef owner = createDatabase("long.sqlite");
    QVERIFY(owner);
    QString error;
    ServerRef clerk = openServer(m_folder.filePath("long.sqlite"), "0002", error);
    QVERIFY2(clerk, qPrintable(error));
    const QString batch = Renamed + "\n/*" + QString(1'300'000, 'x') + "*/";
    QVERIFY(execute(*clerk.get(), batch));

    auto dialog = openDialog(owner.get());
    const QModelIndex cell = batchView(*dialog)->model()->index(0, 4);
    const QString shown = cell.data().toString();
    QVERIFY2(shown.size() < 400, qPrintable(shown.left(400)));
    QVERIFY2(shown.endsWith(QStringLiteral("（共 1,300,058 个字符）")),
             qPrintable(shown.right(40)));
    QVERIFY(cell.data(Qt::ToolTipRole).toString().size() < 200);

    QString opened;
    platform::setModalInterceptor([&opened](QDialog& shownDialog) {
        auto* text = shownDialog.findChild<QPlainTextEdit*>("batchText");
        if (!text || !text->isReadOnly())
            return int(QDialog::Rejected);
        opened = text->toPlainText();
        shownDialog.findChild<QPushButton*>("batchTextCopy")->click();
        return int(QDialog::Rejected);
    });
    dialog->findChild<QPushButton*>("auditShowText")->click();
    // Shown whole, with long lines broken; copied exactly as sent.
    QVERIFY(!opened.isEmpty());
    QVERIFY(opened.remove('\n') == QString(batch).remove('\n'));
    QVERIFY(QGuiApplication::clipboard()->text() == batch);
}

void AuditHistoryDialogTest::restoresOneBatchBehindAConfirmation()
{
    ServerRef owner = createDatabase("restore.sqlite");
    QVERIFY(owner);
    QString error;
    ServerRef clerk = openServer(m_folder.filePath("restore.sqlite"), "0003", error);
    QVERIFY2(clerk, qPrintable(error));
    const QString unmapAll = "Delete from tbqydz where f_qylx='PICK' and f_qybm='Z09'";
    QVERIFY(execute(*clerk.get(), unmapAll));
    QCOMPARE(mappingCount(*owner.get()), 0);

    auto dialog = openDialog(owner.get());
    auto* restore = dialog->findChild<QPushButton*>("auditRestore");
    QCOMPARE(dialog->selectedBatch()->text, unmapAll);
    QVERIFY(restore->isEnabled());

    // Cancelled at the question: nothing changes.
    m_answers = {platform::IDCANCEL};
    restore->click();
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].buttons, platform::MessageBoxButtons::OkCancel);
    QVERIFY2(m_boxes[0].text.contains("区域对照 PICK/W01") &&
                 m_boxes[0].text.contains("区域对照 PICK/W02"),
             qPrintable(m_boxes[0].text));
    QCOMPARE(dialog->selectedBatch()->text, unmapAll);
    QCOMPARE(mappingCount(*owner.get()), 0);

    // Confirmed: the mappings are back, and the restore is the newest batch.
    m_boxes.clear();
    restore->click();
    QCOMPARE(m_boxes.size(), 2);
    QVERIFY2(m_boxes[1].text.startsWith("已恢复批次"), qPrintable(m_boxes[1].text));
    QCOMPARE(mappingCount(*owner.get()), 2);
    QList<server::TrailBatch> restored;
    QVERIFY(owner->trail({}, restored));
    QCOMPARE(restored.value(0).rows.size(), 2);
    QCOMPARE(batchView(*dialog)->model()->rowCount(), 7);

    // Restoring the same batch again would undo the restore: refused, naming each row.
    m_boxes.clear();
    batchView(*dialog)->selectRow(1);
    QCOMPARE(dialog->selectedBatch()->text, unmapAll);
    restore->click();
    QCOMPARE(m_boxes.size(), 1);
    QCOMPARE(m_boxes[0].icon, platform::MessageBoxIcon::Stop);
    QVERIFY2(m_boxes[0].text.contains("PICK/W01") && m_boxes[0].text.contains("PICK/W02"),
             qPrintable(m_boxes[0].text));
    QCOMPARE(batchView(*dialog)->model()->rowCount(), 7);
    QCOMPARE(mappingCount(*owner.get()), 2);
}

QTEST_MAIN(AuditHistoryDialogTest)
#include "AuditHistoryDialogTest.moc"
