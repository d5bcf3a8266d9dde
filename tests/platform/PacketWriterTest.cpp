// The row-by-row packet writer: the same bytes as a reference CBOR stream writer and as
// encodePacket, values that decode back unchanged, UTF-8 repair and misuse of the rows.
#include "platform/DataPacket.h"
#include "platform/Error.h"

#include <QCborStreamWriter>
#include <QTest>
#include <cmath>
#include <cstring>
#include <limits>

using platform::DataTable;
using platform::PacketWriter;
using platform::Variant;

namespace {

// The packet as QCborStreamWriter writes it: definite lengths, shortest integers, every
// double in 8 bytes, text as UTF-8.
QByteArray referencePacket(const DataTable& table)
{
    QByteArray bytes;
    QCborStreamWriter w(&bytes);
    w.startArray(3);
    w.append(QLatin1String("NelvoPacket/1"));
    w.startArray(quint64(table.columns.size()));
    for (const QString& column : table.columns)
        w.append(column);
    w.endArray();
    w.startArray(quint64(table.rows.size()));
    for (const QList<Variant>& row : table.rows) {
        w.startArray(quint64(row.size()));
        for (const Variant& value : row) {
            switch (value.type()) {
            case Variant::Type::Null:
                w.appendNull();
                break;
            case Variant::Type::Bool:
                w.append(value.boolValue());
                break;
            case Variant::Type::Int32:
            case Variant::Type::Int64:
                w.append(qint64(value.int64Value()));
                break;
            case Variant::Type::Double:
                w.append(value.doubleValue());
                break;
            case Variant::Type::Text:
                w.append(QStringView(value.text()));
                break;
            default:
                w.append(value.bytes());
                break;
            }
        }
        w.endArray();
    }
    w.endArray();
    w.endArray();
    return bytes;
}

// Writes value with the writer's own append for its type (not append(Variant)).
void appendTyped(PacketWriter& writer, const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Null:
        writer.appendNull();
        break;
    case Variant::Type::Bool:
        writer.appendBool(value.boolValue());
        break;
    case Variant::Type::Int32:
    case Variant::Type::Int64:
        writer.appendInteger(value.int64Value());
        break;
    case Variant::Type::Double:
        writer.appendDouble(value.doubleValue());
        break;
    case Variant::Type::Text:
        writer.appendText(value.text());
        break;
    default:
        writer.appendBytes(value.bytes().constData(), value.bytes().size());
        break;
    }
}

// Equal values; doubles compared bit for bit, so -0.0 and NaN count.
bool sameValue(const Variant& a, const Variant& b)
{
    if (a.type() != Variant::Type::Double || b.type() != Variant::Type::Double)
        return a == b;
    const double x = a.doubleValue(), y = b.doubleValue();
    return std::memcmp(&x, &y, sizeof x) == 0;
}

QString longChinese()
{
    return QString(QStringLiteral("区域档案与对照")).repeated(5000);
}

} // namespace

class PacketWriterTest : public QObject {
    Q_OBJECT

private slots:
    void singleValue_data();
    void singleValue();
    void wholeTable();
    void invalidUtf8_data();
    void invalidUtf8();
    void rowsOfWrongWidth();
};

