// The area window on a real data server: start-up states, the tree and the lists, the
// middle list following the selection, and the keys.
#include "AreaWindowFixture.h"
#include "area/TFlatEdit.h"
#include "area/TfrmQyda.h"
#include "platform/CoorDisp.h"
#include "shared/TFlatButton.h"
#include "shared/TNelvoClass.h"
#include "support/ModalScript.h"

#include <QAccessible>
#include <QHelpEvent>
#include <QListView>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <cmath>

using platform::CoorDisp::QueryData;

namespace {

const QString Pick = QStringLiteral("拣货区域(PICK)");
const QString Put = QStringLiteral("上架补货区域(PUT)");
const QString MPick = QStringLiteral("拣货管理区域(MPICK)");

// The texts of the selected lines of a list, in list order (item view API only).
QStringList selectedTexts(const QAbstractItemView* list)
{
    QStringList texts;
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (list->selectionModel()->isSelected(index))
            texts.append(index.data().toString());
    }
    return texts;
}

void selectTexts(QAbstractItemView* list, const QStringList& texts)
{
    list->selectionModel()->clearSelection();
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (texts.contains(index.data().toString()))
            list->selectionModel()->select(index, QItemSelectionModel::Select);
    }
}

// WCAG contrast ratio of two colours (1 to 21).
double contrast(const QColor& a, const QColor& b)
{
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) +
               0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

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
    void unboundControlKeysDoNothing_data();
    void unboundControlKeysDoNothing();
    void selectedNodeCannotBeDeselected_data();
    void selectedNodeCannotBeDeselected();
    void tabAndSpaceReachTransferButtons();
    void toolbarCaptionsWholeAndReadable();
    void cutNodeTextShowsAsToolTip();
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
    QTest::newRow("unknown operator")
        << QStringLiteral("delete from tbZyda;") << QStringLiteral("取得制单人名称时出错！！")
        << QStringLiteral("错误") << platform::MessageBoxIcon::Stop;
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

    // The area dialog still opens, but its OK shows the refusal again and stores nothing.
    testsupport::ModalScript dialogs;
    dialogs.queue([](QDialog& dialog) {
        auto& area = static_cast<TfrmQyda&>(dialog);
        area.show();
        area.edtbm->setText(QStringLiteral("Z01"));
        area.edtmc->setText(QStringLiteral("不该存"));
        area.btnadd->click();
        area.hide();
        return 0;
    });
    window->TbnAddClick();
    QCOMPARE(dialogs.pending(), 0);
    QCOMPARE(fixture.boxes().count(), 2);
    QCOMPARE(fixture.boxes().last().text, text);
    QCOMPARE(fixture.boxes().last().caption, caption);
    QVERIFY(fixture.server().textsOf(platform::CoorDisp::ExecuteBatch).isEmpty());
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

void TfrmAreaTest::unboundControlKeysDoNothing_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    const QStringList controls{
        "TbnAdd", "Tbnupdate", "TbnDelete",  "TbnLocate",    "btnhand",       "TbnExit",   "TN",
        "listDZ", "btnToLeft", "btnToRight", "btnAllToLeft", "tbnAllToRight", "listccqyda"};
    for (const QString& control : controls) {
        QTest::addRow("%s Ctrl+A", qPrintable(control)) << control << int(Qt::Key_A);
        QTest::addRow("%s Ctrl+D", qPrintable(control)) << control << int(Qt::Key_D);
        QTest::addRow("%s Ctrl+F", qPrintable(control)) << control << int(Qt::Key_F);
    }
}

void TfrmAreaTest::unboundControlKeysDoNothing()
{
    QFETCH(QString, control);
    QFETCH(int, key);
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(
        fixture.create(QStringLiteral("insert into tbqydz values ('PICK', 'A01', 'S03');"), error),
        qPrintable(error));
    QPointer<TfrmArea> window = fixture.openWindow();
    QVERIFY(window);
    QVERIFY(AreaWindowFixture::selectNode(window, QStringLiteral("A01 一号拣货区")));
    selectTexts(window->listDZ, {QStringLiteral("S01 一号存储")});
    selectTexts(window->listccqyda, {QStringLiteral("S02 二号存储")});
    QTreeWidgetItem* selected = window->selectedNode();
    QVERIFY(selected);
    auto* target = window->findChild<QWidget*>(control);
    QVERIFY(target);
    QVERIFY(target->focusPolicy() & Qt::TabFocus); // a control the clerk can be in
    target->setFocus();
    fixture.server().clearCalls();

    testsupport::ModalScript dialogs;
    QSignalSpy add(window->TbnAdd, &QToolButton::clicked);
    QSignalSpy remove(window->TbnDelete, &QToolButton::clicked);
    QSignalSpy locate(window->TbnLocate, &QToolButton::clicked);
    QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window);
    QCOMPARE(add.count() + remove.count() + locate.count(), 0);
    QVERIFY(dialogs.seen().isEmpty());
    QVERIFY(fixture.server().calls().isEmpty());
    QCOMPARE(window->selectedNode(), selected);
    QCOMPARE(selectedTexts(window->listDZ), QStringList{QStringLiteral("S01 一号存储")});
    QCOMPARE(selectedTexts(window->listccqyda), QStringList{QStringLiteral("S02 二号存储")});
}

