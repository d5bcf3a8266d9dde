// Adding, renaming and deleting areas through the area window against the SQLite server.
#include "AreaWindowFixture.h"
#include "DialogDriving.h"
#include "support/MessageBoxRecorder.h"
#include "support/ModalScript.h"

#include "area/AreaModuleState.h"
#include "area/TFlatComboBox.h"
#include "area/TFlatEdit.h"
#include "area/TfrmArea.h"
#include "area/TfrmQyda.h"
#include "platform/MessageBox.h"
#include "shared/TFlatButton.h"

#include <QApplication>
#include <QtTest>

using dialogdriving::drive;
using dialogdriving::recordMessage;

namespace {

TfrmQyda& areaDialog(QDialog& dialog)
{
    return static_cast<TfrmQyda&>(dialog);
}

} // namespace

class AreaMaintenanceTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void addStoresUpperCasedTrimmedAndAppendsToChosenRoot();
    void addRefusesCodeOfAnotherKind();
    void addRefusesEmptyFields_data();
    void addRefusesEmptyFields();
    void addKeepsQuotesLiteral();
    void addFailureShowsServerErrors();
    void addUpdatesTheOwningWindowsTree();
    void modifyChangesOnlyTheName();
    void modifyFailureKeepsDialogAndNode();
    void modifyKeepsStoredLowerCaseCode();
    void changeThatChangedNothingIsAFailure_data();
    void changeThatChangedNothingIsAFailure();
    void nameEditTakesWhatTheDatabaseKeeps();
    void tabAndSpaceReachOkAndCancel_data();
    void tabAndSpaceReachOkAndCancel();
    void dialogsCentredOnTheirOwner_data();
    void dialogsCentredOnTheirOwner();
    void addAfterModifyShowsCarriedOverContents();
    void modifyAndDeleteNeedAnAreaNode_data();
    void modifyAndDeleteNeedAnAreaNode();
    void codeEditStopsCharactersAtTen();
    void enterKeysMoveFocusAndConfirm();
    void deleteNotConfirmedAsksBeforeUsageCheck();
    void deleteInUseKeepsAreaUntilMappingsRemoved();

private:
    std::unique_ptr<AreaWindowFixture> m_fixture;
    std::unique_ptr<TfrmArea> m_window;
};

void AreaMaintenanceTest::init()
{
    QydaMode = 0;
    m_fixture = std::make_unique<AreaWindowFixture>();
    QString error;
    QVERIFY2(m_fixture->open(error), qPrintable(error));
    m_window = m_fixture->newWindow();
    m_fixture->clearTrace();
}

void AreaMaintenanceTest::cleanup()
{
    m_window.reset();
    m_fixture.reset();
}

void AreaMaintenanceTest::addStoresUpperCasedTrimmedAndAppendsToChosenRoot()
{
    QTreeWidgetItem* putRoot = m_window->rootNodes[1];
    QTreeWidgetItem* selected = findNode(*m_window, QStringLiteral("A02 二号拣货区"));
    m_window->TN->setCurrentItem(selected);
    putRoot->setExpanded(false);
    m_fixture->clearTrace();

    testsupport::ModalScript script;
    bool stayedOpen = false;
    script.queue(drive([&](QDialog& dialog) {
        TfrmQyda& d = areaDialog(dialog);
        QCOMPARE(d.windowTitle(), QStringLiteral("区域档案增加"));
        d.cbqylx->setCurrentIndex(1);
        QTest::keyClicks(d.edtbm, QStringLiteral(" a00 "));
        QCOMPARE(d.edtbm->text(), QStringLiteral(" A00 "));
        d.edtmc->setText(QStringLiteral("  新 区  "));
        d.btnadd->click();
        stayedOpen = d.isVisible();
        QCOMPARE(d.edtbm->text(), QString());
        QCOMPARE(d.edtmc->text(), QString());
        QCOMPARE(d.cbqylx->currentIndex(), 1);
        QCOMPARE(d.focusWidget(), d.edtbm);
    }));
    m_window->TbnAddClick();
    QCOMPARE(script.pending(), 0);
    QVERIFY(stayedOpen);

    QCOMPARE(m_fixture->traced(QStringLiteral("ExecuteBatch")),
             QStringList{QStringLiteral(
                 "Insert into tbqyda(f_qybm,f_qymc,f_qylx) values('A00','新 区','PUT')")});
    QCOMPARE(m_fixture->traced(QStringLiteral("QueryData")),
             QStringList{QStringLiteral("Select f_qybm from tbqyda where f_qybm='A00'")});
    // At the end of its root, not in code order; selection and expansion untouched.
    QCOMPARE(childTexts(putRoot),
             (QStringList{QStringLiteral("B01 A01备用"), QStringLiteral("A00 新 区")}));
    QCOMPARE(m_window->TN->currentItem(), selected);
    QVERIFY(!putRoot->isExpanded());
    QCOMPARE(m_fixture->rows(QStringLiteral("select * from tbQyda where f_qybm='A00'"),
                             {QStringLiteral("f_qymc"), QStringLiteral("f_qylx")}),
             (QList<QStringList>{{QStringLiteral("新 区"), QStringLiteral("PUT")}}));
}