void PacketWriterTest::singleValue_data()
{
    QTest::addColumn<Variant>("value");
    using I64 = std::numeric_limits<int64_t>;
    using I32 = std::numeric_limits<int32_t>;
    using D = std::numeric_limits<double>;

    QTest::newRow("null") << Variant::null();
    QTest::newRow("true") << Variant(true);
    QTest::newRow("false") << Variant(false);
    // Every width of an integer head, on both sides of each boundary.
    for (const int64_t n :
         {int64_t(0), int64_t(23), int64_t(24), int64_t(255), int64_t(256), int64_t(65535),
          int64_t(65536), int64_t(4294967295LL), int64_t(4294967296LL), int64_t(-1), int64_t(-24),
          int64_t(-25), int64_t(-256), int64_t(-257), int64_t(-65537), int64_t(-4294967297LL)})
        QTest::newRow(qPrintable(QStringLiteral("integer %1").arg(n))) << Variant(n);
    QTest::newRow("int32 min") << Variant(I32::min());
    QTest::newRow("int32 max") << Variant(I32::max());
    QTest::newRow("int64 min") << Variant(I64::min());
    QTest::newRow("int64 max") << Variant(I64::max());
    QTest::newRow("double") << Variant(0.1);
    QTest::newRow("negative zero") << Variant(-0.0);
    QTest::newRow("infinity") << Variant(D::infinity());
    QTest::newRow("minus infinity") << Variant(-D::infinity());
    QTest::newRow("NaN") << Variant(D::quiet_NaN());
    QTest::newRow("denormal") << Variant(D::denorm_min());
    QTest::newRow("empty text") << Variant(QString());
    QTest::newRow("ASCII text of 23") << Variant(QString(23, u'a'));
    QTest::newRow("ASCII text of 24") << Variant(QString(24, u'a'));
    QTest::newRow("ASCII text of 256") << Variant(QString(256, u'a'));
    QTest::newRow("Latin-1 text") << Variant(QStringLiteral("café"));
    QTest::newRow("long Chinese text") << Variant(longChinese());
    QTest::newRow("emoji") << Variant(QStringLiteral("库区😀🏭"));
    QTest::newRow("empty bytes") << Variant(QByteArray());
    QTest::newRow("bytes") << Variant(QByteArray("\x00\xff\x80\xf6", 4));
    QTest::newRow("long bytes") << Variant(QByteArray(70000, '\x9f'));
}

void PacketWriterTest::singleValue()
{
    QFETCH(Variant, value);
    const DataTable table{{QStringLiteral("f_value")}, {{value}}};

    PacketWriter typed(table.columns);
    typed.beginRow();
    appendTyped(typed, value);
    const QByteArray bytes = typed.finish();

    QCOMPARE(bytes.toHex(), referencePacket(table).toHex());
    QCOMPARE(bytes, platform::encodePacket(table));

    const DataTable decoded = platform::decodePacket(bytes);
    QCOMPARE(decoded.rows.size(), 1);
    const Variant& back = decoded.rows[0][0];
    QVERIFY2(sameValue(back, value) ||
                 (value.type() == Variant::Type::Int64 && back.type() == Variant::Type::Int32 &&
                  back.int64Value() == value.int64Value()),
             qPrintable(QStringLiteral("decoded as %1").arg(Variant::typeName(back.type()))));
    // Integers come back narrow when they fit.
    if (value.type() == Variant::Type::Int32 || value.type() == Variant::Type::Int64) {
        const bool fits = value.int64Value() >= std::numeric_limits<int32_t>::min() &&
                          value.int64Value() <= std::numeric_limits<int32_t>::max();
        QCOMPARE(back.type(), fits ? Variant::Type::Int32 : Variant::Type::Int64);
    }
}

void PacketWriterTest::wholeTable()
{
    // Several rows of every kind, long enough that the writer's buffer grows many times.
    DataTable table;
    table.columns = {"null", "bool", "int32", "int64", "double", "text", "bytes", "utf8"};
    for (int r = 0; r < 300; ++r) {
        table.rows.append({Variant::null(), Variant(r % 2 == 0), Variant(int32_t(-r * 1000)),
                           Variant((int64_t(r) + 1) << 40), Variant(r / 7.0),
                           Variant(r % 50 == 0 ? longChinese() : QStringLiteral("区%1😀").arg(r)),
                           Variant(QByteArray(r, char(r))), Variant(QStringLiteral("a%1").arg(r))});
    }

    PacketWriter writer(table.columns);
    for (const QList<Variant>& row : table.rows) {
        writer.beginRow();
        for (qsizetype c = 0; c < row.size() - 1; ++c)
            appendTyped(writer, row[c]);
        const QByteArray utf8 = row.last().text().toUtf8();
        writer.appendUtf8(utf8.constData(), utf8.size());
    }
    const QByteArray bytes = writer.finish();
    QCOMPARE(bytes, referencePacket(table));
    QCOMPARE(bytes, platform::encodePacket(table));

    const DataTable decoded = platform::decodePacket(bytes);
    QCOMPARE(decoded.columns, table.columns);
    QCOMPARE(decoded.rows.size(), table.rows.size());
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        for (qsizetype c = 0; c < table.columns.size(); ++c)
            QVERIFY2(sameValue(decoded.rows[r][c], table.rows[r][c]),
                     qPrintable(QStringLiteral("row %1 column %2").arg(r).arg(table.columns[c])));
    }

    // No rows and no columns are packets too.
    QCOMPARE(PacketWriter({}).finish(), referencePacket(DataTable{}));
    QCOMPARE(PacketWriter({"a"}).finish(), referencePacket(DataTable{{"a"}, {}}));
}

