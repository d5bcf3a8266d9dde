// The four transfer buttons on a real data server: what each sends, byte for byte, what it
// changes in the lists and in the database, its silent cases and its failure path.
#include "AreaWindowFixture.h"
#include "platform/CoorDisp.h"

#include <QTest>

using platform::CoorDisp::ExecuteBatch;
using platform::CoorDisp::QueryData;

namespace {

const QString PickRoot = QStringLiteral("拣货区域(PICK)");
const QString A01 = QStringLiteral("A01 一号拣货区");
const QString B01 = QStringLiteral("B01 补货区");
const QString C01 = QStringLiteral("C01 管理区");
const QString S01 = QStringLiteral("S01 一号存储");
const QString S02 = QStringLiteral("S02 二号存储");
const QString S03 = QStringLiteral("S03 三号存储");
const QString S04 = QStringLiteral("S04 小写存储");
const QString s04 = QStringLiteral("s04 小写存储");
const QString S05 = QStringLiteral("S05 五号存储");

enum class Button { ToLeft, ToRight, AllToLeft, AllToRight };

QPushButton* buttonOf(TfrmArea* window, Button button)
{
    switch (button) {
    case Button::ToLeft:
        return window->btnToLeft;
    case Button::ToRight:
        return window->btnToRight;
    case Button::AllToLeft:
        return window->btnAllToLeft;
    case Button::AllToRight:
        return window->tbnAllToRight;
    }
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Button)

class AreaTransfersTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void nothingWithoutAnArea_data();
    void nothingWithoutAnArea();
    void mapSelected();
    void mapSelectedSkipsTakenLines();
    void mapSelectedTwiceSendsOnce();
    void mappedInOneKindStillFreeInAnother();
    void unmapSelected();
    void unmapSelectedNeedsASelection();
    void mapAllFree();
    void mapAllWhenNothingIsFreeSendsEmptyBatch();
    void unmapAll();
    void unmapAllWithEmptyMiddleListSendsNothing();
    void failedReloadAfterUnmapAllKeepsStorageAreas();
    void failedBatchLeavesListsAsTheyWere_data();
    void failedBatchLeavesListsAsTheyWere();
    void failedMappingQuerySendsNoBatch();
    void quoteInACodeStaysInsideItsLiteral();

private:
    TfrmArea* m_window = nullptr;
    std::unique_ptr<AreaWindowFixture> m_fixture;
    RecordingServer& server() { return m_fixture->server(); }
};

void AreaTransfersTest::init()
{
    m_fixture = std::make_unique<AreaWindowFixture>();
    QString error;
    QVERIFY2(m_fixture->create(QString(), error), qPrintable(error));
    m_window = m_fixture->openWindow();
    QVERIFY(m_window);
    QCOMPARE(m_fixture->boxes().count(), 0);
}

void AreaTransfersTest::cleanup()
{
    m_fixture.reset();
    m_window = nullptr;
}

void AreaTransfersTest::nothingWithoutAnArea_data()
{
    QTest::addColumn<Button>("button");
    QTest::addColumn<bool>("selectRoot");
    for (bool root : {false, true}) {
        const char* where = root ? "root" : "nothing";
        QTest::addRow("< on %s", where) << Button::ToLeft << root;
        QTest::addRow("> on %s", where) << Button::ToRight << root;
        QTest::addRow("<< on %s", where) << Button::AllToLeft << root;
        QTest::addRow(">> on %s", where) << Button::AllToRight << root;
    }
}

void AreaTransfersTest::nothingWithoutAnArea()
{
    QFETCH(Button, button);
    QFETCH(bool, selectRoot);
    if (selectRoot)
        QVERIFY(AreaWindowFixture::selectNode(m_window, PickRoot));
    AreaWindowFixture::selectLines(m_window->listccqyda, {S03, S05});
    server().clearCalls();
    buttonOf(m_window, button)->click();
    QVERIFY(server().calls().isEmpty());
    QCOMPARE(m_fixture->boxes().count(), 0);
    QCOMPARE(m_window->listDZ->count(), 0);
}

