// The area window on a real data server: start-up states, the tree and the lists, the
// middle list following the selection, and the keys.
#include "AreaWindowFixture.h"
#include "platform/CoorDisp.h"
#include "shared/TNelvoClass.h"
#include "support/ModalScript.h"

#include <QAccessible>
#include <QListView>
#include <QSignalSpy>
#include <QTest>

using platform::CoorDisp::QueryData;

namespace {

const QString Pick = QStringLiteral("拣货区域(PICK)");
const QString Put = QStringLiteral("上架补货区域(PUT)");
const QString MPick = QStringLiteral("拣货管理区域(MPICK)");

QStringList childTexts(const QTreeWidgetItem* node)
{
    QStringList texts;
    for (int index = 0; index < node->childCount(); ++index)
        texts.append(node->child(index)->text(0));
    return texts;
}

} // namespace

class TfrmAreaTest : public QObject {
    Q_OBJECT
private slots:
    void startUpLoadsTreeAndStorageAreas();
    void startUpRefused_data();
    void startUpRefused();
    void failedTreeQueryKeepsBareRoots();
    void middleListFollowsSelection();
    void listsSelectByKeyboardAndShowTheirLinesToScreenReaders();
    void typingJumpsToTheFirstLineStartingWithIt_data();
    void typingJumpsToTheFirstLineStartingWithIt();
    void failedMappingQueryLeavesMiddleListEmpty();
    void escapeClosesWindow();
    void escapeHidesVisibleListView();
    void controlLClicksLocateOnce();
    void unboundControlKeysDoNothing();
    void layoutNamesAndSizes();
    void serverCallsShowBusyCursor();
    void errorInHandlerIsShownAndWindowGoesOn();
};

void TfrmAreaTest::startUpLoadsTreeAndStorageAreas()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    QCOMPARE(fixture.boxes().count(), 0);
    QCOMPARE(fixture.server().textsOf(QueryData),
             (QStringList{QStringLiteral("Select * from tbQyda order by f_qybm "),
                          QStringLiteral("Select * from tbCCQyda ")}));

    QCOMPARE(window->TN->topLevelItemCount(), 3);
    QCOMPARE(window->rootNodes[0]->text(0), Pick);
    QCOMPARE(window->rootNodes[1]->text(0), Put);
    QCOMPARE(window->rootNodes[2]->text(0), MPick);
    QCOMPARE(window->TN->topLevelItem(0), window->rootNodes[0]);
    // Lower-case "pick" is PICK; "PICK " with its trailing blank and "OTHER" are nowhere.
    QCOMPARE(childTexts(window->rootNodes[0]),
             (QStringList{QStringLiteral("A01 一号拣货区"), QStringLiteral("A02 二号拣货区")}));
    QCOMPARE(childTexts(window->rootNodes[1]), QStringList{QStringLiteral("B01 补货区")});
    QCOMPARE(childTexts(window->rootNodes[2]), QStringList{QStringLiteral("C01 管理区")});
    for (QTreeWidgetItem* root : window->rootNodes)
        QVERIFY(root->isExpanded());
    // In the order the server returned them, not sorted.
    QCOMPARE(AreaWindowFixture::lines(window->listccqyda),
             (QStringList{QStringLiteral("S03 三号存储"), QStringLiteral("S01 一号存储"),
                          QStringLiteral("S02 二号存储"), QStringLiteral("s04 小写存储"),
                          QStringLiteral("S04 小写存储"), QStringLiteral("S05 五号存储")}));
    QCOMPARE(window->listDZ->count(), 0);
}

void TfrmAreaTest::startUpRefused_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<platform::MessageBoxIcon>("icon");
    QTest::newRow("loader fails") << QStringLiteral("delete from tbXtcs where f_Csmc = 'dwlx';")
                                  << QStringLiteral("没有可利用的单位类型！")
                                  << QStringLiteral("错误") << platform::MessageBoxIcon::Stop;
    QTest::newRow("period not carried forward")
        << QStringLiteral("update tbKjqj set f_dqny = '202602';")
        << QStringLiteral("系统尚未结转,请进行结转处理") << QStringLiteral("提示")
        << platform::MessageBoxIcon::Information;
}

