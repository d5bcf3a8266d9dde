// Kinds, display texts and codes, the literal helper, and the "free" test of the transfers.
#include "area/AreaModel.h"
#include "area/AreaStatements.h"
#include "area/LineOrder.h"
#include "area/StorageAreaLines.h"
#include "platform/DataPacket.h"
#include "platform/Error.h"

#include <QTest>

using platform::Variant;

Q_DECLARE_METATYPE(std::optional<AreaType>)

class AreaModelTest : public QObject {
    Q_OBJECT
private slots:
    void kindFromStoredValue_data();
    void kindFromStoredValue();
    void kindFromRootLabel_data();
    void kindFromRootLabel();
    void kindsInOrder();
    void codeAndName_data();
    void codeAndName();
    void literalsDoubleQuotes();
    void freeTest();
    void freeTestNeedsItsColumns();
    void orderIgnoresCase_data();
    void orderIgnoresCase();
    void sortedListMergesAndRemoves();
    void displayTextsOfNullNames();
};

void AreaModelTest::kindFromStoredValue_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<std::optional<AreaType>>("kind");
    QTest::newRow("PICK") << "PICK" << std::optional(AreaType::PICK);
    QTest::newRow("lower-case pick") << "pick" << std::optional(AreaType::PICK);
    QTest::newRow("mixed mPiCk") << "mPiCk" << std::optional(AreaType::MPICK);
    QTest::newRow("PUT") << "PUT" << std::optional(AreaType::PUT);
    QTest::newRow("trailing blank") << "PICK " << std::optional<AreaType>();
    QTest::newRow("leading blank") << " PUT" << std::optional<AreaType>();
    QTest::newRow("empty") << "" << std::optional<AreaType>();
    QTest::newRow("other") << "OTHER" << std::optional<AreaType>();
    // Only ASCII letters are upper-cased: the dotless i does not become I.
    QTest::newRow("non-ASCII letter") << QStringLiteral("pıck") << std::optional<AreaType>();
}

void AreaModelTest::kindFromStoredValue()
{
    QFETCH(QString, stored);
    QFETCH(std::optional<AreaType>, kind);
    QCOMPARE(areaTypeFromStoredValue(stored), kind);
}

void AreaModelTest::kindFromRootLabel_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<std::optional<AreaType>>("kind");
    QTest::newRow("PICK") << QStringLiteral("拣货区域(PICK)") << std::optional(AreaType::PICK);
    QTest::newRow("PUT") << QStringLiteral("上架补货区域(PUT)") << std::optional(AreaType::PUT);
    QTest::newRow("MPICK") << QStringLiteral("拣货管理区域(MPICK)")
                           << std::optional(AreaType::MPICK);
    QTest::newRow("case differs") << QStringLiteral("拣货区域(pick)") << std::optional<AreaType>();
    QTest::newRow("key alone") << QStringLiteral("PICK") << std::optional<AreaType>();
    QTest::newRow("trailing blank")
        << QStringLiteral("拣货区域(PICK) ") << std::optional<AreaType>();
}

void AreaModelTest::kindFromRootLabel()
{
    QFETCH(QString, label);
    QFETCH(std::optional<AreaType>, kind);
    QCOMPARE(areaTypeFromRootLabel(label), kind);
}

void AreaModelTest::kindsInOrder()
{
    QStringList keys;
    for (int index = 0; index < 3; ++index) {
        const std::optional<AreaType> type = areaTypeFromIndex(index);
        QVERIFY(type);
        keys.append(areaTypeKey(*type));
        QCOMPARE(areaTypeFromRootLabel(areaTypeRootLabel(*type)), type);
    }
    QCOMPARE(keys, (QStringList{"PICK", "PUT", "MPICK"}));
    QCOMPARE(areaTypeFromIndex(-1), std::optional<AreaType>());
    QCOMPARE(areaTypeFromIndex(3), std::optional<AreaType>());
}