void AreaMaintenanceTest::addRefusesCodeOfAnotherKind()
{
    testsupport::ModalScript script;
    QStringList messages;
    script.queue(drive([&](QDialog& dialog) {
        TfrmQyda& d = areaDialog(dialog);
        d.cbqylx->setCurrentIndex(2);
        d.edtbm->setText(QStringLiteral("B01 "));
        d.edtmc->setText(QStringLiteral("重复"));
        d.btnadd->click();
        QVERIFY(d.isVisible());
        QCOMPARE(d.edtbm->text(), QStringLiteral("B01 "));
        QCOMPARE(d.edtmc->text(), QStringLiteral("重复"));
    }));
    script.queue(recordMessage(messages));
    m_window->TbnAddClick();

    QCOMPARE(messages, QStringList{QStringLiteral("信息|该区域编码已经存在，请重新输入！")});
    QVERIFY(m_fixture->traced(QStringLiteral("ExecuteBatch")).isEmpty());
    QCOMPARE(childTexts(m_window->rootNodes[2]), QStringList{QStringLiteral("M01 管理区")});
}

void AreaMaintenanceTest::addRefusesEmptyFields_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focused");
    QTest::newRow("no code") << QString() << QStringLiteral("名")
                             << QStringLiteral("区域编码不能为空！") << QStringLiteral("edtbm");
    QTest::newRow("no name") << QStringLiteral("C01") << QString()
                             << QStringLiteral("区域名称不能为空！") << QStringLiteral("edtmc");
    QTest::newRow("neither") << QString() << QString() << QStringLiteral("区域编码不能为空！")
                             << QStringLiteral("edtbm");
}

void AreaMaintenanceTest::addRefusesEmptyFields()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, focused);
    testsupport::ModalScript script;
    QStringList messages;
    script.queue(drive([&](QDialog& dialog) {
        TfrmQyda& d = areaDialog(dialog);
        d.edtbm->setText(code);
        d.edtmc->setText(name);
        (focused == QLatin1String("edtbm") ? d.edtmc : d.edtbm)->setFocus();
        d.btnadd->click();
        QCOMPARE(d.focusWidget()->objectName(), focused);
    }));
    script.queue(recordMessage(messages));
    m_window->TbnAddClick();
    QCOMPARE(messages, QStringList{QStringLiteral("信息|") + message});
    QVERIFY(m_fixture->traced(QStringLiteral("QueryData")).isEmpty());
}

void AreaMaintenanceTest::addKeepsQuotesLiteral()
{
    testsupport::ModalScript script;
    script.queue(drive([&](QDialog& dialog) {
        TfrmQyda& d = areaDialog(dialog);
        d.edtbm->setText(QStringLiteral("Q'1"));
        d.edtmc->setText(QStringLiteral("x'); delete from tbQyda; --"));
        d.btnadd->click();
    }));
    m_window->TbnAddClick();
    QCOMPARE(m_fixture->rows(QStringLiteral("select * from tbQyda where f_qybm='Q''1'"),
                             {QStringLiteral("f_qymc")}),
             (QList<QStringList>{{QStringLiteral("x'); delete from tbQyda; --")}}));
    QCOMPARE(
        m_fixture->rows(QStringLiteral("select count(*) as n from tbQyda"), {QStringLiteral("n")}),
        (QList<QStringList>{{QStringLiteral("5")}}));
    QCOMPARE(childTexts(m_window->rootNodes[0]).last(),
             QStringLiteral("Q'1 x'); delete from tbQyda; --"));
}

