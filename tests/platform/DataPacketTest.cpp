// Data packets: round trip of every value kind and rejection of malformed bytes, by the
// table decoder and by the row reader alike.
#include "platform/DataPacket.h"
#include "platform/Error.h"

#include <QCborStreamWriter>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <functional>
#include <limits>

using platform::DataTable;
using platform::Variant;

namespace {

DataTable sampleTable()
{
    DataTable table;
    table.columns = {QStringLiteral("f_bm"), QStringLiteral("f_mc"), QStringLiteral("f_sl")};
    table.rows = {{Variant("01"), Variant(QStringLiteral("一区")), Variant(int32_t(5))},
                  {Variant("02"), Variant::null(), Variant(2.5)}};
    return table;
}

// A packet written by hand, for shapes the encoder never produces.
QByteArray handPacket(const std::function<void(QCborStreamWriter&)>& body)
{
    QByteArray bytes;
    QCborStreamWriter writer(&bytes);
    body(writer);
    return bytes;
}

QByteArray packetWithRow(const std::function<void(QCborStreamWriter&)>& values, int valueCount)
{
    return handPacket([&](QCborStreamWriter& w) {
        w.startArray(3);
        w.append(QLatin1String("NelvoPacket/1"));
        w.startArray(1);
        w.append(QLatin1String("f_a"));
        w.endArray();
        w.startArray(1);
        w.startArray(quint64(valueCount));
        values(w);
        w.endArray();
        w.endArray();
        w.endArray();
    });
}

QString decodeError(const QByteArray& bytes)
{
    try {
        platform::decodePacket(bytes);
    } catch (const platform::Error& error) {
        return error.message();
    }
    return QString();
}

// Rebuilds the table from the rows readPacket hands on, checking each cell's shape.
class TableRowReader : public platform::PacketRowReader {
public:
    void columns(const QStringList& names) override
    {
        if (columnCalls++ > 0 || !table.rows.isEmpty())
            faults << QStringLiteral("columns() called again or after a row");
        table.columns = names;
    }
    void expectRows(qsizetype count) override { expected = count; }
    void row(const QList<platform::PacketCell>& cells) override
    {
        if (cells.size() != table.columns.size())
            faults << QStringLiteral("row of %1 cells").arg(cells.size());
        QList<Variant> values;
        for (const platform::PacketCell& cell : cells) {
            if (cell.isText) {
                if (!cell.value.isEmpty() || cell.isNull())
                    faults << QStringLiteral("text cell with a value");
                const bool ascii = std::all_of(cell.utf8.begin(), cell.utf8.end(),
                                               [](char c) { return uchar(c) < 0x80; });
                if (ascii != cell.ascii)
                    faults << QStringLiteral("wrong ASCII flag");
                values.append(Variant(cell.toText()));
            } else {
                if (cell.isNull() != cell.value.isNull())
                    faults << QStringLiteral("wrong null flag");
                values.append(cell.value);
            }
        }
        table.rows.append(values);
    }

    DataTable table;
    QStringList faults;
    qsizetype expected = -1;
    int columnCalls = 0;
};

QString readError(const QByteArray& bytes)
{
    TableRowReader reader;
    try {
        platform::readPacket(bytes, reader);
    } catch (const platform::Error& error) {
        return error.message();
    }
    return QString();
}

} // namespace

class DataPacketTest : public QObject {
    Q_OBJECT

private slots:
    void roundTrip();
    void emptyTableRoundTrip();
    void encodeRejectsUnstorableValues();
    void malformed_data();
    void malformed();
    void otherWritersShapes_data();
    void otherWritersShapes();
    void rowReaderSeesTheTable();
    void truncatedAtEveryLength();
    void corruptedBytesNeverCrash();
};