void TfrmAreaTest::selectedNodeCannotBeDeselected_data()
{
    QTest::addColumn<bool>("byKey"); // Ctrl+Space, else Ctrl+click
    QTest::newRow("Ctrl+click") << false;
    QTest::newRow("Ctrl+Space") << true;
}

void TfrmAreaTest::selectedNodeCannotBeDeselected()
{
    QFETCH(bool, byKey);
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    QVERIFY(AreaWindowFixture::selectNode(window, QStringLiteral("A01 一号拣货区")));
    QTreeWidgetItem* node = window->TN->currentItem();
    window->TN->setFocus();
    if (byKey)
        QTest::keyClick(window->TN, Qt::Key_Space, Qt::ControlModifier);
    else
        QTest::mouseClick(window->TN->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          window->TN->visualItemRect(node).center());
    // What the clerk sees selected is what the actions work on.
    QCOMPARE(window->TN->currentItem(), node);
    QCOMPARE(window->TN->selectedItems(), QList<QTreeWidgetItem*>{node});
    QCOMPARE(window->selectedNode(), node);
    QCOMPARE(AreaWindowFixture::lines(window->listDZ), QStringList{QStringLiteral("S01 一号存储")});
}

void TfrmAreaTest::tabAndSpaceReachTransferButtons()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    QWidget* top = window->window();
    top->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(top));
    QVERIFY(AreaWindowFixture::selectNode(window, QStringLiteral("A01 一号拣货区")));
    selectTexts(window->listccqyda, {QStringLiteral("S03 三号存储")});

    window->listDZ->setFocus();
    const QList<QWidget*> order{window->btnToLeft, window->btnToRight, window->btnAllToLeft,
                                window->tbnAllToRight, window->listccqyda};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    for (int back = 0; back < 4; ++back)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), window->btnToLeft);
    fixture.server().clearCalls();
    QTest::keyClick(window->btnToLeft, Qt::Key_Space);
    QCOMPARE(fixture.server().textsOf(platform::CoorDisp::ExecuteBatch),
             QStringList{QStringLiteral(
                 "Insert into tbQydz(f_qylx,f_qybm,f_ccqybm) values('PICK','A01','S03'); ")});
    QVERIFY(AreaWindowFixture::lines(window->listDZ).contains(QStringLiteral("S03 三号存储")));
}

void TfrmAreaTest::toolbarCaptionsWholeAndReadable()
{
    AreaWindowFixture fixture;
    QString error;
    QVERIFY2(fixture.create(QString(), error), qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    const QList<QToolButton*> buttons{window->TbnAdd,    window->Tbnupdate, window->TbnDelete,
                                      window->TbnLocate, window->btnhand,   window->TbnExit};
    for (QToolButton* button : buttons) {
        // Inside the bar, so the header row below does not cover its lower part.
        QVERIFY2(window->ToolBar->rect().contains(button->geometry()),
                 qPrintable(button->objectName()));
        // The caption's ink (below the picture) stands out from the face and ends above the
        // button's bottom edge: the whole caption is drawn.
        const QImage image = button->grab().toImage();
        const QColor face = image.pixelColor(1, image.height() - 1);
        double best = 1;
        int lowestInk = -1;
        for (int y = 18; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const double ratio = contrast(image.pixelColor(x, y), face);
                best = std::max(best, ratio);
                if (ratio >= 3)
                    lowestInk = y;
            }
        }
        QVERIFY2(best >= 4.5,
                 qPrintable(QStringLiteral("%1: contrast %2").arg(button->objectName()).arg(best)));
        QVERIFY2(lowestInk >= 0 && lowestInk < image.height() - 1,
                 qPrintable(QStringLiteral("%1: caption reaches row %2 of %3")
                                .arg(button->objectName())
                                .arg(lowestInk)
                                .arg(image.height())));
    }
}

void TfrmAreaTest::cutNodeTextShowsAsToolTip()
{
    AreaWindowFixture fixture;
    QString error;
    const QString longName = QString(30, QChar(0x533A));
    QVERIFY2(fixture.create(
                 QStringLiteral("insert into tbQyda values ('A09', '%1', 'PICK');").arg(longName),
                 error),
             qPrintable(error));
    TfrmArea* window = fixture.openWindow();
    QVERIFY(window);
    window->FlatSplitter1->setSizes({150, 700});
    QApplication::processEvents();
    const auto hoverOver = [window](const QString& text) {
        const QList<QTreeWidgetItem*> found =
            window->TN->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        if (found.size() != 1)
            return false;
        const QPoint centre = window->TN->visualItemRect(found.front()).center();
        QHelpEvent event(QEvent::ToolTip, centre, window->TN->viewport()->mapToGlobal(centre));
        QApplication::sendEvent(window->TN->viewport(), &event);
        return true;
    };
    const QString cut = QStringLiteral("A09 ") + longName;
    QVERIFY(hoverOver(cut));
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), cut);
    QVERIFY(hoverOver(QStringLiteral("B01 补货区"))); // fits: no tooltip
    QTRY_VERIFY(!QToolTip::isVisible());
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