void AreaMaintenanceTest::addFailureShowsServerErrors()
{
    QVERIFY(m_fixture->run(QStringLiteral("create trigger refuse_insert before insert on tbQyda "
                                          "begin select raise(abort, 'refused'); end;")));
    testsupport::MessageBoxRecorder boxes;
    testsupport::ModalScript script;
    script.queue(drive([&](QDialog& dialog) {
        TfrmQyda& d = areaDialog(dialog);
        d.edtbm->setText(QStringLiteral("C09"));
        d.edtmc->setText(QStringLiteral("九号"));
        d.btnadd->click();
        QVERIFY(d.isVisible());
        QCOMPARE(d.edtbm->text(), QStringLiteral("C09"));
        QCOMPARE(d.edtmc->text(), QStringLiteral("九号"));
    }));
    m_window->TbnAddClick();
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(boxes.last().caption, QStringLiteral("错误"));
    QCOMPARE(boxes.last().owner, platform::windowHandle(m_window->areaDialog()));
    QCOMPARE(childTexts(m_window->rootNodes[0]),
             (QStringList{QStringLiteral("A01 一号拣货区"), QStringLiteral("A02 二号拣货区")}));
}

void AreaMaintenanceTest::addUpdatesTheOwningWindowsTree()
{
    // A second window opened later becomes AreaForm; the first window's dialog still
    // updates the first window's tree.
    std::unique_ptr<TfrmArea> later = m_fixture->newWindow();
    testsupport::ModalScript script;
    script.queue(drive([&](QDialog& dialog) {
        TfrmQyda& d = areaDialog(dialog);
        d.edtbm->setText(QStringLiteral("C02"));
        d.edtmc->setText(QStringLiteral("第一窗"));
        d.btnadd->click();
    }));
    m_window->TbnAddClick();
    QCOMPARE(childTexts(m_window->rootNodes[0]).last(), QStringLiteral("C02 第一窗"));
    QCOMPARE(childTexts(later->rootNodes[0]).size(), 2);
}

void AreaMaintenanceTest::modifyChangesOnlyTheName()
{
    QTreeWidgetItem* node = findNode(*m_window, QStringLiteral("B01 A01备用"));
    m_window->TN->setCurrentItem(node);
    testsupport::ModalScript script;
    bool closed = false;
    script.queue(drive([&](QDialog& dialog) {
        TfrmQyda& d = areaDialog(dialog);
        QCOMPARE(d.windowTitle(), QStringLiteral("区域档案编辑"));
        QCOMPARE(d.edtbm->text(), QStringLiteral("B01"));
        QCOMPARE(d.edtmc->text(), QStringLiteral("A01备用"));
        QCOMPARE(d.cbqylx->currentIndex(), 1);
        QVERIFY(!d.edtbm->isEnabled());
        QVERIFY(!d.cbqylx->isEnabled());
        d.edtmc->setText(QStringLiteral(" 补货 二区 "));
        d.btnadd->click();
        closed = !d.isVisible();
    }));
    m_window->TbnupdateClick();
    QVERIFY(closed);
    QCOMPARE(m_fixture->traced(QStringLiteral("ExecuteBatch")),
             QStringList{QStringLiteral(
                 "update tbqyda set f_qymc ='补货 二区' where f_qybm='B01' and f_qylx='PUT'")});
    QCOMPARE(node->text(0), QStringLiteral("B01 补货 二区"));
    QCOMPARE(m_window->TN->currentItem(), node);
}

void AreaMaintenanceTest::modifyFailureKeepsDialogAndNode()
{
    QTreeWidgetItem* node = findNode(*m_window, QStringLiteral("M01 管理区"));
    m_window->TN->setCurrentItem(node);
    QVERIFY(m_fixture->run(QStringLiteral("create trigger refuse_rename before update on tbQyda "
                                          "begin select raise(abort, 'refused'); end;")));
    testsupport::MessageBoxRecorder boxes;
    testsupport::ModalScript script;
    QStringList messages;
    script.queue(drive([&](QDialog& dialog) {
        TfrmQyda& d = areaDialog(dialog);
        d.edtmc->setText(QStringLiteral("新名"));
        d.btnadd->click();
        QVERIFY(d.isVisible());
        QCOMPARE(d.edtmc->text(), QStringLiteral("新名"));
    }));
    script.queue(recordMessage(messages));
    m_window->TbnupdateClick();
    QCOMPARE(messages, QStringList{QStringLiteral("信息|更新区域档案失败！")});
    QCOMPARE(boxes.count(), 0); // no error list
    QCOMPARE(node->text(0), QStringLiteral("M01 管理区"));
}