void TfrmAreaTest::startUpRefused()
{
    QFETCH(QString, sql);
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QFETCH(platform::MessageBoxIcon, icon);
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(sql, error), qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    QVERIFY(window->isVisible()); // embedded and shown all the same
    QCOMPARE(fixture.boxes().count(), 1);
    const platform::MessageBoxRequest box = fixture.boxes().last();
    QCOMPARE(box.text, text);
    QCOMPARE(box.caption, caption);
    QCOMPARE(box.icon, icon);
    QCOMPARE(box.buttons, platform::MessageBoxButtons::Ok);
    QCOMPARE(box.owner, platform::windowHandle(window));
    QCOMPARE(window->TN->topLevelItemCount(), 0);
    QCOMPARE(window->listccqyda->count(), 0);
    QVERIFY(fixture.server().textsOf(QueryData).isEmpty());
}

void TfrmAreaTest::failedTreeQueryKeepsBareRoots()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    fixture.server().failNext(QueryData, {QStringLiteral("表 tbQyda 不存在")});
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    QCOMPARE(fixture.boxes().texts(), QStringList{QStringLiteral("表 tbQyda 不存在")});
    QCOMPARE(fixture.boxes().last().caption, QStringLiteral("错误"));
    QCOMPARE(window->TN->topLevelItemCount(), 3);
    for (QTreeWidgetItem* root : window->rootNodes)
        QCOMPARE(root->childCount(), 0);
    QCOMPARE(window->listccqyda->count(), 6); // the storage areas load all the same
}

void TfrmAreaTest::middleListFollowsSelection()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QStringLiteral("insert into tbqydz values ('PICK', 'A01', 's04'),"
                                           " ('PICK', 'A01', 'S03'), ('PICK', 'A01', 'S99');"),
                            error),
             qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    fixture.server().clearCalls();

    QVERIFY(AreaWindowFixture::selectNode(window, QStringLiteral("A01 一号拣货区")));
    QCOMPARE(fixture.server().textsOf(QueryData),
             QStringList{QStringLiteral(
                 " select dz.*,ccqy.f_ccqymc from tbqydz dz left join tbccqyda ccqy on "
                 "dz.f_ccqybm=ccqy.f_ccqybm  where f_qylx='PICK' and dz.f_qybm='A01' order by "
                 "dz.f_ccqybm ")});
    // Sorted ignoring case; a mapping whose storage area is missing shows its code alone.
    QCOMPARE(AreaWindowFixture::lines(window->listDZ),
             (QStringList{QStringLiteral("S01 一号存储"), QStringLiteral("S03 三号存储"),
                          QStringLiteral("s04 小写存储"), QStringLiteral("S99 ")}));

    QVERIFY(AreaWindowFixture::selectNode(window, QStringLiteral("B01 补货区")));
    QCOMPARE(AreaWindowFixture::lines(window->listDZ), QStringList{QStringLiteral("S01 一号存储")});
    QVERIFY(fixture.server().textsOf(QueryData).last().contains(
        QStringLiteral("where f_qylx='PUT' and dz.f_qybm='B01'")));

    fixture.server().clearCalls();
    QVERIFY(AreaWindowFixture::selectNode(window, Put));
    QCOMPARE(window->listDZ->count(), 0);
    QVERIFY(fixture.server().calls().isEmpty());
    QCOMPARE(fixture.boxes().count(), 0);
}