void PacketWriterTest::invalidUtf8_data()
{
    QTest::addColumn<QByteArray>("utf8");
    QTest::newRow("lone continuation") << QByteArray("a\x80z");
    QTest::newRow("invalid byte FF") << QByteArray("\xff");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf");
    QTest::newRow("overlong three bytes") << QByteArray("\xe0\x80\xaf");
    QTest::newRow("overlong four bytes") << QByteArray("\xf0\x80\x80\xaf");
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80");
    QTest::newRow("above U+10FFFF") << QByteArray("\xf4\x90\x80\x80");
    QTest::newRow("lead F5") << QByteArray("\xf5\x80\x80\x80");
    QTest::newRow("cut at the end") << QByteArray("区\xe5\x9f");
    QTest::newRow("cut emoji at the end") << QByteArray("\xf0\x9f\x98");
    QTest::newRow("cut in the middle") << QByteArray("\xe5\x9fz\xf0\x9fy");
    QTest::newRow("long text, one bad byte") << QByteArray("区域").repeated(500) + "\xff" + "a";
    // Well-formed input passes through unchanged.
    QTest::newRow("valid emoji") << QByteArray("😀区");
    QTest::newRow("valid ASCII") << QByteArray("f_bm 01");
}

void PacketWriterTest::invalidUtf8()
{
    QFETCH(QByteArray, utf8);
    const QString expected = QString::fromUtf8(utf8);

    PacketWriter writer({"f_mc"});
    writer.beginRow();
    writer.appendUtf8(utf8.constData(), utf8.size());
    const QByteArray bytes = writer.finish();

    QCOMPARE(bytes, platform::encodePacket({{"f_mc"}, {{Variant(expected)}}}));
    const DataTable decoded = platform::decodePacket(bytes);
    QCOMPARE(decoded.rows[0][0].text(), expected);
}

void PacketWriterTest::rowsOfWrongWidth()
{
    {
        PacketWriter writer({"a", "b"});
        QVERIFY_THROWS_EXCEPTION(platform::Error, writer.appendNull()); // no row yet
    }
    {
        PacketWriter writer({"a", "b"});
        writer.beginRow();
        writer.appendInteger(1);
        QVERIFY_THROWS_EXCEPTION(platform::Error, writer.beginRow());
    }
    {
        PacketWriter writer({"a", "b"});
        writer.beginRow();
        writer.appendInteger(1);
        QVERIFY_THROWS_EXCEPTION(platform::Error, writer.finish());
    }
    {
        PacketWriter writer({"a"});
        writer.beginRow();
        writer.appendText(u"x");
        QVERIFY_THROWS_EXCEPTION(platform::Error, writer.appendUtf8("y", 1));
        QVERIFY_THROWS_EXCEPTION(platform::Error, writer.append(Variant()));
    }
    {
        PacketWriter writer({"a"});
        writer.beginRow();
        QVERIFY_THROWS_EXCEPTION(platform::Error, writer.append(Variant()));
        QVERIFY_THROWS_EXCEPTION(platform::Error, writer.append(Variant::array({})));
    }
}

QTEST_APPLESS_MAIN(PacketWriterTest)
#include "PacketWriterTest.moc"