void AreaModelTest::codeAndName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("code and name")
        << QStringLiteral("A01 一号拣货区") << "A01" << QStringLiteral("一号拣货区");
    QTest::newRow("blank in name")
        << QStringLiteral("A01 一号 拣货区") << "A01" << QStringLiteral("一号 拣货区");
    QTest::newRow("no blank") << "A01"
                              << ""
                              << "A01";
    QTest::newRow("blank in code") << QStringLiteral("A 01 区") << "A" << QStringLiteral("01 区");
    QTest::newRow("empty name") << "S99 "
                                << "S99"
                                << "";
    QTest::newRow("leading blank") << " A01"
                                   << ""
                                   << "A01";
    QTest::newRow("full-width blank is no blank")
        << QStringLiteral("A01　区") << "" << QStringLiteral("A01　区");
}

void AreaModelTest::codeAndName()
{
    QFETCH(QString, text);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QCOMPARE(CodeOfText(text), code);
    QCOMPARE(NameOfText(text), name);
    if (text.contains(u' '))
        QCOMPARE(DisplayText(code, name), text);
}

void AreaModelTest::literalsDoubleQuotes()
{
    QCOMPARE(EscapeSqlLiteral(QStringLiteral("O'Brien''s")), QStringLiteral("O''Brien''''s"));
    QCOMPARE(
        AreaStatements::unmapAllStatement(QStringLiteral("PUT"), QStringLiteral("x' or '1'='1")),
        QStringLiteral("Delete from tbqydz where f_qylx='PUT' and f_qybm='x'' or ''1''=''1'"));
    QCOMPARE(AreaStatements::mappedStorageAreasQuery(QStringLiteral("PICK"), QStringLiteral("A'1")),
             QStringLiteral(" select dz.*,ccqy.f_ccqymc from tbqydz dz left join tbccqyda ccqy on "
                            "dz.f_ccqybm=ccqy.f_ccqybm  where f_qylx='PICK' and dz.f_qybm='A''1' "
                            "order by dz.f_ccqybm "));
}

namespace {

DisplayLines displayLines(const QStringList& texts)
{
    DisplayLines lines;
    for (const QString& text : texts)
        lines.append(text);
    return lines;
}

QStringList modelLines(const StorageAreaListModel& model)
{
    QStringList texts;
    for (int row = 0; row < model.count(); ++row)
        texts.append(model.line(row).toString());
    return texts;
}

} // namespace

void AreaModelTest::freeTest()
{
    platform::DataTable snapshot;
    snapshot.columns = {"F_QYBM", "f_ccqybm", "f_qylx"}; // names match ignoring case
    snapshot.rows = {{Variant("A01"), Variant("S01"), Variant("PICK")},
                     {Variant("A02"), Variant("S02"), Variant("pick")},
                     {Variant("A03"), Variant::null(), Variant("PICK")},
                     {Variant("A04"), Variant(int32_t(7)), Variant("PICK")}};
    MappedCodeSnapshot mapped;
    mapped.loadPacket(Variant(platform::encodePacket(snapshot)), QStringLiteral("PICK"));
    StorageAreaListModel shown(StorageAreaListModel::Order::IgnoringCase, nullptr);
    shown.setLines(displayLines({QStringLiteral("s05 五号")}));
    FreeStorageAreaTest test(shown, mapped);
    QVERIFY(!test.isFree(QStringLiteral("S01 一号"))); // mapped for the kind
    QVERIFY(test.isFree(QStringLiteral("s01 一号")));  // codes compare exactly
    QVERIFY(test.isFree(QStringLiteral("S02 二号")));  // mapped under another kind text
    QVERIFY(!test.isFree(QStringLiteral("7 七号")));   // a number compares as its text
    QVERIFY(!test.isFree(QStringLiteral("S05 五号"))); // shown, ignoring case
    QVERIFY(test.isFree(QStringLiteral("S05 五 号")));
    QVERIFY(test.isFree(QStringLiteral("X"))); // no code at all; the null maps nothing
    test.take(QStringLiteral("S06 六号"));
    QVERIFY(!test.isFree(QStringLiteral("S06 第六"))); // the same code once per press
    QVERIFY(!test.isFree(QStringLiteral("s06 六号"))); // the same text once per press
}