void AreaTransfersTest::mapSelected()
{
    QVERIFY(AreaWindowFixture::selectNode(m_window, C01));
    AreaWindowFixture::selectLines(m_window->listccqyda, {S05, S03});
    AreaWindowFixture::selectLines(m_window->listDZ, {s04});
    server().clearCalls();
    m_window->btnToLeft->click();
    QCOMPARE(server().textsOf(QueryData),
             QStringList{
                 QStringLiteral("select f_qybm,f_ccqybm,f_qylx from tbqydz where f_qylx='MPICK'")});
    QCOMPARE(server().textsOf(ExecuteBatch),
             QStringList{QStringLiteral(
                 "Insert into tbQydz(f_qylx,f_qybm,f_ccqybm) values('MPICK','C01','S03'); "
                 "Insert into tbQydz(f_qylx,f_qybm,f_ccqybm) values('MPICK','C01','S05'); ")});
    QCOMPARE(AreaWindowFixture::lines(m_window->listDZ), (QStringList{S03, s04, S05}));
    // The lines merged in around it leave the mapping list's selection on its line.
    QCOMPARE(AreaWindowFixture::selectedLines(m_window->listDZ), QStringList{s04});
    QCOMPARE(AreaWindowFixture::selectedLines(m_window->listccqyda), (QStringList{S03, S05}));
    QVERIFY(m_fixture->mappingRows().contains(QStringLiteral("MPICK C01 S05")));
    QCOMPARE(m_fixture->boxes().count(), 0);
}

void AreaTransfersTest::mapSelectedSkipsTakenLines()
{
    // S02 is mapped to A02 in PICK; S04 differs from the shown s04 only in letter case.
    QVERIFY(AreaWindowFixture::selectNode(m_window, A01));
    AreaWindowFixture::selectLines(m_window->listccqyda, {S02, S01});
    server().clearCalls();
    m_window->btnToLeft->click();
    QCOMPARE(server().textsOf(QueryData).size(), 1);
    QVERIFY(server().textsOf(ExecuteBatch).isEmpty());
    QCOMPARE(AreaWindowFixture::lines(m_window->listDZ), QStringList{S01});

    QVERIFY(AreaWindowFixture::selectNode(m_window, C01));
    AreaWindowFixture::selectLines(m_window->listccqyda, {S04});
    server().clearCalls();
    m_window->btnToLeft->click();
    QVERIFY(server().textsOf(ExecuteBatch).isEmpty());
    QCOMPARE(AreaWindowFixture::lines(m_window->listDZ), QStringList{s04});
    QCOMPARE(m_fixture->boxes().count(), 0);
}

void AreaTransfersTest::mapSelectedTwiceSendsOnce()
{
    QVERIFY(AreaWindowFixture::selectNode(m_window, C01));
    AreaWindowFixture::selectLines(m_window->listccqyda, {S01, S02});
    m_window->btnToLeft->click();
    server().clearCalls();
    m_window->btnToLeft->click();
    QCOMPARE(server().textsOf(QueryData).size(), 1);
    QVERIFY(server().textsOf(ExecuteBatch).isEmpty());
    QCOMPARE(AreaWindowFixture::lines(m_window->listDZ), (QStringList{S01, S02, s04}));
}

void AreaTransfersTest::mappedInOneKindStillFreeInAnother()
{
    // S02 is mapped to A02 as PICK; B01 is a PUT area.
    QVERIFY(AreaWindowFixture::selectNode(m_window, B01));
    AreaWindowFixture::selectLines(m_window->listccqyda, {S02});
    server().clearCalls();
    m_window->btnToLeft->click();
    QCOMPARE(server().textsOf(ExecuteBatch),
             QStringList{QStringLiteral(
                 "Insert into tbQydz(f_qylx,f_qybm,f_ccqybm) values('PUT','B01','S02'); ")});
    QCOMPARE(AreaWindowFixture::lines(m_window->listDZ), (QStringList{S01, S02}));
    QCOMPARE(m_fixture->mappingRows(),
             (QStringList{QStringLiteral("MPICK C01 s04"), QStringLiteral("PICK A01 S01"),
                          QStringLiteral("PICK A02 S02"), QStringLiteral("PUT B01 S01"),
                          QStringLiteral("PUT B01 S02")}));
}

void AreaTransfersTest::unmapSelected()
{
    QVERIFY(server().textsOf(ExecuteBatch).isEmpty());
    QVERIFY(AreaWindowFixture::selectNode(m_window, C01));
    AreaWindowFixture::selectLines(m_window->listccqyda, {S01, S03, S05});
    m_window->btnToLeft->click();
    AreaWindowFixture::selectLines(m_window->listDZ, {S01, S05});
    server().clearCalls();
    m_window->btnToRight->click();
    QVERIFY(server().textsOf(QueryData).isEmpty());
    QCOMPARE(
        server().textsOf(ExecuteBatch),
        QStringList{QStringLiteral(
            "delete from  tbqydz  where f_qylx='MPICK' and f_qybm='C01' and  f_ccqybm='S01'; "
            "delete from  tbqydz  where f_qylx='MPICK' and f_qybm='C01' and  f_ccqybm='S05'; ")});
    QCOMPARE(AreaWindowFixture::lines(m_window->listDZ), (QStringList{S03, s04}));
    // The right-hand list keeps its selection.
    QCOMPARE(AreaWindowFixture::selectedLines(m_window->listccqyda), (QStringList{S03, S01, S05}));
    QCOMPARE(m_fixture->mappingRows(),
             (QStringList{QStringLiteral("MPICK C01 S03"), QStringLiteral("MPICK C01 s04"),
                          QStringLiteral("PICK A01 S01"), QStringLiteral("PICK A02 S02"),
                          QStringLiteral("PUT B01 S01")}));
}

