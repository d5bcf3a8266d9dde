// A clerk who loses a race with another clerk, or whose connection to the database server
// broke, reads first what happened in the system's language, then the database's message.
// Two real area windows on one database; the other clerk acts between the loser's check
// and the loser's batch.
#include "AreaSession.h"
#include "ScratchDatabase.h"
#include "SessionFixture.h"

#include "area/TFlatComboBox.h"
#include "area/TFlatEdit.h"
#include "area/TfrmArea.h"
#include "area/TfrmQyda.h"
#include "shared/TFlatButton.h"

#include <QtTest>
#include <memory>

namespace {

enum class Race {
    MapSelected,        // both press "<" for S03, the other clerk for A02
    MapAll,             // the other clerk maps S04 to A02 while the loser presses "<<" on A01
    AddSameCode,        // both add the area code X9
    MapIntoDeletedArea, // the other clerk deletes B01 while the loser maps S03 into it
};

const QString KindSnapshot = QStringLiteral("select f_qybm,f_ccqybm,f_qylx from tbqydz where");
const QString LostConnection =
    QStringLiteral("与数据库服务器的连接已断开，下一次操作将重新连接数据库");

// Selects exactly the line with this text in a list, through the item view's own API.
void selectOnlyLine(QAbstractItemView* list, const QString& text)
{
    list->selectionModel()->clearSelection();
    const QAbstractItemModel* model = list->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex index = model->index(row, 0);
        if (index.data().toString() == text)
            list->selectionModel()->select(index, QItemSelectionModel::Select);
    }
}

// Fills the other clerk's area dialog with a new area and confirms it.
SessionFixture::DialogDriver addAreaDriver(const QString& code, const QString& name)
{
    return [code, name](QDialog& dialog) {
        auto* area = qobject_cast<TfrmQyda*>(&dialog);
        if (!area)
            return int(QDialog::Rejected);
        area->show();
        area->cbqylx->setCurrentIndex(1);
        area->edtbm->setText(code);
        area->edtmc->setText(name);
        area->btnadd->click();
        area->hide();
        return area->result();
    };
}

// The database refuses a mapping of an area that does not exist, as its keys do.
QString areaKeyScript(const QString& backend)
{
    if (backend == QLatin1String(ScratchDatabase::Postgres))
        return QStringLiteral(
            "alter table tbqydz add foreign key (f_qybm) references tbqyda (f_qybm)");
    return QStringLiteral(
        "create trigger tbqydz_area_exists before insert on tbqydz when not exists "
        "(select 1 from tbqyda where f_qybm = new.f_qybm) "
        "begin select raise(abort, 'FOREIGN KEY constraint failed'); end;");
}

} // namespace

Q_DECLARE_METATYPE(Race)

class LostRaceTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loserReadsWhatCollided_data();
    void loserReadsWhatCollided();
    void lostConnectionIsNamedAndNextActionReconnects_data();
    void lostConnectionIsNamedAndNextActionReconnects();

private:
    bool openWarehouse(const QString& backend);

    std::unique_ptr<ScratchDatabase> m_database;
    std::unique_ptr<SessionFixture> m_fixture;
};

void LostRaceTest::init()
{
    m_database = std::make_unique<ScratchDatabase>();
    m_fixture = std::make_unique<SessionFixture>();
}

void LostRaceTest::cleanup()
{
    m_fixture.reset(); // closes the connection before the database is dropped
    m_database.reset();
}

bool LostRaceTest::openWarehouse(const QString& backend)
{
    QString error;
    const bool opened = m_database->create(backend, error) &&
                        SessionFixture::createWarehouse(m_database->database(), error) &&
                        m_fixture->attach(m_database->database(), error);
    if (!opened)
        qWarning("%s", qPrintable(error));
    return opened;
}

void LostRaceTest::loserReadsWhatCollided_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<Race>("race");
    QTest::addColumn<QString>("firstLine");
    for (const char* backend : {ScratchDatabase::Sqlite, ScratchDatabase::Postgres}) {
        const auto row = [backend](const char* name) -> QTestData& {
            return QTest::addRow("%s: %s", backend, name) << QString::fromLatin1(backend);
        };
        row("<") << Race::MapSelected << QStringLiteral("存储区域 S03 已对照到 拣货区域(PICK) A02");
        row("<<") << Race::MapAll << QStringLiteral("存储区域 S04 已对照到 拣货区域(PICK) A02");
        row("add") << Race::AddSameCode << QStringLiteral("区域编码 X9 已经存在");
        row("< into a deleted area")
            << Race::MapIntoDeletedArea << QStringLiteral("区域 B01 已不存在，请重新打开本窗口");
    }
}