void DataPacketTest::roundTrip()
{
    DataTable table;
    table.columns = {"null", "int", "int64", "double", "bool", "text", "bytes"};
    const QString longChinese = QString(QStringLiteral("区域档案与对照")).repeated(3000);
    table.rows = {
        {Variant::null(), Variant(int32_t(-1)), Variant(std::numeric_limits<int64_t>::min()),
         Variant(0.1), Variant(true), Variant(longChinese), Variant(QByteArray("\x00\xff", 2))},
        {Variant::null(), Variant(std::numeric_limits<int32_t>::max()),
         Variant(std::numeric_limits<int64_t>::max()), Variant(-1e300), Variant(false), Variant(""),
         Variant(QByteArray())},
    };
    const DataTable decoded = platform::decodePacket(platform::encodePacket(table));
    QCOMPARE(decoded.columns, table.columns);
    QCOMPARE(decoded.rows.size(), 2);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < table.columns.size(); ++c)
            QVERIFY2(decoded.rows[r][c] == table.rows[r][c],
                     qPrintable(QStringLiteral("row %1 column %2").arg(r).arg(table.columns[c])));
    }
    // Integers come back as the narrowest of the two integer kinds.
    QCOMPARE(decoded.rows[0][1].type(), Variant::Type::Int32);
    QCOMPARE(decoded.rows[0][2].type(), Variant::Type::Int64);
    QCOMPARE(platform::decodePacket(platform::encodePacket({{"a"}, {{Variant(int64_t(7))}}}))
                 .rows[0][0]
                 .type(),
             Variant::Type::Int32);
}

void DataPacketTest::emptyTableRoundTrip()
{
    const DataTable decoded =
        platform::decodePacket(platform::encodePacket(DataTable{{"f_bm"}, {}}));
    QCOMPARE(decoded.columns, QStringList{"f_bm"});
    QVERIFY(decoded.rows.isEmpty());
}

void DataPacketTest::encodeRejectsUnstorableValues()
{
    QVERIFY_THROWS_EXCEPTION(platform::Error, platform::encodePacket({{"a"}, {{Variant()}}}));
    QVERIFY_THROWS_EXCEPTION(platform::Error,
                             platform::encodePacket({{"a"}, {{Variant::array({})}}}));
    QVERIFY_THROWS_EXCEPTION(platform::Error,
                             platform::encodePacket({{"a", "b"}, {{Variant("only one")}}}));
}

void DataPacketTest::malformed_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray valid = platform::encodePacket(sampleTable());
    QTest::newRow("empty input") << QByteArray();
    QTest::newRow("trailing byte") << valid + QByteArray(1, '\0');
    QTest::newRow("two packets") << valid + valid;
    QTest::newRow("wrong magic") << handPacket([](QCborStreamWriter& w) {
        w.startArray(3);
        w.append(QLatin1String("OtherPacket/1"));
        w.startArray(0);
        w.endArray();
        w.startArray(0);
        w.endArray();
        w.endArray();
    });
    QTest::newRow("not an array") << handPacket([](QCborStreamWriter& w) { w.append(5); });
    QTest::newRow("two parts") << handPacket([](QCborStreamWriter& w) {
        w.startArray(2);
        w.append(QLatin1String("NelvoPacket/1"));
        w.startArray(0);
        w.endArray();
        w.endArray();
    });
    QTest::newRow("four parts") << handPacket([](QCborStreamWriter& w) {
        w.startArray(4);
        w.append(QLatin1String("NelvoPacket/1"));
        w.startArray(0);
        w.endArray();
        w.startArray(0);
        w.endArray();
        w.append(1);
        w.endArray();
    });
    QTest::newRow("column name not text") << handPacket([](QCborStreamWriter& w) {
        w.startArray(3);
        w.append(QLatin1String("NelvoPacket/1"));
        w.startArray(1);
        w.append(7);
        w.endArray();
        w.startArray(0);
        w.endArray();
        w.endArray();
    });
    QTest::newRow("row too short") << packetWithRow([](QCborStreamWriter&) {}, 0);
    QTest::newRow("row too long") << packetWithRow(
        [](QCborStreamWriter& w) {
            w.append(1);
            w.append(2);
        },
        2);
    QTest::newRow("row not an array") << handPacket([](QCborStreamWriter& w) {
        w.startArray(3);
        w.append(QLatin1String("NelvoPacket/1"));
        w.startArray(1);
        w.append(QLatin1String("f_a"));
        w.endArray();
        w.startArray(1);
        w.append(1);
        w.endArray();
        w.endArray();
    });
    QTest::newRow("nested array value") << packetWithRow(
        [](QCborStreamWriter& w) {
            w.startArray(0);
            w.endArray();
        },
        1);
    QTest::newRow("map value") << packetWithRow(
        [](QCborStreamWriter& w) {
            w.startMap(0);
            w.endMap();
        },
        1);
    QTest::newRow("tagged value") << packetWithRow(
        [](QCborStreamWriter& w) {
            w.append(QCborTag(1));
            w.append(0);
        },
        1);
    QTest::newRow("undefined value")
        << packetWithRow([](QCborStreamWriter& w) { w.append(QCborSimpleType::Undefined); }, 1);
    QTest::newRow("integer above int64") << packetWithRow(
        [](QCborStreamWriter& w) { w.append(std::numeric_limits<quint64>::max()); }, 1);
    QTest::newRow("negative integer below int64")
        << packetWithRow([](QCborStreamWriter& w) { w.append(QCborNegativeInteger(0)); }, 1);

    // Declared lengths far beyond the input must not be trusted (no huge allocation).
    const QByteArray header = handPacket([](QCborStreamWriter& w) {
        w.startArray(3);
        w.append(QLatin1String("NelvoPacket/1"));
    });
    QTest::newRow("huge text length")
        << header + QByteArray("\x81\x7b\x40\x00\x00\x00\x00\x00\x00\x00", 10);
    // Each chunk of a text must be well-formed on its own: here 区 is split in two.
    const QByteArray oneColumnRow =
        QByteArray::fromHex("81 63") + "f_a" + QByteArray::fromHex("81 81");
    QTest::newRow("text chunk split inside a character")
        << header + oneColumnRow + QByteArray::fromHex("7f 62 e58c 61 ba ff");
    QTest::newRow("text chunk of bytes")
        << header + oneColumnRow + QByteArray::fromHex("7f 41 61 ff");
    QTest::newRow("text chunk of indefinite length")
        << header + oneColumnRow + QByteArray::fromHex("7f 7f 61 61 ff ff");
    QTest::newRow("chunked text not closed")
        << header + oneColumnRow + QByteArray::fromHex("7f 61 61");
    QTest::newRow("half float cut short") << header + oneColumnRow + QByteArray::fromHex("f9 3c");
    QTest::newRow("simple value 16") << header + oneColumnRow + QByteArray::fromHex("f0");
    QTest::newRow("reserved head 28") << header + oneColumnRow + QByteArray::fromHex("1c");
    QTest::newRow("indefinite integer") << header + oneColumnRow + QByteArray::fromHex("1f");
    QTest::newRow("break as a value") << header + oneColumnRow + QByteArray::fromHex("ff");
    QTest::newRow("huge column count")
        << header + QByteArray("\x9b\x40\x00\x00\x00\x00\x00\x00\x00", 9);
}

