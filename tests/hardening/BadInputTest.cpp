// Hostile and unusual texts typed into the real dialogs, taken from the real lists, and
// stored in the database behind the module's back: each is stored and shown exactly or
// refused with a message, and no statement ever does something else.
#include "AreaSession.h"
#include "BackendRows.h"
#include "ScratchDatabase.h"
#include "SessionFixture.h"

#include "area/TfrmArea.h"

#include <QtTest>

namespace {

const QStringList OriginalAreas{
    QStringLiteral("A01|一号拣货区|PICK"), QStringLiteral("A02|二号拣货区|PICK"),
    QStringLiteral("B01|A01备用|PUT"), QStringLiteral("M01|管理区|MPICK")};
const QStringList OriginalMappings{QStringLiteral("PICK|A01|S01"), QStringLiteral("PICK|A02|S02")};

QString withNul()
{
    return QStringLiteral("前") + QChar(0) + QStringLiteral("后");
}

} // namespace

class BadInputTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void typedAreaIsStoredExactlyOrRefused_data();
    void typedAreaIsStoredExactlyOrRefused();
    void storageCodesFromTheListStayLiteral_data();
    void storageCodesFromTheListStayLiteral();
    void storedNullsAndBrokenTextAreShown_data();
    void storedNullsAndBrokenTextAreShown();
    void searchTextIsMatchedLiterally_data();
    void searchTextIsMatchedLiterally();

private:
    // A fresh database of backend with the warehouse rows, attached to the fixture; the
    // error, empty when it worked.
    QString attachDatabase(const QString& backend);
    bool openWindow(const QString& backend);

    std::unique_ptr<ScratchDatabase> m_database;
    std::unique_ptr<SessionFixture> m_fixture;
};

void BadInputTest::init()
{
    m_database = std::make_unique<ScratchDatabase>();
    m_fixture = std::make_unique<SessionFixture>();
}

void BadInputTest::cleanup()
{
    m_fixture.reset();
    m_database.reset();
}

QString BadInputTest::attachDatabase(const QString& backend)
{
    QString error;
    if (!m_database->create(backend, error) ||
        !SessionFixture::createWarehouse(m_database->database(), error) ||
        !m_fixture->attach(m_database->database(), error))
        return error.isEmpty() ? QStringLiteral("no database") : error;
    return {};
}

bool BadInputTest::openWindow(const QString& backend)
{
    if (const QString error = attachDatabase(backend); !error.isEmpty()) {
        qWarning("%s", qPrintable(error));
        return false;
    }
    m_fixture->startWindow();
    return m_fixture->messages().isEmpty();
}

void BadInputTest::typedAreaIsStoredExactlyOrRefused_data()
{
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("refusal"); // pattern of the message of a refusal
    const QString longText(10000, QLatin1Char('N'));
    struct Case {
        const char* tag;
        QString code;
        QString name;
        bool stored;
        QString refusal;
    };
    const QList<Case> cases{
        {"quotes", QStringLiteral("Q'1"), QStringLiteral("O'Brien''s '"), true, {}},
        {"drop table in name",
         QStringLiteral("D1"),
         QStringLiteral("'; DROP TABLE tbQyda; --"),
         true,
         {}},
        {"drop table in code", QStringLiteral("';DROP--"), QStringLiteral("x"), true, {}},
        {"backslashes", QStringLiteral("B\\1"), QStringLiteral("C:\\路径\\'末\\"), true, {}},
        {"percent and underscore", QStringLiteral("P%_1"), QStringLiteral("100%_满"), true, {}},
        {"control characters",
         QStringLiteral("T\t1"),
         QStringLiteral("行一\n行二\r\x01\x1f"),
         true,
         {}},
        {"emoji and beyond GB2312", QStringLiteral("E1"), QStringLiteral("表情😀𠀀€"), true, {}},
        {"nul in name", QStringLiteral("Z1"), withNul(), false, QStringLiteral("^错误\\|.*NUL")},
        {"nul in code", QStringLiteral("Z") + QChar(0), QStringLiteral("名"), false,
         QStringLiteral("^错误\\|.*NUL")},
        // The name edit takes no more than the 60 characters the database keeps (the edit's
        // own cut is tested with the dialog); 58 leave room for the rename's "'2".
        {"58 character name", QStringLiteral("L1"), longText.left(58), true, QString()},
        {"10000 character code", longText, QStringLiteral("名"), false,
         QStringLiteral("^错误\\|.*20")},
        // Taken back out of the node text, the code would end at the blank and address
        // another area (here B01).
        {"blank inside code", QStringLiteral("B01 Z"), QStringLiteral("新"), false,
         QStringLiteral("^信息\\|区域编码不能包含空格！$")},
    };
    for (const char* backend : {ScratchDatabase::Sqlite, ScratchDatabase::Postgres})
        for (const Case& c : cases)
            QTest::addRow("%s, %s", backend, c.tag)
                << QString::fromLatin1(backend) << c.code << c.name << c.stored << c.refusal;
}