void AreaModelTest::freeTestNeedsItsColumns()
{
    platform::DataTable snapshot;
    snapshot.columns = {"f_qybm", "f_ccqybm"};
    MappedCodeSnapshot mapped;
    try {
        mapped.loadPacket(Variant(platform::encodePacket(snapshot)), QStringLiteral("PICK"));
        QFAIL("a snapshot without f_qylx was accepted");
    } catch (const platform::Error& error) {
        QCOMPARE(error.message(), QStringLiteral("Field 'f_qylx' not found"));
    }
}

void AreaModelTest::orderIgnoresCase_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::newRow("ASCII") << QStringLiteral("a2") << QStringLiteral("B1");
    QTest::newRow("tie broken by case") << QStringLiteral("S01") << QStringLiteral("s01");
    QTest::newRow("prefix first") << QStringLiteral("s0") << QStringLiteral("S01");
    QTest::newRow("Latin-1 letter") << QStringLiteral("\u00e9a") << QStringLiteral("\u00c9b");
    QTest::newRow("Greek") << QStringLiteral("\u03a3a") << QStringLiteral("\u03c3b");
    QTest::newRow("beyond the BMP")
        << QStringLiteral("\U00010428a") << QStringLiteral("\U00010400b");
    QTest::newRow("Chinese") << QStringLiteral("S01 一号") << QStringLiteral("S01 三号");
}

void AreaModelTest::orderIgnoresCase()
{
    QFETCH(QString, left);
    QFETCH(QString, right);
    // The order of the case-folded texts, the texts themselves breaking ties.
    const auto reference = [](const QString& a, const QString& b) {
        const int folded = a.toCaseFolded().compare(b.toCaseFolded());
        return folded != 0 ? folded : a.compare(b);
    };
    QVERIFY(reference(left, right) < 0);
    QVERIFY(LineOrder::compare(left, right) < 0);
    QVERIFY(LineOrder::compare(right, left) > 0);
    QCOMPARE(LineOrder::compare(left, left), 0);
    QVERIFY(LineOrder::startsWithIgnoringCase(right, right.left(1).toUpper()));
}

void AreaModelTest::sortedListMergesAndRemoves()
{
    StorageAreaListModel model(StorageAreaListModel::Order::IgnoringCase, nullptr);
    model.setLines(displayLines({"S03 c", "s01 a", "S02 b", "S01 a"}));
    QCOMPARE(modelLines(model), (QStringList{"S01 a", "s01 a", "S02 b", "S03 c"}));
    // Rows before: S01 a, s01 a, S02 b, S03 c; each keeps its line after the merge.
    const std::vector<int> moved = model.addLines(displayLines({"S04 d", "s00 z", "S02 b"}));
    QCOMPARE(modelLines(model),
             (QStringList{"s00 z", "S01 a", "s01 a", "S02 b", "S02 b", "S03 c", "S04 d"}));
    QCOMPARE(moved, (std::vector<int>{1, 2, 3, 5}));
    model.removeRows({0, 3, 6});
    QCOMPARE(modelLines(model), (QStringList{"S01 a", "s01 a", "S02 b", "S03 c"}));

    StorageAreaListModel unsorted(StorageAreaListModel::Order::AsGiven, nullptr);
    unsorted.setLines(displayLines({"S03 c", "s01 a"}));
    unsorted.addLines(displayLines({"A01 x"}));
    QCOMPARE(modelLines(unsorted), (QStringList{"S03 c", "s01 a", "A01 x"}));
}

void AreaModelTest::displayTextsOfNullNames()
{
    platform::DataTable table;
    table.columns = {"f_ccqybm", "f_ccqymc"};
    table.rows = {{Variant("S01"), Variant("一号")}, {Variant("S02"), Variant::null()}};
    QCOMPARE(StorageAreaLines::displayTexts(table, "f_ccqybm", "f_ccqymc"),
             (QStringList{QStringLiteral("S01 一号"), QStringLiteral("S02 ")}));
}

QTEST_GUILESS_MAIN(AreaModelTest)
#include "AreaModelTest.moc"
