// Locate and find-next over the area tree.
#include "AreaWindowFixture.h"
#include "DialogDriving.h"
#include "support/ModalScript.h"

#include "area/AreaModuleState.h"
#include "area/TFlatComboBox.h"
#include "area/TFlatEdit.h"
#include "area/TfrmArea.h"
#include "area/TfrmLocate.h"
#include "shared/TFlatButton.h"

#include <QApplication>
#include <QtTest>

using dialogdriving::drive;
using dialogdriving::recordMessage;

namespace {

const QString kA01 = QStringLiteral("A01 一号拣货区");
const QString kA02 = QStringLiteral("A02 二号拣货区");
const QString kB01 = QStringLiteral("B01 A01备用");
const QString kPickRoot = QStringLiteral("拣货区域(PICK)");
const QString kMpickRoot = QStringLiteral("拣货管理区域(MPICK)");
const QString kMiss = QStringLiteral("警告|找不到该信息！");

QString currentText(const TfrmArea& window)
{
    const QTreeWidgetItem* node = window.TN->currentItem();
    return node ? node->text(0) : QString();
}

} // namespace

class AreaLocateTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void searchesInTreeOrderWithoutWrapping_data();
    void searchesInTreeOrderWithoutWrapping();
    void locateStartsAtTheTopAndRunsSelectionOnce();
    void findNextWithoutSelectionReportsMiss();
    void emptyTextDoesNothing();
    void dialogConfirmSetsTextAndField();
    void dialogCancelKeepsTextAndSelection();
    void dialogConfirmedEmptyClearsText();
    void textSurvivesANewWindow();

private:
    std::unique_ptr<AreaWindowFixture> m_fixture;
    std::unique_ptr<TfrmArea> m_window;
};

void AreaLocateTest::init()
{
    LocateText.clear();
    LocateField = LocateFieldChoice::Code;
    m_fixture = std::make_unique<AreaWindowFixture>();
    QString error;
    QVERIFY2(m_fixture->open(error), qPrintable(error));
    m_window = m_fixture->newWindow();
    m_window->show();
    QApplication::setActiveWindow(m_window.get());
}

void AreaLocateTest::cleanup()
{
    m_window.reset();
    m_fixture.reset();
}

void AreaLocateTest::searchesInTreeOrderWithoutWrapping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("field");
    // The locate hit, then each F3 hit in turn; a miss ends the list.
    QTest::addColumn<QStringList>("hits");
    QTest::newRow("code part") << QStringLiteral("A0") << int(LocateFieldChoice::Code)
                               << QStringList{kA01, kA02};
    QTest::newRow("name part") << QStringLiteral("A01") << int(LocateFieldChoice::Name)
                               << QStringList{kB01};
    QTest::newRow("code ignores names")
        << QStringLiteral("A01") << int(LocateFieldChoice::Code) << QStringList{kA01};
    QTest::newRow("roots whole under code")
        << QStringLiteral("PICK") << int(LocateFieldChoice::Code)
        << QStringList{kPickRoot, kMpickRoot};
    QTest::newRow("roots whole under name")
        << QStringLiteral("(MPICK)") << int(LocateFieldChoice::Name) << QStringList{kMpickRoot};
    QTest::newRow("case sensitive")
        << QStringLiteral("a0") << int(LocateFieldChoice::Code) << QStringList{};
    QTest::newRow("chinese name") << QStringLiteral("拣货区") << int(LocateFieldChoice::Name)
                                  << QStringList{kPickRoot, kA01, kA02};
}

void AreaLocateTest::searchesInTreeOrderWithoutWrapping()
{
    QFETCH(QString, text);
    QFETCH(int, field);
    QFETCH(QStringList, hits);
    LocateText = text;
    LocateField = LocateFieldChoice(field);
    m_window->rootNodes[0]->setExpanded(false); // collapsed roots are searched as well

    testsupport::ModalScript script;
    QStringList messages;
    script.queue(recordMessage(messages));
    QStringList found;
    m_window->FindArea(true);
    while (messages.isEmpty() && found.size() <= hits.size()) {
        found << currentText(*m_window);
        m_window->FindArea(false);
    }
    QCOMPARE(found, hits);
    QCOMPARE(messages, QStringList{kMiss});
    // The miss leaves the selection on the last hit.
    QCOMPARE(currentText(*m_window), hits.isEmpty() ? QString() : hits.last());
}