void DataPacketTest::malformed()
{
    QFETCH(QByteArray, bytes);
    const QString error = decodeError(bytes);
    QVERIFY2(error.startsWith(QStringLiteral("Invalid data packet: ")), qPrintable(error));
    QCOMPARE(readError(bytes), error);
}

void DataPacketTest::otherWritersShapes_data()
{
    // Shapes other CBOR writers produce: the value is the one cell of a one-column packet.
    QTest::addColumn<QByteArray>("cell");
    QTest::addColumn<Variant>("value");
    QTest::newRow("half float") << QByteArray::fromHex("f9 3c00") << Variant(1.0);
    QTest::newRow("half float denormal") << QByteArray::fromHex("f9 0001") << Variant(0x1p-24);
    QTest::newRow("half float -2") << QByteArray::fromHex("f9 c000") << Variant(-2.0);
    QTest::newRow("half float infinity")
        << QByteArray::fromHex("f9 7c00") << Variant(std::numeric_limits<double>::infinity());
    QTest::newRow("single float") << QByteArray::fromHex("fa 3fc00000") << Variant(1.5);
    QTest::newRow("integer in a long head")
        << QByteArray::fromHex("1b 0000000000000005") << Variant(int32_t(5));
    QTest::newRow("negative integer in a long head")
        << QByteArray::fromHex("3a 7fffffff") << Variant(std::numeric_limits<int32_t>::min());
    QTest::newRow("chunked text") << QByteArray::fromHex("7f 63 e58cba 61 61 ff")
                                  << Variant(QStringLiteral("区a"));
    QTest::newRow("chunked ASCII text")
        << QByteArray::fromHex("7f 62 6162 61 63 ff") << Variant(QStringLiteral("abc"));
    QTest::newRow("chunked empty text") << QByteArray::fromHex("7f ff") << Variant(QString());
    QTest::newRow("chunked bytes")
        << QByteArray::fromHex("5f 41 01 42 0203 ff") << Variant(QByteArray::fromHex("010203"));
}