void AreaMaintenanceTest::modifyKeepsStoredLowerCaseCode()
{
    // Imports and other systems store codes in lower case.
    QVERIFY(m_fixture->run(QStringLiteral("insert into tbQyda values ('a03', '小写区', 'PUT');")));
    m_window = m_fixture->newWindow();
    QTreeWidgetItem* node = findNode(*m_window, QStringLiteral("a03 小写区"));
    QVERIFY(node);
    m_window->TN->setCurrentItem(node);
    m_fixture->clearTrace();
    testsupport::ModalScript script;
    script.queue(drive([&](QDialog& dialog) {
        TfrmQyda& d = areaDialog(dialog);
        QCOMPARE(d.edtbm->text(), QStringLiteral("a03"));
        d.edtmc->setText(QStringLiteral("改名区"));
        d.btnadd->click();
    }));
    m_window->TbnupdateClick();
    QCOMPARE(m_fixture->traced(QStringLiteral("ExecuteBatch")),
             QStringList{QStringLiteral(
                 "update tbqyda set f_qymc ='改名区' where f_qybm='a03' and f_qylx='PUT'")});
    QCOMPARE(m_fixture->rows(QStringLiteral("select f_qymc from tbQyda where f_qybm='a03'"),
                             {QStringLiteral("f_qymc")}),
             QList<QStringList>{{QStringLiteral("改名区")}});
    QCOMPARE(node->text(0), QStringLiteral("a03 改名区"));
}

void AreaMaintenanceTest::changeThatChangedNothingIsAFailure_data()
{
    QTest::addColumn<QString>("before");   // run before the window opens
    QTest::addColumn<QString>("meantime"); // run by another clerk while the dialog is open
    QTest::addColumn<bool>("modify");      // modify, else delete
    QTest::addColumn<QString>("node");
    QTest::newRow("modify: removed meanwhile")
        << QString() << QStringLiteral("delete from tbQyda where f_qybm='M01'") << true
        << QStringLiteral("M01 管理区");
    // Shown under its upper-case root, while the statements send the upper-case key.
    const QString lowerKind = QStringLiteral("update tbQyda set f_qylx='put' where f_qybm='B01'");
    QTest::newRow("modify: stored kind in lower case")
        << lowerKind << QString() << true << QStringLiteral("B01 A01备用");
    QTest::newRow("delete: stored kind in lower case")
        << lowerKind << QString() << false << QStringLiteral("B01 A01备用");
}

void AreaMaintenanceTest::changeThatChangedNothingIsAFailure()
{
    QFETCH(QString, before);
    QFETCH(QString, meantime);
    QFETCH(bool, modify);
    QFETCH(QString, node);
    if (!before.isEmpty()) {
        QVERIFY(m_fixture->run(before));
        m_window = m_fixture->newWindow();
    }
    QTreeWidgetItem* item = findNode(*m_window, node);
    QVERIFY(item);
    m_window->TN->setCurrentItem(item);
    testsupport::MessageBoxRecorder boxes;
    testsupport::ModalScript script;
    QStringList messages;
    if (modify) {
        bool stayedOpen = false;
        script.queue(drive([&](QDialog& dialog) {
            TfrmQyda& d = areaDialog(dialog);
            if (!meantime.isEmpty())
                QVERIFY(m_fixture->run(meantime));
            d.edtmc->setText(QStringLiteral("新名"));
            d.btnadd->click();
            stayedOpen = d.isVisible();
        }));
        script.queue(recordMessage(messages));
        m_window->TbnupdateClick();
        QCOMPARE(messages, QStringList{QStringLiteral("信息|更新区域档案失败！")});
        QVERIFY(stayedOpen);
        QCOMPARE(boxes.count(), 0);
    } else {
        m_window->TbnDeleteClick();
        QCOMPARE(boxes.texts(), (QStringList{QStringLiteral("确定要删除此区域档案嘛？"),
                                             QStringLiteral("删除区域档案失败！")}));
        const platform::MessageBoxRequest box = boxes.last();
        QCOMPARE(box.caption, QStringLiteral("提示："));
        QCOMPARE(box.buttons, platform::MessageBoxButtons::Ok);
        QCOMPARE(box.icon, platform::MessageBoxIcon::Information);
        QCOMPARE(box.owner, platform::windowHandle(m_window.get()));
    }
    // The tree stays as it was.
    QCOMPARE(findNode(*m_window, node), item);
    QCOMPARE(m_window->selectedNode(), item);
}