void LostRaceTest::loserReadsWhatCollided()
{
    QFETCH(QString, backend);
    QFETCH(Race, race);
    QFETCH(QString, firstLine);
    if (const QString reason = ScratchDatabase::unavailableReason(backend); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    QVERIFY(openWarehouse(backend));
    if (race == Race::MapIntoDeletedArea) {
        QString error;
        QVERIFY2(m_fixture->run(areaKeyScript(backend), &error), qPrintable(error));
    }
    m_fixture->startWindow();
    TfrmArea* loser = m_fixture->window();
    const auto other = std::make_unique<TfrmArea>(nullptr);

    // What the other clerk does, and after which of the loser's calls.
    QString after = KindSnapshot;
    std::function<void()> otherClerk;
    switch (race) {
    case Race::MapSelected:
    case Race::MapAll:
        QVERIFY(select(loser, QStringLiteral("A01 一号拣货区")));
        selectOnlyLine(loser->listccqyda, QStringLiteral("S03 存储三"));
        QVERIFY(select(other.get(), QStringLiteral("A02 二号拣货区")));
        selectOnlyLine(other->listccqyda, race == Race::MapSelected ? QStringLiteral("S03 存储三")
                                                                    : QStringLiteral("S04 存储四"));
        otherClerk = [&] { other->btnToLeftClick(); };
        break;
    case Race::AddSameCode:
        after = QStringLiteral("Select f_qybm from tbqyda where f_qybm='X9'");
        otherClerk = [&] {
            m_fixture->setDialogDriver(addAreaDriver(QStringLiteral("X9"), QStringLiteral("其他")));
            other->TbnAddClick();
        };
        break;
    case Race::MapIntoDeletedArea:
        QVERIFY(select(loser, QStringLiteral("B01 A01备用")));
        selectOnlyLine(loser->listccqyda, QStringLiteral("S03 存储三"));
        QVERIFY(select(other.get(), QStringLiteral("B01 A01备用")));
        otherClerk = [&] { other->TbnDeleteClick(); };
        break;
    }
    bool raced = false;
    m_fixture->faults().setAfterCall([&](const testsupport::FaultInjectingServer::Call& call) {
        if (!raced && call.text.startsWith(after)) {
            raced = true;
            otherClerk();
        }
    });
    const TableDump before = m_fixture->dump();

    DialogOutcome outcome;
    switch (race) {
    case Race::MapSelected:
    case Race::MapIntoDeletedArea:
        loser->btnToLeftClick();
        break;
    case Race::MapAll:
        loser->btnAllToLeftClick();
        break;
    case Race::AddSameCode:
        addArea(*m_fixture, 0, QStringLiteral("X9"), QStringLiteral("九号"), outcome);
        break;
    }
    m_fixture->faults().setAfterCall({});

    QVERIFY(raced);
    QVERIFY(m_fixture->dump() != before); // the other clerk's change is stored
    QVERIFY(!m_fixture->messages().isEmpty());
    const QStringList lines = m_fixture->messages().last().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.value(0), QStringLiteral("错误|") + firstLine);
    QVERIFY2(lines.size() >= 2 && !lines[1].isEmpty(), "the database's own message follows");
}

void LostRaceTest::lostConnectionIsNamedAndNextActionReconnects_data()
{
    QTest::addColumn<bool>("batch"); // the broken connection meets a batch, else a query
    QTest::newRow("query") << false;
    QTest::newRow("batch") << true;
}

void LostRaceTest::lostConnectionIsNamedAndNextActionReconnects()
{
    QFETCH(bool, batch);
    const QString backend = QString::fromLatin1(ScratchDatabase::Postgres);
    if (const QString reason = ScratchDatabase::unavailableReason(backend); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    QVERIFY(openWarehouse(backend));
    m_fixture->startWindow();
    TfrmArea* window = m_fixture->window();
    QVERIFY(select(window, QStringLiteral("A01 一号拣货区")));
    QCOMPARE(window->listDZ->model()->rowCount(), 1);

    QString error;
    QVERIFY2(m_database->endSessions(error), qPrintable(error)); // as a server restart would
    const auto act = [&] {
        if (batch)
            window->tbnAllToRightClick();
        else
            QVERIFY(select(window, QStringLiteral("A02 二号拣货区")));
    };
    act();
    QCOMPARE(m_fixture->messages().size(), 1);
    const QStringList lines = m_fixture->messages().first().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.value(0), QStringLiteral("错误|") + LostConnection);
    QVERIFY(lines.size() >= 2); // libpq's own message follows

    if (!batch)
        QVERIFY(select(window, QStringLiteral("A01 一号拣货区")));
    act();
    QCOMPARE(m_fixture->messages().size(), 1);
    QCOMPARE(window->listDZ->model()->rowCount(), batch ? 0 : 1);
    QCOMPARE(m_fixture->dump().mappings.size(), batch ? 1 : 2);
}

QTEST_MAIN(LostRaceTest)
#include "LostRaceTest.moc"