void DataPacketTest::otherWritersShapes()
{
    QFETCH(QByteArray, cell);
    QFETCH(Variant, value);
    const QByteArray magic("NelvoPacket/1");
    const QByteArray definite = QByteArray::fromHex("83 6d") + magic +
                                QByteArray::fromHex("81 63") + "f_a" +
                                QByteArray::fromHex("81 81") + cell;
    QCOMPARE(decodeError(definite), QString());
    QCOMPARE(platform::decodePacket(definite).rows, (QList<QList<Variant>>{{value}}));
    // The same with every array of indefinite length.
    const QByteArray indefinite =
        QByteArray::fromHex("9f 6d") + magic + QByteArray::fromHex("9f 63") + "f_a" +
        QByteArray::fromHex("ff 9f 9f") + cell + QByteArray::fromHex("ff ff ff");
    for (const QByteArray& packet : {definite, indefinite}) {
        QCOMPARE(readError(packet), QString());
        TableRowReader reader;
        platform::readPacket(packet, reader);
        QCOMPARE(reader.faults, QStringList());
        QCOMPARE(reader.table.columns, QStringList{"f_a"});
        QCOMPARE(reader.table.rows, (QList<QList<Variant>>{{value}}));
        QCOMPARE(platform::decodePacket(packet).rows, reader.table.rows);
    }
}

void DataPacketTest::rowReaderSeesTheTable()
{
    // A column holds text in one row and other values in the next: the reused cells must
    // not keep the earlier row's kind.
    DataTable table;
    table.columns = {"f_bm", "f_mc"};
    table.rows = {{Variant("01"), Variant(QStringLiteral("一区😀"))},
                  {Variant(int32_t(42)), Variant::null()},
                  {Variant("03"), Variant(QByteArray("\x01", 1))},
                  {Variant::null(), Variant("plain")}};
    TableRowReader reader;
    platform::readPacket(platform::encodePacket(table), reader);
    QCOMPARE(reader.faults, QStringList());
    QCOMPARE(reader.expected, 4);
    QCOMPARE(reader.table.columns, table.columns);
    QCOMPARE(reader.table.rows, table.rows);
}

void DataPacketTest::truncatedAtEveryLength()
{
    const QByteArray valid = platform::encodePacket(sampleTable());
    QCOMPARE(platform::decodePacket(valid).rows.size(), 2);
    for (qsizetype length = 0; length < valid.size(); ++length) {
        // A copy of exactly the prefix, so a sanitizer sees any read past its end.
        const QByteArray prefix(valid.constData(), length);
        const QString error = decodeError(prefix);
        QVERIFY2(error.startsWith(QStringLiteral("Invalid data packet: ")),
                 qPrintable(QStringLiteral("accepted at length %1").arg(length)));
        QCOMPARE(readError(prefix), error);
    }
}

void DataPacketTest::corruptedBytesNeverCrash()
{
    // Every single-byte corruption of a valid packet, and random inputs, either decode to a
    // well-formed table or raise Error; nothing else may happen.
    const QByteArray valid = platform::encodePacket(sampleTable());
    QList<QByteArray> inputs;
    for (qsizetype i = 0; i < valid.size(); ++i) {
        for (const char replacement : {'\x00', '\xff', '\x9f', '\x7f', '\x1b'}) {
            QByteArray corrupted = valid;
            corrupted[i] = replacement;
            inputs.append(corrupted);
        }
    }
    QRandomGenerator random(20240521);
    for (int i = 0; i < 500; ++i) {
        QByteArray bytes(random.bounded(1, 64), Qt::Uninitialized);
        for (char& byte : bytes)
            byte = char(random.bounded(256));
        inputs.append(bytes);
    }
    int rejected = 0;
    for (const QByteArray& input : inputs) {
        const QString readerError = readError(input);
        try {
            const DataTable table = platform::decodePacket(input);
            for (const QList<Variant>& row : table.rows)
                QCOMPARE(row.size(), table.columns.size());
            QCOMPARE(readerError, QString());
        } catch (const platform::Error& error) {
            QVERIFY(error.message().startsWith(QStringLiteral("Invalid data packet: ")));
            QCOMPARE(readerError, error.message());
            ++rejected;
        }
    }
    QVERIFY(rejected > inputs.size() / 2);
}

QTEST_APPLESS_MAIN(DataPacketTest)
#include "DataPacketTest.moc"