void AreaMaintenanceTest::nameEditTakesWhatTheDatabaseKeeps()
{
    testsupport::MessageBoxRecorder boxes;
    testsupport::ModalScript script;
    const QString name(60, QLatin1Char('N'));
    script.queue(drive([&](QDialog& dialog) {
        TfrmQyda& d = areaDialog(dialog);
        d.edtbm->setText(QStringLiteral("L60"));
        d.edtmc->setFocus();
        QTest::keyClicks(d.edtmc, name + QStringLiteral("X"));
        QCOMPARE(d.edtmc->text(), name);
        d.btnadd->click();
    }));
    m_window->TbnAddClick();
    QCOMPARE(boxes.count(), 0); // no error list
    QCOMPARE(m_fixture->rows(QStringLiteral("select f_qymc from tbQyda where f_qybm='L60'"),
                             {QStringLiteral("f_qymc")}),
             QList<QStringList>{{name}});
}

void AreaMaintenanceTest::tabAndSpaceReachOkAndCancel_data()
{
    QTest::addColumn<bool>("locate"); // the locate dialog, else the area dialog
    QTest::addColumn<QStringList>("order");
    QTest::newRow("area dialog") << false
                                 << QStringList{"edtbm", "edtmc", "btnadd", "btncancel", "cbqylx"};
    QTest::newRow("locate dialog")
        << true << QStringList{"FlatComboBox1", "FlatEdit1", "FlatButton1", "FlatButton2"};
}

void AreaMaintenanceTest::tabAndSpaceReachOkAndCancel()
{
    QFETCH(bool, locate);
    QFETCH(QStringList, order);
    testsupport::ModalScript script;
    bool closed = false;
    script.queue(drive([&](QDialog& dialog) {
        dialog.findChild<QWidget*>(order.first())->setFocus();
        for (qsizetype step = 1; step < order.size(); ++step) {
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
            const QWidget* reached = dialog.focusWidget();
            QCOMPARE(reached ? reached->objectName() : QString(), order[step]);
        }
        // Cancel by keyboard alone: Shift+Tab back to it (after the kind in the area
        // dialog), then Space.
        if (!locate)
            QTest::keyClick(dialog.focusWidget(), Qt::Key_Backtab);
        QCOMPARE(dialog.focusWidget()->objectName(),
                 locate ? QStringLiteral("FlatButton2") : QStringLiteral("btncancel"));
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Space);
        closed = !dialog.isVisible() && dialog.result() != QDialog::Accepted;
    }));
    if (locate)
        m_window->TbnLocateClick();
    else
        m_window->TbnAddClick();
    QCOMPARE(script.pending(), 0);
    QVERIFY(closed); // Space pressed Cancel
}

void AreaMaintenanceTest::dialogsCentredOnTheirOwner_data()
{
    QTest::addColumn<bool>("locate"); // the locate dialog, else the area dialog
    QTest::newRow("area dialog") << false;
    QTest::newRow("locate dialog") << true;
}

void AreaMaintenanceTest::dialogsCentredOnTheirOwner()
{
    QFETCH(bool, locate);
    // A window away from the middle of the screen, as a shell panel usually is.
    m_window->setGeometry(20, 30, 420, 300);
    m_window->show();
    testsupport::ModalScript script;
    QPoint centre;
    script.queue(drive([&](QDialog& dialog) {
        centre = dialog.frameGeometry().center();
        dialog.reject();
    }));
    if (locate)
        m_window->TbnLocateClick();
    else
        m_window->TbnAddClick();
    const QPoint windowCentre = m_window->mapToGlobal(m_window->rect().center());
    QVERIFY2((centre - windowCentre).manhattanLength() <= 2,
             qPrintable(QStringLiteral("dialog centre (%1, %2), window centre (%3, %4)")
                            .arg(centre.x())
                            .arg(centre.y())
                            .arg(windowCentre.x())
                            .arg(windowCentre.y())));
}