void AreaTransfersTest::unmapSelectedNeedsASelection()
{
    QVERIFY(AreaWindowFixture::selectNode(m_window, A01));
    server().clearCalls();
    m_window->btnToRight->click();
    QVERIFY(server().calls().isEmpty());
    QCOMPARE(AreaWindowFixture::lines(m_window->listDZ), QStringList{S01});
}

void AreaTransfersTest::mapAllFree()
{
    QVERIFY(AreaWindowFixture::selectNode(m_window, C01));
    server().clearCalls();
    m_window->btnAllToLeft->click();
    QCOMPARE(server().textsOf(QueryData).size(), 1);
    // In right-hand order; s04 is mapped, S04 is shown as s04 ignoring case.
    QCOMPARE(server().textsOf(ExecuteBatch),
             QStringList{QStringLiteral(
                 "insert into  tbqydz(f_qylx,f_qybm,f_ccqybm) values('MPICK','C01','S03') ;"
                 "insert into  tbqydz(f_qylx,f_qybm,f_ccqybm) values('MPICK','C01','S01') ;"
                 "insert into  tbqydz(f_qylx,f_qybm,f_ccqybm) values('MPICK','C01','S02') ;"
                 "insert into  tbqydz(f_qylx,f_qybm,f_ccqybm) values('MPICK','C01','S05') ;")});
    // Sorted as a user reads it: s04 between S03 and S05.
    QCOMPARE(AreaWindowFixture::lines(m_window->listDZ), (QStringList{S01, S02, S03, s04, S05}));
}

void AreaTransfersTest::mapAllWhenNothingIsFreeSendsEmptyBatch()
{
    QVERIFY(AreaWindowFixture::selectNode(m_window, C01));
    m_window->btnAllToLeft->click();
    const QStringList before = AreaWindowFixture::lines(m_window->listDZ);
    server().clearCalls();
    m_window->btnAllToLeft->click();
    QCOMPARE(server().textsOf(QueryData).size(), 1);
    QCOMPARE(server().textsOf(ExecuteBatch), QStringList{QString()});
    QCOMPARE(AreaWindowFixture::lines(m_window->listDZ), before);
}

void AreaTransfersTest::unmapAll()
{
    QVERIFY(AreaWindowFixture::selectNode(m_window, A01));
    AreaWindowFixture::selectLines(m_window->listccqyda, {S03});
    server().clearCalls();
    m_window->tbnAllToRight->click();
    QCOMPARE(
        server().textsOf(ExecuteBatch),
        QStringList{QStringLiteral("Delete from tbqydz where f_qylx='PICK' and f_qybm='A01'")});
    QCOMPARE(server().textsOf(QueryData), QStringList{QStringLiteral("Select * from tbCCQyda ")});
    QCOMPARE(m_window->listDZ->count(), 0);
    QCOMPARE(m_window->listccqyda->count(), 6);
    QVERIFY(m_window->listccqyda->selectedRows().empty());
    QVERIFY(!m_fixture->mappingRows().contains(QStringLiteral("PICK A01 S01")));
}

void AreaTransfersTest::unmapAllWithEmptyMiddleListSendsNothing()
{
    QVERIFY(AreaWindowFixture::selectNode(m_window, A01));
    AreaWindowFixture::selectLines(m_window->listDZ, {S01});
    m_window->btnToRight->click();
    QCOMPARE(m_window->listDZ->count(), 0);
    server().clearCalls();
    m_window->tbnAllToRight->click();
    QVERIFY(server().calls().isEmpty());
}