void TfrmAreaTest::listsSelectByKeyboardAndShowTheirLinesToScreenReaders()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QStringLiteral("insert into tbqydz values ('PICK', 'A01', 's04'),"
                                           " ('PICK', 'A01', 'S03');"),
                            error),
             qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    QVERIFY(AreaWindowFixture::selectNode(window, QStringLiteral("A01 一号拣货区")));
    window->listDZ->setFocus();
    QTest::keyClick(window->listDZ, Qt::Key_Home);
    QTest::keyClick(window->listDZ, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(window->listDZ, Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(window->listDZ, Qt::Key_Space, Qt::ControlModifier);
    QCOMPARE(AreaWindowFixture::selectedLines(window->listDZ),
             (QStringList{QStringLiteral("S01 一号存储"), QStringLiteral("S03 三号存储"),
                          QStringLiteral("s04 小写存储")}));
    QTest::keyClick(window->listDZ, Qt::Key_Space, Qt::ControlModifier);

    for (StorageAreaList* list : {window->listDZ, window->listccqyda}) {
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list);
        QVERIFY(view);
        QCOMPARE(view->role(), QAccessible::List);
        QCOMPARE(view->text(QAccessible::Name), list->accessibleName());
        const QStringList lines = AreaWindowFixture::lines(list);
        const QStringList selected = AreaWindowFixture::selectedLines(list);
        QCOMPARE(view->childCount(), lines.size());
        for (int row = 0; row < view->childCount(); ++row) {
            QAccessibleInterface* line = view->child(row);
            QCOMPARE(line->text(QAccessible::Name), lines[row]);
            QCOMPARE(bool(line->state().selected), selected.contains(lines[row]));
        }
    }
    QCOMPARE(AreaWindowFixture::selectedLines(window->listDZ),
             (QStringList{QStringLiteral("S01 一号存储"), QStringLiteral("S03 三号存储")}));
}

void TfrmAreaTest::typingJumpsToTheFirstLineStartingWithIt_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("current");
    // Storage areas in list order: S03, S01, S02, s04, S04, S05.
    QTest::newRow("first of several") << QStringLiteral("S0") << QStringLiteral("S03 三号存储");
    QTest::newRow("letter case ignored") << QStringLiteral("s05") << QStringLiteral("S05 五号存储");
    QTest::newRow("lower-case line first")
        << QStringLiteral("S04") << QStringLiteral("s04 小写存储");
    QTest::newRow("no line, no move") << QStringLiteral("X") << QString();
}

void TfrmAreaTest::typingJumpsToTheFirstLineStartingWithIt()
{
    QFETCH(QString, typed);
    QFETCH(QString, current);
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    window->listccqyda->setCurrentIndex(QModelIndex()); // the search starts at the top
    QTest::keyClicks(window->listccqyda, typed);
    QCOMPARE(window->listccqyda->currentIndex().data().toString(), current);
}

void TfrmAreaTest::failedMappingQueryLeavesMiddleListEmpty()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    QVERIFY(AreaWindowFixture::selectNode(window, QStringLiteral("B01 补货区")));
    QCOMPARE(window->listDZ->count(), 1);
    fixture.server().failNext(QueryData, {QStringLiteral("连接中断"), QStringLiteral("请重试")});
    QVERIFY(AreaWindowFixture::selectNode(window, QStringLiteral("A01 一号拣货区")));
    QCOMPARE(fixture.boxes().texts(), QStringList{QStringLiteral("连接中断\r\n请重试")});
    QCOMPARE(fixture.boxes().last().owner, platform::windowHandle(window));
    QCOMPARE(window->listDZ->count(), 0);
}

void TfrmAreaTest::escapeClosesWindow()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    QPointer<TfrmArea> window = fixture.openWindow();
    QVERIFY(window);
    QTest::keyClick(window->TN, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!window);
}

void TfrmAreaTest::escapeHidesVisibleListView()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    QPointer<TfrmArea> window = fixture.openWindow();
    QVERIFY(window);
    QListView* listView = window->serverContext()->listView();
    QVERIFY(listView);
    listView->show();
    QTest::keyClick(window->listccqyda, Qt::Key_Escape, Qt::ShiftModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window);
    QVERIFY(!listView->isVisible());
}

void TfrmAreaTest::controlLClicksLocateOnce()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    testsupport::ModalScript dialogs;
    dialogs.queueResult(2);
    QSignalSpy locate(window->TbnLocate, &QToolButton::clicked);
    // Sent to the tree, the key travels up through the panels unhandled: still one click.
    QTest::keyClick(window->TN, Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(locate.count(), 1);
    QTest::keyClick(window, Qt::Key_L);
    QCOMPARE(locate.count(), 1);
}