void AreaMaintenanceTest::addAfterModifyShowsCarriedOverContents()
{
    m_window->TN->setCurrentItem(findNode(*m_window, QStringLiteral("M01 管理区")));
    testsupport::ModalScript script;
    script.queue(drive([](QDialog& dialog) { areaDialog(dialog).btncancel->click(); }));
    m_window->TbnupdateClick();
    TfrmQyda* first = m_window->areaDialog();
    QVERIFY(first);

    script.queue(drive([&](QDialog& dialog) {
        TfrmQyda& d = areaDialog(dialog);
        QCOMPARE(&d, first);
        QCOMPARE(d.windowTitle(), QStringLiteral("区域档案增加"));
        QCOMPARE(d.edtbm->text(), QStringLiteral("M01"));
        QCOMPARE(d.edtmc->text(), QStringLiteral("管理区"));
        QCOMPARE(d.cbqylx->currentIndex(), 2);
        QVERIFY(d.edtbm->isEnabled());
        QVERIFY(d.cbqylx->isEnabled());
    }));
    m_window->TbnAddClick();
    QCOMPARE(script.pending(), 0);
    QCOMPARE(m_window->areaDialog(), first);
}

void AreaMaintenanceTest::modifyAndDeleteNeedAnAreaNode_data()
{
    QTest::addColumn<int>("root"); // -1: nothing selected
    QTest::newRow("nothing selected") << -1;
    QTest::newRow("PICK root") << 0;
    QTest::newRow("MPICK root") << 2;
}

void AreaMaintenanceTest::modifyAndDeleteNeedAnAreaNode()
{
    QFETCH(int, root);
    m_window->TN->setCurrentItem(root < 0 ? nullptr : m_window->rootNodes[root]);
    testsupport::MessageBoxRecorder boxes;
    testsupport::ModalScript script; // fails the test if any dialog shows
    m_window->TbnupdateClick();
    m_window->TbnDeleteClick();
    QCOMPARE(boxes.count(), 0);
    QVERIFY(script.seen().isEmpty());
    QCOMPARE(m_window->TN->topLevelItemCount(), 3);
}

void AreaMaintenanceTest::codeEditStopsCharactersAtTen()
{
    testsupport::ModalScript script;
    script.queue(drive([](QDialog& dialog) {
        TfrmQyda& d = areaDialog(dialog);
        d.edtbm->clear();
        QTest::keyClicks(d.edtbm, QStringLiteral("abcdefghijkl"));
        QCOMPARE(d.edtbm->text(), QStringLiteral("ABCDEFGHIJ"));
        QTest::keyClick(d.edtbm, Qt::Key_Backspace);
        QCOMPARE(d.edtbm->text(), QStringLiteral("ABCDEFGHIJ"));
        // Keys without a character still act: move left, delete the last letter.
        QTest::keyClick(d.edtbm, Qt::Key_End);
        QTest::keyClick(d.edtbm, Qt::Key_Left);
        QTest::keyClick(d.edtbm, Qt::Key_Delete);
        QCOMPARE(d.edtbm->text(), QStringLiteral("ABCDEFGHI"));
        // Below ten characters typing and Backspace work again.
        QTest::keyClick(d.edtbm, Qt::Key_Backspace);
        QCOMPARE(d.edtbm->text(), QStringLiteral("ABCDEFGH"));
        QTest::keyClicks(d.edtbm, QStringLiteral("xyz"));
        QCOMPARE(d.edtbm->text(), QStringLiteral("ABCDEFGHXY"));
    }));
    m_window->TbnAddClick();
    QCOMPARE(script.pending(), 0);
}