void AreaTransfersTest::failedReloadAfterUnmapAllKeepsStorageAreas()
{
    QVERIFY(AreaWindowFixture::selectNode(m_window, A01));
    AreaWindowFixture::selectLines(m_window->listccqyda, {S03});
    server().failNext(QueryData, {QStringLiteral("读取存储区域失败")});
    m_window->tbnAllToRight->click();
    QCOMPARE(m_fixture->boxes().texts(), QStringList{QStringLiteral("读取存储区域失败")});
    QCOMPARE(m_window->listDZ->count(), 0); // the mappings are gone on the server
    QCOMPARE(m_window->listccqyda->count(), 6);
    QCOMPARE(AreaWindowFixture::selectedLines(m_window->listccqyda), QStringList{S03});
}

void AreaTransfersTest::failedBatchLeavesListsAsTheyWere_data()
{
    QTest::addColumn<Button>("button");
    QTest::newRow("<") << Button::ToLeft;
    QTest::newRow(">") << Button::ToRight;
    QTest::newRow("<<") << Button::AllToLeft;
    QTest::newRow(">>") << Button::AllToRight;
}

void AreaTransfersTest::failedBatchLeavesListsAsTheyWere()
{
    QFETCH(Button, button);
    QVERIFY(AreaWindowFixture::selectNode(m_window, C01));
    AreaWindowFixture::selectLines(m_window->listccqyda, {S01, S02});
    AreaWindowFixture::selectLines(m_window->listDZ, {s04});
    const QStringList middle = AreaWindowFixture::lines(m_window->listDZ);
    const QStringList right = AreaWindowFixture::lines(m_window->listccqyda);
    const QStringList rows = m_fixture->mappingRows();
    server().failNext(ExecuteBatch, {QStringLiteral("违反唯一约束")});
    buttonOf(m_window, button)->click();
    QCOMPARE(server().textsOf(ExecuteBatch).size(), 1);
    QCOMPARE(m_fixture->boxes().texts(), QStringList{QStringLiteral("违反唯一约束")});
    QCOMPARE(m_fixture->boxes().last().caption, QStringLiteral("错误"));
    QCOMPARE(m_fixture->boxes().last().owner, platform::windowHandle(m_window));
    QCOMPARE(AreaWindowFixture::lines(m_window->listDZ), middle);
    QCOMPARE(AreaWindowFixture::selectedLines(m_window->listDZ), QStringList{s04});
    QCOMPARE(AreaWindowFixture::lines(m_window->listccqyda), right);
    QCOMPARE(AreaWindowFixture::selectedLines(m_window->listccqyda), (QStringList{S01, S02}));
    QCOMPARE(m_fixture->mappingRows(), rows);
}

void AreaTransfersTest::failedMappingQuerySendsNoBatch()
{
    for (QPushButton* button : {m_window->btnToLeft, m_window->btnAllToLeft}) {
        QVERIFY(AreaWindowFixture::selectNode(m_window, C01));
        AreaWindowFixture::selectLines(m_window->listccqyda, {S01});
        m_fixture->boxes().clear();
        server().clearCalls();
        server().failNext(QueryData, {QStringLiteral("查询失败")});
        button->click();
        QVERIFY(server().textsOf(ExecuteBatch).isEmpty());
        QCOMPARE(m_fixture->boxes().texts(), QStringList{QStringLiteral("查询失败")});
        QCOMPARE(AreaWindowFixture::lines(m_window->listDZ), QStringList{s04});
    }
}

void AreaTransfersTest::quoteInACodeStaysInsideItsLiteral()
{
    m_fixture = std::make_unique<AreaWindowFixture>();
    QString error;
    QVERIFY2(m_fixture->create(QStringLiteral("insert into tbQyda values ('D''1', '引号区', 'PUT');"
                                              "insert into tbCCQyda values ('S''9', '引号存储');"),
                               error),
             qPrintable(error));
    TfrmArea* window = m_fixture->openWindow();
    QVERIFY(window);
    QVERIFY(AreaWindowFixture::selectNode(window, QStringLiteral("D'1 引号区")));
    AreaWindowFixture::selectLines(window->listccqyda, {QStringLiteral("S'9 引号存储")});
    server().clearCalls();
    window->btnToLeft->click();
    QCOMPARE(server().textsOf(ExecuteBatch),
             QStringList{QStringLiteral(
                 "Insert into tbQydz(f_qylx,f_qybm,f_ccqybm) values('PUT','D''1','S''9'); ")});
    QCOMPARE(m_fixture->boxes().count(), 0);
    QVERIFY(m_fixture->mappingRows().contains(QStringLiteral("PUT D'1 S'9")));
    QCOMPARE(AreaWindowFixture::lines(window->listDZ), QStringList{QStringLiteral("S'9 引号存储")});
}

QTEST_MAIN(AreaTransfersTest)
#include "AreaTransfersTest.moc"