void BadInputTest::typedAreaIsStoredExactlyOrRefused()
{
    QFETCH(QString, backend);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(bool, stored);
    QFETCH(QString, refusal);
    if (const QString reason = ScratchDatabase::unavailableReason(backend); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    QVERIFY(openWindow(backend));
    TfrmArea* window = m_fixture->window();
    const WindowState before = captureState(window);
    const QString nodeText = code + QLatin1Char(' ') + name;

    DialogOutcome outcome;
    addArea(*m_fixture, 1, code, name, outcome);
    const TableDump tables = m_fixture->dump();
    QCOMPARE(tables.mappings, OriginalMappings);
    if (!stored) {
        // The server's error list naming the cause, or the dialog's own refusal.
        QCOMPARE(m_fixture->messages().size(), 1);
        const QRegularExpression expected(refusal, QRegularExpression::DotMatchesEverythingOption);
        QVERIFY2(expected.match(m_fixture->messages().first()).hasMatch(),
                 qPrintable(m_fixture->messages().first().left(200)));
        QCOMPARE(tables.areas, OriginalAreas);
        QCOMPARE(captureState(window), before);
        QCOMPARE(outcome, (DialogOutcome{true, true, code, name}));
        return;
    }
    QCOMPARE(m_fixture->messages(), QStringList());
    QStringList areas = OriginalAreas;
    areas << code + QLatin1Char('|') + name + QStringLiteral("|PUT");
    areas.sort();
    QCOMPARE(tables.areas, areas);
    QCOMPARE(window->rootNodes[1]->child(window->rootNodes[1]->childCount() - 1)->text(0),
             nodeText);

    // Reloaded from the database it reads the same; renamed and deleted by its own code.
    window->LoadAreaTree();
    QVERIFY(select(window, nodeText));
    renameSelectedArea(*m_fixture, name + QStringLiteral("'2"), outcome);
    QCOMPARE(window->TN->currentItem()->text(0), nodeText + QStringLiteral("'2"));
    QVERIFY(m_fixture->dump().areas.contains(code + QLatin1Char('|') + name +
                                             QStringLiteral("'2|PUT")));
    window->TbnDelete->click();
    QCOMPARE(m_fixture->dump(), (TableDump{OriginalAreas, OriginalMappings}));
    QCOMPARE(m_fixture->messages(), QStringList{QStringLiteral("提示：|确定要删除此区域档案嘛？")});
}

void BadInputTest::storageCodesFromTheListStayLiteral_data()
{
    addBackendRows();
}

void BadInputTest::storageCodesFromTheListStayLiteral()
{
    QFETCH(QString, backend);
    if (const QString reason = ScratchDatabase::unavailableReason(backend); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    const QString error = attachDatabase(backend);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    // Storage codes that would end or widen a statement if spliced in as they are.
    QVERIFY(m_fixture->run(QStringLiteral(
        "insert into tbCCQyda(f_ccqybm, f_ccqymc) values ('X''1', '引号'), ('X\\''', '反斜杠'),"
        " ('X%', '百分'), ('X_', '下划线');")));
    m_fixture->startWindow();
    TfrmArea* window = m_fixture->window();
    QVERIFY(select(window, QStringLiteral("M01 管理区")));
    const QStringList odd{QStringLiteral("X'1 引号"), QStringLiteral("X\\' 反斜杠"),
                          QStringLiteral("X% 百分"), QStringLiteral("X_ 下划线")};
    std::vector<int> oddRows;
    for (int row = 0; row < window->listccqyda->count(); ++row)
        if (odd.contains(window->listccqyda->lines().line(row)))
            oddRows.push_back(row);
    window->listccqyda->selectRows(oddRows);
    window->btnToLeft->click();
    QCOMPARE(m_fixture->messages(), QStringList());
    QStringList mappings = OriginalMappings;
    mappings << QStringLiteral("MPICK|M01|X'1") << QStringLiteral("MPICK|M01|X\\'")
             << QStringLiteral("MPICK|M01|X%") << QStringLiteral("MPICK|M01|X_");
    mappings.sort();
    QCOMPARE(m_fixture->dump().mappings, mappings);

    // Removing "X%" removes that mapping only, not every code that starts with X.
    selectOnly(window->listDZ, QStringLiteral("X% 百分"));
    window->btnToRight->click();
    mappings.removeOne(QStringLiteral("MPICK|M01|X%"));
    QCOMPARE(m_fixture->dump().mappings, mappings);
    window->tbnAllToRight->click();
    QCOMPARE(m_fixture->dump(), (TableDump{OriginalAreas, OriginalMappings}));

    // "<<" maps every storage area, odd codes included, each under its own code.
    window->btnAllToLeft->click();
    QCOMPARE(m_fixture->messages(), QStringList());
    mappings = OriginalMappings;
    for (const char* code : {"S01", "S02", "S03", "S04", "X'1", "X\\'", "X%", "X_"})
        mappings << QStringLiteral("MPICK|M01|") + QString::fromLatin1(code);
    mappings.sort();
    QCOMPARE(m_fixture->dump().mappings, mappings);
}

void BadInputTest::storedNullsAndBrokenTextAreShown_data()
{
    storageCodesFromTheListStayLiteral_data();
}

void BadInputTest::storedNullsAndBrokenTextAreShown()
{
    QFETCH(QString, backend);
    if (const QString reason = ScratchDatabase::unavailableReason(backend); !reason.isEmpty())
        QSKIP(qPrintable(reason));
    const QString error = attachDatabase(backend);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    // A NULL name, a NULL kind, a NULL storage-area name and a mapping whose storage area
    // has no row at all (an older database's rows, written as it had them).
    QVERIFY(m_fixture->realServer().executeUncheckedScript(
        QStringLiteral("insert into tbQyda(f_qybm, f_qymc, f_qylx) values ('N01', NULL, 'PICK'), "
                       "('K01', '无类', NULL);"
                       "insert into tbCCQyda(f_ccqybm, f_ccqymc) values ('SN1', NULL);"
                       "insert into tbqydz(f_qylx, f_qybm, f_ccqybm) values ('PICK', 'N01', 'SN1'),"
                       " ('PUT', 'B01', 'GONE');")));
    const bool sqlite = backend == QLatin1String(ScratchDatabase::Sqlite);
    // Bytes that are no UTF-8, as text and as a byte block (PostgreSQL refuses to store
    // them at all).
    if (sqlite)
        QVERIFY(m_fixture->run(QStringLiteral(
            "insert into tbQyda(f_qybm, f_qymc, f_qylx) values"
            " ('U01', cast(x'ff41fe' as text), 'MPICK'), ('U02', x'ff42fe', 'MPICK');"
            "insert into tbCCQyda(f_ccqybm, f_ccqymc) values ('SU1', x'ff43');")));
    m_fixture->startWindow();
    TfrmArea* window = m_fixture->window();
    QCOMPARE(m_fixture->messages(), QStringList());

    const WindowState state = captureState(window);
    QVERIFY(state.tree.contains(QStringLiteral("  N01 ")));
    QVERIFY(!state.tree.join(QLatin1Char(',')).contains(QStringLiteral("K01")));
    QVERIFY(state.storage.contains(QStringLiteral("SN1 ")));
    if (sqlite) {
        QVERIFY(state.tree.contains(QStringLiteral("  U01 \uFFFDA\uFFFD")));
        QVERIFY(state.tree.contains(QStringLiteral("  U02 \uFFFDB\uFFFD")));
        QVERIFY(state.storage.contains(QStringLiteral("SU1 \uFFFDC")));
    }

    QVERIFY(select(window, QStringLiteral("N01 ")));
    QCOMPARE(captureState(window).mapped, QStringList{QStringLiteral("SN1 ")});
    QVERIFY(select(window, QStringLiteral("B01 A01备用")));
    QCOMPARE(captureState(window).mapped, QStringList{QStringLiteral("GONE ")});

    // The area with no name takes one through the modify dialog.
    QVERIFY(select(window, QStringLiteral("N01 ")));
    DialogOutcome outcome;
    renameSelectedArea(*m_fixture, QStringLiteral("有名"), outcome);
    QCOMPARE(window->TN->currentItem()->text(0), QStringLiteral("N01 有名"));
    QVERIFY(m_fixture->dump().areas.contains(QStringLiteral("N01|有名|PICK")));
    QCOMPARE(m_fixture->messages(), QStringList());
}

void BadInputTest::searchTextIsMatchedLiterally_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("found");
    QTest::newRow("quote") << QStringLiteral("'") << QStringLiteral("Q'1 引'号");
    QTest::newRow("drop table") << QStringLiteral("'; DROP TABLE tbQyda; --") << QString();
    QTest::newRow("percent") << QStringLiteral("%") << QStringLiteral("P% 百分");
    QTest::newRow("underscore") << QStringLiteral("_") << QStringLiteral("P_ 下划");
    QTest::newRow("backslash") << QStringLiteral("\\") << QStringLiteral("P\\ 反斜");
    QTest::newRow("nul") << QString(QChar(0)) << QString();
    QTest::newRow("emoji") << QStringLiteral("😀") << QStringLiteral("P😀 表情");
    QTest::newRow("10000 characters") << QString(10000, QLatin1Char('P')) << QString();
}

void BadInputTest::searchTextIsMatchedLiterally()
{
    QFETCH(QString, text);
    QFETCH(QString, found);
    const QString error = attachDatabase(QString::fromLatin1(ScratchDatabase::Sqlite));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(m_fixture->run(QStringLiteral(
        "insert into tbQyda(f_qybm, f_qymc, f_qylx) values ('Q''1', '引''号', 'PICK'),"
        " ('P%', '百分', 'PUT'), ('P_', '下划', 'PUT'), ('P\\', '反斜', 'PUT'), ('P😀', '表情', "
        "'PUT');")));
    m_fixture->startWindow();
    TfrmArea* window = m_fixture->window();
    const TableDump before = m_fixture->dump();
    const int calls = m_fixture->faults().callCount();

    locate(*m_fixture, text);
    if (found.isEmpty()) {
        QCOMPARE(m_fixture->messages(), QStringList{QStringLiteral("警告|找不到该信息！")});
        QVERIFY(!window->TN->currentItem());
    } else {
        QCOMPARE(m_fixture->messages(), QStringList());
        QCOMPARE(window->TN->currentItem()->text(0), found);
    }
    // Searching reads no data beyond the selected area's mappings and changes nothing.
    QVERIFY(m_fixture->faults().callCount() <= calls + 1);
    QCOMPARE(m_fixture->dump(), before);
}

QTEST_MAIN(BadInputTest)
#include "BadInputTest.moc"
