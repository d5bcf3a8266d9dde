// The client dataset: loading packets, field access by name and locate.
#include "platform/ClientDataset.h"
#include "platform/Error.h"

#include <QTest>
#include <functional>

using platform::ClientDataset;
using platform::DataTable;
using platform::Variant;

namespace {

// Mapping rows: kind, area code, storage-area code.
Variant mappingPacket()
{
    DataTable table;
    table.columns = {QStringLiteral("F_QYLX"), QStringLiteral("f_qybm"),
                     QStringLiteral("f_ccqybm")};
    table.rows = {{Variant("PICK"), Variant("A1"), Variant("c01")},
                  {Variant("PUT"), Variant("A1"), Variant("C01")},
                  {Variant("PICK"), Variant("A2"), Variant("C01")},
                  {Variant("PICK"), Variant("a2"), Variant::null()}};
    return Variant(platform::encodePacket(table));
}

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const platform::Error& error) {
        return error.message();
    }
    return QString();
}

} // namespace

class ClientDatasetTest : public QObject {
    Q_OBJECT

private slots:
    void walksRowsAndReadsFieldsIgnoringCase();
    void missingFieldNamesTheColumn();
    void loadReplacesAndBadPacketLeavesEmpty();
    void locate_data();
    void locate();
    void locateNotFoundKeepsRow();
};

void ClientDatasetTest::walksRowsAndReadsFieldsIgnoringCase()
{
    ClientDataset dataset;
    dataset.loadPacket(mappingPacket());
    QVERIFY(!dataset.isEmpty());
    QCOMPARE(dataset.recordCount(), 4);
    QStringList seen;
    for (dataset.first(); !dataset.eof(); dataset.next())
        seen << dataset.fieldText("f_qylx") + "/" + dataset.fieldValue("F_QYBM").toText();
    QCOMPARE(seen, (QStringList{"PICK/A1", "PUT/A1", "PICK/A2", "PICK/a2"}));
    dataset.next(); // stays at the end
    QVERIFY(dataset.eof());
    QCOMPARE(dataset.row(), 4);
    QVERIFY(errorOf([&] { dataset.fieldValue("f_qybm"); }).contains("no current record"));

    dataset.first();
    QCOMPARE(dataset.row(), 0);
    // A null field is a null variant; as text it raises like any null conversion.
    QVERIFY(dataset.locate("f_qybm", {Variant("a2")}));
    QVERIFY(dataset.fieldValue("f_ccqybm").isNull());
}

void ClientDatasetTest::missingFieldNamesTheColumn()
{
    ClientDataset dataset;
    dataset.loadPacket(mappingPacket());
    QCOMPARE(errorOf([&] { dataset.fieldText("f_zymc"); }),
             QStringLiteral("Field 'f_zymc' not found"));
    QCOMPARE(errorOf([&] {
                 dataset.locate("f_qylx;f_none", {Variant("PICK"), Variant("A1")});
             }),
             QStringLiteral("Field 'f_none' not found"));
    // The missing column is reported even when the dataset has no rows.
    dataset.loadTable(DataTable{{"f_bm"}, {}});
    QCOMPARE(errorOf([&] { dataset.fieldText("f_mc"); }), QStringLiteral("Field 'f_mc' not found"));
}

void ClientDatasetTest::loadReplacesAndBadPacketLeavesEmpty()
{
    ClientDataset dataset;
    dataset.loadPacket(mappingPacket());
    dataset.next();
    dataset.loadPacket(Variant(platform::encodePacket(DataTable{{"f_zymc"}, {{Variant("张三")}}})));
    QCOMPARE(dataset.recordCount(), 1);
    QCOMPARE(dataset.row(), 0);
    QCOMPARE(dataset.fieldText("F_ZYMC"), QStringLiteral("张三"));

    QVERIFY(errorOf([&] {
                dataset.loadPacket(Variant("not a packet"));
            }).startsWith("Invalid data packet: "));
    QVERIFY(dataset.isEmpty());
    QVERIFY(dataset.eof());

    dataset.loadPacket(mappingPacket());
    QVERIFY(errorOf([&] {
                dataset.loadPacket(Variant(QByteArray("\x83\x01", 2)));
            }).startsWith("Invalid data packet: "));
    QVERIFY(dataset.isEmpty());
    QCOMPARE(dataset.recordCount(), 0);
}

void ClientDatasetTest::locate_data()
{
    QTest::addColumn<QString>("keyFields");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("ignoreCase");
    QTest::addColumn<int>("expectedRow"); // -1: not found

    QTest::newRow("one key, first of several") << "f_qybm" << QStringList{"A1"} << false << 0;
    QTest::newRow("two keys") << "f_qylx;f_qybm" << QStringList{"PUT", "A1"} << false << 1;
    QTest::newRow("two keys, field names any case")
        << "F_qylx;F_QYBM" << QStringList{"PICK", "A2"} << false << 2;
    QTest::newRow("exact case misses") << "f_ccqybm" << QStringList{"C01"} << false << 1;
    QTest::newRow("ignoring case finds first") << "f_ccqybm" << QStringList{"C01"} << true << 0;
    QTest::newRow("two keys ignoring case")
        << "f_qylx;f_qybm" << QStringList{"pick", "a2"} << true << 2;
    QTest::newRow("two keys exact lower")
        << "f_qylx;f_qybm" << QStringList{"PICK", "a2"} << false << 3;
    QTest::newRow("not found") << "f_qylx;f_qybm" << QStringList{"MPICK", "A1"} << false << -1;
    QTest::newRow("prefix is no match") << "f_qybm" << QStringList{"A"} << true << -1;
}

void ClientDatasetTest::locate()
{
    QFETCH(QString, keyFields);
    QFETCH(QStringList, values);
    QFETCH(bool, ignoreCase);
    QFETCH(int, expectedRow);

    ClientDataset dataset;
    dataset.loadPacket(mappingPacket());
    dataset.next(); // locate searches from the first row, not from the current one
    dataset.next();
    dataset.next();
    QList<Variant> keys;
    for (const QString& value : values)
        keys.append(Variant(value));
    QCOMPARE(dataset.locate(keyFields, keys, ignoreCase), expectedRow >= 0);
    QCOMPARE(dataset.row(), expectedRow >= 0 ? expectedRow : 3);
}

void ClientDatasetTest::locateNotFoundKeepsRow()
{
    ClientDataset dataset;
    dataset.loadPacket(mappingPacket());
    dataset.next();
    QVERIFY(!dataset.locate("f_qybm", {Variant("ZZ")}));
    QCOMPARE(dataset.row(), 1);
    // Null keys match only null cells; a key count that differs from the fields raises.
    QVERIFY(dataset.locate("f_ccqybm", {Variant::null()}));
    QCOMPARE(dataset.row(), 3);
    QVERIFY(!errorOf([&] { dataset.locate("f_qylx;f_qybm", {Variant("PICK")}); }).isEmpty());
    QCOMPARE(dataset.row(), 3);
}

QTEST_APPLESS_MAIN(ClientDatasetTest)
#include "ClientDatasetTest.moc"