void AreaLocateTest::locateStartsAtTheTopAndRunsSelectionOnce()
{
    m_window->TN->setCurrentItem(findNode(*m_window, kA01));
    m_window->listDZ->clear();
    m_fixture->clearTrace();
    LocateText = QStringLiteral("A0");

    m_window->FindArea(true);
    QCOMPARE(currentText(*m_window), kA01);
    QVERIFY(m_window->TN->hasFocus());
    QCOMPARE(m_window->TN->selectedItems(), QList<QTreeWidgetItem*>{findNode(*m_window, kA01)});
    // The selection handling ran for the node already selected, and only once.
    QCOMPARE(m_fixture->traced(QStringLiteral("QueryData")).size(), 1);
    QCOMPARE(m_window->listDZ->count(), 1);
    QCOMPARE(m_window->listDZ->lines().line(0).toString(), QStringLiteral("S01 存储一"));

    m_fixture->clearTrace();
    m_window->FindArea(false);
    QCOMPARE(currentText(*m_window), kA02);
    QCOMPARE(m_fixture->traced(QStringLiteral("QueryData")).size(), 1);
    QCOMPARE(m_window->listDZ->lines().line(0).toString(), QStringLiteral("S02 存储二"));
}

void AreaLocateTest::findNextWithoutSelectionReportsMiss()
{
    m_window->TN->setCurrentItem(nullptr);
    LocateText = QStringLiteral("A0");
    testsupport::ModalScript script;
    QStringList messages;
    script.queue(recordMessage(messages));
    m_window->FindArea(false);
    QCOMPARE(messages, QStringList{kMiss});
    QCOMPARE(m_window->TN->currentItem(), nullptr);
}

void AreaLocateTest::emptyTextDoesNothing()
{
    QTreeWidgetItem* selected = findNode(*m_window, kB01);
    m_window->TN->setCurrentItem(selected);
    testsupport::ModalScript script; // fails the test on any dialog
    m_window->FindArea(true);
    m_window->FindArea(false);
    QTest::keyClick(m_window->TN, Qt::Key_F3);
    QVERIFY(script.seen().isEmpty());
    QCOMPARE(m_window->TN->currentItem(), selected);
}

void AreaLocateTest::dialogConfirmSetsTextAndField()
{
    testsupport::ModalScript script;
    script.queue(drive([](QDialog& dialog) {
        auto& d = static_cast<TfrmLocate&>(dialog);
        QCOMPARE(d.windowTitle(), QStringLiteral("定位查询"));
        QCOMPARE(d.FlatComboBox1->currentIndex(), 0);
        QCOMPARE(d.FlatComboBox1->itemText(1), QStringLiteral("区域名称"));
        d.FlatComboBox1->setCurrentIndex(1);
        QTest::keyClicks(d.FlatEdit1, QStringLiteral("a01"));
        QTest::keyClick(d.FlatEdit1, Qt::Key_Return);
    }));
    m_window->TbnLocateClick();
    QCOMPARE(LocateText, QStringLiteral("A01"));
    QCOMPARE(LocateField, LocateFieldChoice::Name);
    QCOMPARE(currentText(*m_window), kB01);
    QVERIFY(m_window->findChildren<TfrmLocate*>().isEmpty()); // freed after use
}

void AreaLocateTest::dialogCancelKeepsTextAndSelection()
{
    LocateText = QStringLiteral("M0");
    QTreeWidgetItem* selected = findNode(*m_window, kA02);
    m_window->TN->setCurrentItem(selected);
    testsupport::ModalScript script;
    script.queue(drive([](QDialog& dialog) {
        auto& d = static_cast<TfrmLocate&>(dialog);
        d.FlatEdit1->setText(QStringLiteral("A01"));
        d.FlatButton2->click();
    }));
    m_window->TbnLocateClick();
    QCOMPARE(LocateText, QStringLiteral("M0"));
    QCOMPARE(m_window->TN->currentItem(), selected);
}

void AreaLocateTest::dialogConfirmedEmptyClearsText()
{
    LocateText = QStringLiteral("M0");
    QTreeWidgetItem* selected = findNode(*m_window, kA02);
    m_window->TN->setCurrentItem(selected);
    testsupport::ModalScript script;
    script.queue(
        drive([](QDialog& dialog) { static_cast<TfrmLocate&>(dialog).FlatButton1->click(); }));
    m_window->TbnLocateClick();
    QCOMPARE(LocateText, QString());
    QCOMPARE(m_window->TN->currentItem(), selected);
    QCOMPARE(script.seen().size(), 1); // no miss message
}

void AreaLocateTest::textSurvivesANewWindow()
{
    testsupport::ModalScript script;
    script.queue(drive([](QDialog& dialog) {
        auto& d = static_cast<TfrmLocate&>(dialog);
        d.FlatEdit1->setText(QStringLiteral("A0"));
        d.FlatButton1->click();
    }));
    QTest::keyClick(m_window->TN, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(currentText(*m_window), kA01);
    m_window.reset();

    m_window = m_fixture->newWindow();
    m_window->show();
    m_window->TN->setCurrentItem(m_window->rootNodes[0]);
    QTest::keyClick(m_window->TN, Qt::Key_F3);
    QCOMPARE(currentText(*m_window), kA01);
    QTest::keyClick(m_window->TN, Qt::Key_F3);
    QCOMPARE(currentText(*m_window), kA02);
}

QTEST_MAIN(AreaLocateTest)
#include "AreaLocateTest.moc"
