// Display lines read straight from a packet's bytes: the same lines as the table path, the
// errors in the order a dataset load would raise them, and the kind filter.
#include "area/StorageAreaLines.h"
#include "platform/DataPacket.h"
#include "platform/Error.h"

#include <QTest>

using platform::DataTable;
using platform::Variant;

namespace {

Variant packetOf(const QStringList& columns, const QList<QList<Variant>>& rows)
{
    return Variant(platform::encodePacket(DataTable{columns, rows}));
}

QString errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const platform::Error& error) {
        return error.message();
    }
    return QString();
}

const QString codeColumn = QStringLiteral("f_ccqybm");
const QString nameColumn = QStringLiteral("f_ccqymc");
const QString kindColumn = QStringLiteral("f_qylx");

} // namespace

class StorageAreaLinesTest : public QObject {
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void unreadableCellRaises();
    void packetErrorBeforeMissingColumn();
    void kindFilterSkipsRowsUnread();
};

void StorageAreaLinesTest::lines_data()
{
    QTest::addColumn<Variant>("code");
    QTest::addColumn<Variant>("name");
    QTest::addColumn<QString>("line");
    QTest::newRow("ASCII") << Variant("01") << Variant("North") << QStringLiteral("01 North");
    QTest::newRow("Chinese") << Variant("01") << Variant(QStringLiteral("一区"))
                             << QStringLiteral("01 一区");
    QTest::newRow("emoji in the name")
        << Variant("A1") << Variant(QStringLiteral("😀冷库🏭")) << QStringLiteral("A1 😀冷库🏭");
    QTest::newRow("emoji in the code")
        << Variant(QStringLiteral("😀")) << Variant("x") << QStringLiteral("😀 x");
    QTest::newRow("every UTF-8 length")
        << Variant(QStringLiteral("é区")) << Variant(QStringLiteral("a\u00e9\u533a\U0001F600z"))
        << QStringLiteral("é区 a\u00e9\u533a\U0001F600z");
    QTest::newRow("long name") << Variant("07")
                               << Variant(QString(QStringLiteral("库区😀")).repeated(2000))
                               << QStringLiteral("07 ") +
                                      QString(QStringLiteral("库区😀")).repeated(2000);
    QTest::newRow("empty texts") << Variant("") << Variant("") << QStringLiteral(" ");
    QTest::newRow("integer code") << Variant(int32_t(42)) << Variant::null()
                                  << QStringLiteral("42 ");
    QTest::newRow("integer code, text name")
        << Variant(int32_t(-7)) << Variant(QStringLiteral("区")) << QStringLiteral("-7 区");
    QTest::newRow("int64 code") << Variant(int64_t(1) << 40) << Variant("n")
                                << QStringLiteral("1099511627776 n");
    QTest::newRow("null name") << Variant("code") << Variant::null() << QStringLiteral("code ");
    QTest::newRow("null code") << Variant::null() << Variant(QStringLiteral("名"))
                               << QStringLiteral(" 名");
}

void StorageAreaLinesTest::lines()
{
    QFETCH(Variant, code);
    QFETCH(Variant, name);
    QFETCH(QString, line);
    // Columns in another case and order than asked for, with a column between them.
    const DataTable table{{"F_CCQYMC", "other", "F_CCQYBM"},
                          {{name, Variant(1.5), code}, {Variant("2"), Variant::null(), code}}};
    const Variant packet(platform::encodePacket(table));

    const QStringList lines = StorageAreaLines::packetDisplayTexts(packet, codeColumn, nameColumn);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], line);
    // The same lines as the dataset path gives for the decoded table.
    QCOMPARE(lines, StorageAreaLines::displayTexts(platform::decodePacket(packet.bytes()),
                                                   codeColumn, nameColumn));
}

void StorageAreaLinesTest::unreadableCellRaises()
{
    const Variant packet =
        packetOf({codeColumn, nameColumn}, {{Variant("01"), Variant("ok")},
                                            {Variant("02"), Variant(QByteArray("\x01\x02", 2))}});
    const QString error =
        errorOf([&] { StorageAreaLines::packetDisplayTexts(packet, codeColumn, nameColumn); });
    QVERIFY2(error.startsWith(QStringLiteral("Could not convert variant of type (")),
             qPrintable(error));
    // The conversion error a dataset read of the cell gives.
    QCOMPARE(error, errorOf([] { Variant(QByteArray("\x01\x02", 2)).toText(); }));
}

void StorageAreaLinesTest::packetErrorBeforeMissingColumn()
{
    const QByteArray noName =
        platform::encodePacket(DataTable{{codeColumn}, {{Variant("01")}, {Variant("02")}}});
    const auto linesOf = [](const Variant& packet) {
        return errorOf([&] {
            StorageAreaLines::packetDisplayTexts(packet, QStringLiteral("f_ccqybm"),
                                                 QStringLiteral("f_ccqymc"));
        });
    };
    QCOMPARE(linesOf(Variant(noName)), QStringLiteral("Field 'f_ccqymc' not found"));
    // Cut short, the same packet reports the packet fault, not the missing column.
    const QString truncated = linesOf(Variant(noName.left(noName.size() - 1)));
    QVERIFY2(truncated.startsWith(QStringLiteral("Invalid data packet: ")), qPrintable(truncated));
    QVERIFY(linesOf(Variant(noName + '\0')).startsWith(QStringLiteral("Invalid data packet: ")));
    QCOMPARE(linesOf(Variant("text")),
             QStringLiteral("Invalid data packet: a variant of type (String) holds no packet"));
    QCOMPARE(linesOf(Variant()),
             QStringLiteral("Invalid data packet: a variant of type (Empty) holds no packet"));
}

void StorageAreaLinesTest::kindFilterSkipsRowsUnread()
{
    // Rows of an unknown kind carry cells that would raise if they were read.
    const QByteArray unreadable("\xff", 1);
    const Variant packet =
        packetOf({codeColumn, nameColumn, kindColumn},
                 {{Variant("01"), Variant(QStringLiteral("拣货😀")), Variant("PICK")},
                  {Variant(unreadable), Variant(unreadable), Variant("OLD")},
                  {Variant(int32_t(3)), Variant::null(), Variant("PUT")},
                  {Variant("04"), Variant(unreadable), Variant::null()}});
    const QStringList known{"PICK", "PUT", "MPICK"};

    QStringList tags;
    const QStringList lines = StorageAreaLines::packetDisplayTexts(
        packet, codeColumn, nameColumn, kindColumn, &tags,
        [&](const QString& kind) { return known.contains(kind); });
    QCOMPARE(lines, (QStringList{QStringLiteral("01 拣货😀"), QStringLiteral("3 ")}));
    QCOMPARE(tags, (QStringList{"PICK", "PUT"}));

    // Without the filter every row is read, and the first unreadable cell raises.
    QStringList allTags;
    QVERIFY_THROWS_EXCEPTION(
        platform::Error,
        StorageAreaLines::packetDisplayTexts(packet, codeColumn, nameColumn, kindColumn, &allTags));
    // A kind column that is missing is reported like any other.
    QCOMPARE(errorOf([&] {
                 StorageAreaLines::packetDisplayTexts(packet, codeColumn, nameColumn,
                                                      QStringLiteral("f_missing"), &tags);
             }),
             QStringLiteral("Field 'f_missing' not found"));
}

QTEST_APPLESS_MAIN(StorageAreaLinesTest)
#include "StorageAreaLinesTest.moc"