void TfrmAreaTest::unboundControlKeysDoNothing()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    QPointer<TfrmArea> window = fixture.openWindow();
    QVERIFY(window);
    testsupport::ModalScript dialogs;
    QSignalSpy add(window->TbnAdd, &QToolButton::clicked);
    QSignalSpy remove(window->TbnDelete, &QToolButton::clicked);
    QSignalSpy locate(window->TbnLocate, &QToolButton::clicked);
    for (Qt::Key key : {Qt::Key_A, Qt::Key_D, Qt::Key_F})
        QTest::keyClick(window->TN, key, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window);
    QCOMPARE(add.count() + remove.count() + locate.count(), 0);
    QVERIFY(dialogs.seen().isEmpty());
}

void TfrmAreaTest::layoutNamesAndSizes()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("区域档案与对照"));
    const QStringList captions{QStringLiteral("增  加"), QStringLiteral("修  改"),
                               QStringLiteral("删  除"), QStringLiteral("定  位"),
                               QStringLiteral("助  手"), QStringLiteral("退  出")};
    const QList<QToolButton*> buttons{window->TbnAdd,    window->Tbnupdate, window->TbnDelete,
                                      window->TbnLocate, window->btnhand,   window->TbnExit};
    for (qsizetype index = 0; index < buttons.size(); ++index) {
        QCOMPARE(buttons[index]->text(), captions[index]);
        QCOMPARE(buttons[index]->size(), QSize(43, 35));
        QVERIFY(!buttons[index]->icon().isNull());
    }
    QCOMPARE(window->TbnAdd->toolTip(), QStringLiteral("增加一条记录 Ctrl+A"));
    QCOMPARE(window->TbnExit->toolTip(), QStringLiteral("退出 Esc"));
    QCOMPARE(window->TN->accessibleName(), QStringLiteral("区域编码与名称"));
    QCOMPARE(window->listDZ->accessibleName(), QStringLiteral("对应内容"));
    QCOMPARE(window->listccqyda->accessibleName(), QStringLiteral("存储区域编码和名称"));
    const QList<QPair<QPushButton*, int>> transfers{{window->btnToLeft, 139},
                                                    {window->btnToRight, 201},
                                                    {window->btnAllToLeft, 259},
                                                    {window->tbnAllToRight, 328}};
    for (const auto& [button, top] : transfers)
        QCOMPARE(button->geometry(), QRect(4, top, 22, 23));
    QCOMPARE(window->PanelLC->width(), 225);
    QCOMPARE(window->PanelL->width(), 241);
    QCOMPARE(window->PanelC->width(), 31);
}

void TfrmAreaTest::serverCallsShowBusyCursor()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    QVERIFY(AreaWindowFixture::selectNode(window, QStringLiteral("C01 管理区")));
    window->btnAllToLeft->click();
    QCOMPARE(fixture.server().calls().size(), 5);
    for (const RecordingServer::Call& call : fixture.server().calls())
        QVERIFY2(call.busyCursor, qPrintable(call.text));
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TfrmAreaTest::errorInHandlerIsShownAndWindowGoesOn()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    platform::DataTable noNames;
    noNames.columns = {QStringLiteral("f_qylx"), QStringLiteral("f_qybm"),
                       QStringLiteral("f_ccqybm")};
    noNames.rows = {
        {platform::Variant("PICK"), platform::Variant("A01"), platform::Variant("S01")}};
    fixture.server().answerNext(QueryData, true,
                                platform::Variant(platform::encodePacket(noNames)));
    QVERIFY(AreaWindowFixture::selectNode(window, QStringLiteral("A01 一号拣货区")));
    QCOMPARE(fixture.boxes().texts(), QStringList{QStringLiteral("Field 'f_ccqymc' not found")});
    QCOMPARE(fixture.boxes().last().owner, platform::windowHandle(window));
    QCOMPARE(window->listDZ->count(), 0);
    QVERIFY(AreaWindowFixture::selectNode(window, QStringLiteral("B01 补货区")));
    QCOMPARE(AreaWindowFixture::lines(window->listDZ), QStringList{QStringLiteral("S01 一号存储")});
}

QTEST_MAIN(TfrmAreaTest)
#include "TfrmAreaTest.moc"