void AreaMaintenanceTest::enterKeysMoveFocusAndConfirm()
{
    testsupport::ModalScript script;
    script.queue(drive([&](QDialog& dialog) {
        TfrmQyda& d = areaDialog(dialog);
        d.edtbm->setFocus();
        QTest::keyClicks(d.edtbm, QStringLiteral("c01"));
        QTest::keyClick(d.edtbm, Qt::Key_Return);
        QCOMPARE(d.focusWidget(), d.edtmc);
        QCOMPARE(d.edtbm->text(), QStringLiteral("C01"));
        d.edtmc->setText(QStringLiteral("回车区"));
        QTest::keyClick(d.edtmc, Qt::Key_Enter);
        QVERIFY(d.isVisible());
        QCOMPARE(d.edtmc->text(), QString());
    }));
    m_window->TbnAddClick();
    QCOMPARE(childTexts(m_window->rootNodes[0]).last(), QStringLiteral("C01 回车区"));
}

void AreaMaintenanceTest::deleteNotConfirmedAsksBeforeUsageCheck()
{
    QTreeWidgetItem* node = findNode(*m_window, QStringLiteral("A01 一号拣货区"));
    m_window->TN->setCurrentItem(node);
    m_fixture->clearTrace();
    testsupport::MessageBoxRecorder boxes;
    boxes.queueAnswer(platform::IDCANCEL);
    m_window->TbnDeleteClick();

    QCOMPARE(boxes.count(), 1);
    const platform::MessageBoxRequest box = boxes.last();
    QCOMPARE(box.text, QStringLiteral("确定要删除此区域档案嘛？"));
    QCOMPARE(box.caption, QStringLiteral("提示："));
    QCOMPARE(box.buttons, platform::MessageBoxButtons::OkCancel);
    QCOMPARE(box.icon, platform::MessageBoxIcon::Information);
    QCOMPARE(box.owner, platform::windowHandle(m_window.get()));
    QVERIFY(m_fixture->traced(QStringLiteral("QueryData")).isEmpty());
    QCOMPARE(findNode(*m_window, QStringLiteral("A01 一号拣货区")), node);
}

void AreaMaintenanceTest::deleteInUseKeepsAreaUntilMappingsRemoved()
{
    m_window->TN->setCurrentItem(findNode(*m_window, QStringLiteral("A01 一号拣货区")));
    m_fixture->clearTrace();
    testsupport::MessageBoxRecorder boxes;
    m_window->TbnDeleteClick();
    QCOMPARE(boxes.texts(), (QStringList{QStringLiteral("确定要删除此区域档案嘛？"),
                                         QStringLiteral("该区域正在使用，请先移除此区域对照！")}));
    QCOMPARE(boxes.last().buttons, platform::MessageBoxButtons::Ok);
    QCOMPARE(boxes.last().caption, QStringLiteral("提示："));
    QCOMPARE(
        m_fixture->traced(QStringLiteral("QueryData")),
        QStringList{QStringLiteral("Select * from tbqydz where f_qylx='PICK' and f_qybm='A01'")});
    QVERIFY(m_fixture->traced(QStringLiteral("ExecuteBatch")).isEmpty());
    QVERIFY(findNode(*m_window, QStringLiteral("A01 一号拣货区")));

    QVERIFY(m_fixture->run(QStringLiteral("delete from tbqydz where f_qybm='A01'")));
    boxes.clear();
    m_fixture->clearTrace();
    m_window->TbnDeleteClick();
    QCOMPARE(boxes.count(), 1);
    QCOMPARE(
        m_fixture->traced(QStringLiteral("ExecuteBatch")),
        QStringList{QStringLiteral("Delete from tbqyda where f_qylx='PICK' and f_qybm='A01'")});
    QVERIFY(!findNode(*m_window, QStringLiteral("A01 一号拣货区")));
    QVERIFY(m_fixture
                ->rows(QStringLiteral("select * from tbQyda where f_qybm='A01'"),
                       {QStringLiteral("f_qybm")})
                .isEmpty());
    // The tree's new selection ran the selection handling: its mappings are listed.
    QTreeWidgetItem* current = m_window->TN->currentItem();
    QVERIFY(current);
    QCOMPARE(current->text(0), QStringLiteral("A02 二号拣货区"));
    QCOMPARE(m_window->listDZ->count(), 1);
    QCOMPARE(m_window->listDZ->lines().line(0).toString(), QStringLiteral("S02 存储二"));
}

QTEST_MAIN(AreaMaintenanceTest)
#include "AreaMaintenanceTest.moc"
