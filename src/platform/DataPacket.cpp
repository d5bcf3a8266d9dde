#include "DataPacket.h"

#include "Error.h"

#include <cmath>
#include <cstring>
#include <limits>

// The packets are written and read by hand rather than with QCborStreamWriter/Reader: a
// packet of n cells is a few bytes per cell, and the stream classes' per-item overhead
// (a device write per item, a chunked string read per text) cost several times the work
// of the table itself. The format is plain CBOR; any CBOR reader can read a packet.

namespace platform {

namespace {

const QLatin1String packetMagic("NelvoPacket/1");

enum Major : uint8_t {
    UnsignedInteger = 0,
    NegativeInteger = 1,
    ByteString = 2,
    TextString = 3,
    ArrayType = 4,
    SimpleOrFloat = 7
};

constexpr uint8_t FalseByte = 0xf4, TrueByte = 0xf5, NullByte = 0xf6, DoubleByte = 0xfb;
constexpr uint8_t BreakByte = 0xff;
constexpr uint8_t IndefiniteInfo = 31;

// Whether bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no sequence cut short.
bool isValidUtf8(const uchar* bytes, qsizetype size)
{
    qsizetype i = 0;
    while (i < size) {
        const uchar lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int continuation = 0;
        uchar low = 0x80, high = 0xbf; // the allowed range of the second byte
        if (lead >= 0xc2 && lead <= 0xdf) {
            continuation = 1;
        } else if (lead >= 0xe0 && lead <= 0xef) {
            continuation = 2;
            if (lead == 0xe0)
                low = 0xa0;
            else if (lead == 0xed)
                high = 0x9f;
        } else if (lead >= 0xf0 && lead <= 0xf4) {
            continuation = 3;
            if (lead == 0xf0)
                low = 0x90;
            else if (lead == 0xf4)
                high = 0x8f;
        } else {
            return false;
        }
        if (size - i <= continuation)
            return false;
        if (bytes[i + 1] < low || bytes[i + 1] > high)
            return false;
        for (int k = 2; k <= continuation; ++k) {
            if ((bytes[i + k] & 0xc0) != 0x80)
                return false;
        }
        i += continuation + 1;
    }
    return true;
}

// Whether none of the bytes has its high bit set, eight at a time.
bool isAscii(const uchar* bytes, qsizetype size)
{
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word = 0;
        std::memcpy(&word, bytes + i, sizeof word);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; i < size; ++i) {
        if (bytes[i] & 0x80)
            return false;
    }
    return true;
}

// Writes an item head in its shortest form at out (room for 9 bytes); answers its length.
qsizetype writeHead(uchar* out, uint8_t major, uint64_t value)
{
    const auto type = uchar(major << 5);
    int width = 0;
    if (value < 24) {
        out[0] = uchar(type | value);
        return 1;
    }
    if (value <= 0xff) {
        out[0] = uchar(type | 24);
        width = 1;
    } else if (value <= 0xffff) {
        out[0] = uchar(type | 25);
        width = 2;
    } else if (value <= 0xffffffffu) {
        out[0] = uchar(type | 26);
        width = 4;
    } else {
        out[0] = uchar(type | 27);
        width = 8;
    }
    for (int i = width; i >= 1; --i, value >>= 8)
        out[i] = uchar(value);
    return 1 + width;
}

double halfToDouble(uint16_t half)
{
    const int exponent = (half >> 10) & 0x1f;
    const int mantissa = half & 0x3ff;
    double value;
    if (exponent == 0)
        value = std::ldexp(mantissa, -24);
    else if (exponent != 31)
        value = std::ldexp(mantissa + 1024, exponent - 25);
    else
        value = mantissa == 0 ? std::numeric_limits<double>::infinity()
                              : std::numeric_limits<double>::quiet_NaN();
    return (half & 0x8000) ? -value : value;
}

// Reads a packet with a bounds check before every byte it touches; any deviation from
// the format raises.
class PacketReader {
public:
    explicit PacketReader(const QByteArray& bytes)
        : m_at(reinterpret_cast<const uchar*>(bytes.constData())), m_end(m_at + bytes.size())
    {
    }

    // Reads the whole packet into sink: sink.columns(names) once, then per row
    // sink.beginRow(), a sink.text(utf8, size, ascii) or sink.value(variant) per cell and
    // sink.endRow(). Text in one piece reaches text() as bytes inside the packet.
    template <typename Sink> void read(Sink& sink)
    {
        Array packet = enterArray("packet");
        expectElement(packet, "magic");
        if (readText("magic") != packetMagic)
            fail(QStringLiteral("unknown format"));

        expectElement(packet, "column list");
        Array columnList = enterArray("column list");
        QStringList columns;
        while (hasNext(columnList))
            columns.append(readText("column name"));
        const qsizetype width = columns.size();
        sink.columns(std::move(columns));

        expectElement(packet, "row list");
        Array rows = enterArray("row list");
        if (!rows.indefinite)
            sink.expectRows(qsizetype(rows.left)); // bounded by the bytes left
        qsizetype rowCount = 0;
        while (hasNext(rows)) {
            Array row = enterArray("row");
            ++rowCount;
            sink.beginRow();
            qsizetype values = 0;
            while (hasNext(row)) {
                if (values == width)
                    fail(QStringLiteral("row %1 has more values than columns").arg(rowCount));
                readCell(sink);
                ++values;
            }
            if (values != width)
                fail(QStringLiteral("row %1 has fewer values than columns").arg(rowCount));
            sink.endRow();
        }

        if (hasNext(packet))
            fail(QStringLiteral("too many parts"));
        if (m_at != m_end)
            fail(QStringLiteral("trailing bytes after the packet"));
    }

private:
    struct Head {
        uint8_t major = 0;
        uint8_t info = 0;
        uint64_t value = 0; // the argument; the float bits for major 7
        bool indefinite = false;
    };

    struct Array {
        bool indefinite = false;
        uint64_t left = 0;
    };

    [[noreturn]] static void fail(const QString& reason)
    {
        throw Error(QStringLiteral("Invalid data packet: %1").arg(reason));
    }

    qsizetype remaining() const { return m_end - m_at; }

    Head readHead(const char* what)
    {
        if (m_at == m_end)
            fail(QStringLiteral("truncated before %1").arg(QLatin1String(what)));
        Head head;
        const uchar initial = *m_at++;
        head.major = initial >> 5;
        head.info = initial & 0x1f;
        if (head.info < 24) {
            head.value = head.info;
        } else if (head.info <= 27) {
            const int width = 1 << (head.info - 24);
            if (remaining() < width)
                fail(QStringLiteral("truncated %1").arg(QLatin1String(what)));
            for (int i = 0; i < width; ++i)
                head.value = (head.value << 8) | *m_at++;
        } else if (head.info == IndefiniteInfo && head.major >= ByteString && head.major != 6) {
            head.indefinite = true;
        } else {
            fail(QStringLiteral("malformed item in %1").arg(QLatin1String(what)));
        }
        return head;
    }

    Array enterArray(const char* what)
    {
        const Head head = readHead(what);
        if (head.major != ArrayType)
            fail(QStringLiteral("%1 is not an array").arg(QLatin1String(what)));
        // Every element takes a byte at least: a longer declared count cannot be true, and
        // trusting it could reserve without bound.
        if (!head.indefinite && head.value > uint64_t(remaining()))
            fail(QStringLiteral("truncated %1").arg(QLatin1String(what)));
        return Array{head.indefinite, head.value};
    }

    // Whether the array has another element; steps past it or past the closing break.
    bool hasNext(Array& array)
    {
        if (!array.indefinite) {
            if (array.left == 0)
                return false;
            --array.left;
            return true;
        }
        if (m_at == m_end)
            fail(QStringLiteral("array not closed"));
        if (*m_at != BreakByte)
            return true;
        ++m_at;
        return false;
    }

    void expectElement(Array& array, const char* what)
    {
        if (!hasNext(array))
            fail(QStringLiteral("truncated before %1").arg(QLatin1String(what)));
    }

    QString readText(const char* what)
    {
        const Head head = readHead(what);
        if (head.major != TextString)
            fail(QStringLiteral("%1 is not text").arg(QLatin1String(what)));
        return readTextBody(head);
    }

    // A definite string's bytes, or each chunk of an indefinite one in turn (each chunk a
    // definite string of the same major type); consumer gets (bytes, size).
    template <typename Consumer> void readStringBody(const Head& head, Consumer consume)
    {
        if (!head.indefinite) {
            takeChunk(head.value, consume);
            return;
        }
        for (;;) {
            if (m_at == m_end)
                fail(QStringLiteral("truncated string"));
            if (*m_at == BreakByte) {
                ++m_at;
                return;
            }
            const Head chunk = readHead("string chunk");
            if (chunk.major != head.major || chunk.indefinite)
                fail(QStringLiteral("bad string chunk"));
            takeChunk(chunk.value, consume);
        }
    }

    template <typename Consumer> void takeChunk(uint64_t length, Consumer& consume)
    {
        if (length > uint64_t(remaining()))
            fail(QStringLiteral("truncated"));
        const uchar* begin = m_at;
        m_at += qsizetype(length);
        consume(begin, qsizetype(length));
    }

    QString readTextBody(const Head& head)
    {
        QString text;
        readStringBody(head, [&text](const uchar* bytes, qsizetype size) {
            const char* chars = reinterpret_cast<const char*>(bytes);
            QString chunk;
            if (isAscii(bytes, size))
                chunk = QString::fromLatin1(chars, size);
            else if (isValidUtf8(bytes, size))
                chunk = QString::fromUtf8(chars, size);
            else
                fail(QStringLiteral("bad text: invalid UTF-8"));
            if (text.isEmpty())
                text = std::move(chunk);
            else
                text += chunk;
        });
        return text;
    }

    QByteArray readBytesBody(const Head& head)
    {
        QByteArray bytes;
        readStringBody(head, [&bytes](const uchar* data, qsizetype size) {
            bytes.append(reinterpret_cast<const char*>(data), size);
        });
        return bytes;
    }

    template <typename Sink> void readCell(Sink& sink)
    {
        const Head head = readHead("value");
        if (head.major == TextString && !head.indefinite) {
            if (head.value > uint64_t(remaining()))
                fail(QStringLiteral("truncated"));
            const uchar* bytes = m_at;
            const auto size = qsizetype(head.value);
            m_at += size;
            const bool ascii = isAscii(bytes, size);
            if (!ascii && !isValidUtf8(bytes, size))
                fail(QStringLiteral("bad text: invalid UTF-8"));
            sink.text(reinterpret_cast<const char*>(bytes), size, ascii);
            return;
        }
        sink.value(readValue(head));
    }

    Variant readValue(const Head& head)
    {
        switch (head.major) {
        case UnsignedInteger:
            if (head.value > uint64_t(std::numeric_limits<int64_t>::max()))
                fail(QStringLiteral("integer out of range"));
            return integerVariant(int64_t(head.value));
        case NegativeInteger: // the encoded number is -1 - value
            if (head.value > uint64_t(std::numeric_limits<int64_t>::max()))
                fail(QStringLiteral("integer out of range"));
            return integerVariant(-1 - int64_t(head.value));
        case ByteString:
            return Variant(readBytesBody(head));
        case TextString:
            return Variant(readTextBody(head));
        case SimpleOrFloat:
            return simpleOrFloat(head);
        default:
            fail(QStringLiteral("unsupported value type"));
        }
    }

    static Variant simpleOrFloat(const Head& head)
    {
        switch (head.info) {
        case 20:
            return Variant(false);
        case 21:
            return Variant(true);
        case 22:
            return Variant::null();
        case 25:
            return Variant(halfToDouble(uint16_t(head.value)));
        case 26: {
            const auto bits = uint32_t(head.value);
            float value = 0;
            std::memcpy(&value, &bits, sizeof value);
            return Variant(double(value));
        }
        case 27: {
            double value = 0;
            std::memcpy(&value, &head.value, sizeof value);
            return Variant(value);
        }
        default:
            fail(QStringLiteral("unsupported simple value"));
        }
    }

    static Variant integerVariant(int64_t n)
    {
        if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max())
            return Variant(int32_t(n));
        return Variant(n);
    }

    const uchar* m_at;
    const uchar* const m_end;
};

// Builds the table of decodePacket.
struct TableSink {
    DataTable table;
    QList<Variant> row;

    void columns(QStringList names) { table.columns = std::move(names); }
    void expectRows(qsizetype count) { table.rows.reserve(count); }
    void beginRow()
    {
        row = QList<Variant>();
        row.reserve(table.columns.size());
    }
    void text(const char* utf8, qsizetype size, bool ascii)
    {
        row.append(
            Variant(ascii ? QString::fromLatin1(utf8, size) : QString::fromUtf8(utf8, size)));
    }
    void value(Variant cell) { row.append(std::move(cell)); }
    void endRow() { table.rows.append(std::move(row)); }
};

// Hands rows to a PacketRowReader. The cells are made once, sized to the columns, and
// overwritten row after row (a text cell leaves an empty variant alone).
struct RowReaderSink {
    PacketRowReader& reader;
    QList<PacketCell> cells;
    qsizetype next = 0;

    void columns(QStringList names)
    {
        cells.resize(names.size());
        reader.columns(names);
    }
    void expectRows(qsizetype count) { reader.expectRows(count); }
    void beginRow() { next = 0; }
    void text(const char* utf8, qsizetype size, bool ascii)
    {
        PacketCell& cell = cells[next++];
        cell.utf8 = QByteArrayView(utf8, size);
        cell.ascii = ascii;
        cell.isText = true;
        if (!cell.value.isEmpty())
            cell.value = Variant();
    }
    void value(Variant value)
    {
        PacketCell& cell = cells[next++];
        cell.utf8 = QByteArrayView();
        cell.ascii = false;
        cell.isText = false;
        cell.value = std::move(value);
    }
    void endRow() { reader.row(cells); }
};

} // namespace

QString PacketCell::toText() const
{
    if (!isText)
        return value.toText();
    return ascii ? QString::fromLatin1(utf8.data(), utf8.size())
                 : QString::fromUtf8(utf8.data(), utf8.size());
}

void readPacket(const QByteArray& bytes, PacketRowReader& reader)
{
    RowReaderSink sink{reader, {}};
    PacketReader(bytes).read(sink);
}

QByteArray encodePacket(const DataTable& table)
{
    PacketWriter writer(table.columns);
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        const QList<Variant>& row = table.rows[r];
        if (row.size() != table.columns.size())
            throw Error(QStringLiteral("Row %1 has %2 values for %3 columns")
                            .arg(r + 1)
                            .arg(row.size())
                            .arg(table.columns.size()));
        writer.beginRow();
        for (const Variant& value : row)
            writer.append(value);
    }
    return writer.finish();
}

DataTable decodePacket(const QByteArray& bytes)
{
    TableSink sink;
    PacketReader(bytes).read(sink);
    return std::move(sink.table);
}

// The rows grow geometrically in m_rows, with the written size kept apart, so an append
// rarely pays for a resize. The row count is known only at the end: finish() writes it
// between the head and the rows.
PacketWriter::PacketWriter(const QStringList& columns) : m_width(columns.size())
{
    head(ArrayType, 3);
    writeText(QString(packetMagic));
    head(ArrayType, uint64_t(columns.size()));
    for (const QString& column : columns)
        writeText(column);
    m_prefix = m_rows.left(m_size);
    m_size = 0;
}

void PacketWriter::beginRow()
{
    if (m_rowCount > 0 && m_valuesInRow != m_width)
        throw Error(QStringLiteral("Row %1 has %2 values for %3 columns")
                        .arg(m_rowCount)
                        .arg(m_valuesInRow)
                        .arg(m_width));
    head(ArrayType, uint64_t(m_width));
    ++m_rowCount;
    m_valuesInRow = 0;
}

void PacketWriter::value()
{
    if (m_rowCount == 0 || m_valuesInRow == m_width)
        throw Error(
            QStringLiteral("Row %1 has more values than %2 columns").arg(m_rowCount).arg(m_width));
    ++m_valuesInRow;
}

void PacketWriter::appendNull()
{
    value();
    *room(1) = NullByte;
    ++m_size;
}

void PacketWriter::appendBool(bool flag)
{
    value();
    *room(1) = flag ? TrueByte : FalseByte;
    ++m_size;
}

void PacketWriter::appendInteger(int64_t number)
{
    value();
    if (number >= 0)
        head(UnsignedInteger, uint64_t(number));
    else
        head(NegativeInteger, uint64_t(-1 - number));
}

void PacketWriter::appendDouble(double number)
{
    value();
    uint64_t bits = 0;
    std::memcpy(&bits, &number, sizeof bits);
    uchar* out = room(9);
    out[0] = DoubleByte;
    for (int i = 8; i >= 1; --i, bits >>= 8)
        out[i] = uchar(bits);
    m_size += 9;
}

void PacketWriter::appendText(QStringView text)
{
    value();
    writeText(text);
}

void PacketWriter::writeText(QStringView text)
{
    // Most cells are codes and plain names: narrowed in place, without a UTF-8 copy.
    const char16_t* units = text.utf16();
    const qsizetype size = text.size();
    qsizetype ascii = 0;
    while (ascii < size && units[ascii] < 0x80)
        ++ascii;
    if (ascii < size) {
        const QByteArray utf8 = text.toUtf8();
        head(TextString, uint64_t(utf8.size()));
        raw(utf8.constData(), utf8.size());
        return;
    }
    head(TextString, uint64_t(size));
    uchar* out = room(size);
    for (qsizetype i = 0; i < size; ++i)
        out[i] = uchar(units[i]);
    m_size += size;
}

void PacketWriter::appendUtf8(const char* data, qsizetype size)
{
    const auto* bytes = reinterpret_cast<const uchar*>(data);
    if (!isAscii(bytes, size) && !isValidUtf8(bytes, size)) {
        appendText(QString::fromUtf8(data, size));
        return;
    }
    value();
    head(TextString, uint64_t(size));
    raw(data, size);
}

void PacketWriter::appendBytes(const char* data, qsizetype size)
{
    value();
    head(ByteString, uint64_t(size));
    raw(data, size);
}

void PacketWriter::append(const Variant& cell)
{
    switch (cell.type()) {
    case Variant::Type::Null:
        appendNull();
        break;
    case Variant::Type::Bool:
        appendBool(cell.boolValue());
        break;
    case Variant::Type::Int32:
    case Variant::Type::Int64:
        appendInteger(cell.int64Value());
        break;
    case Variant::Type::Double:
        appendDouble(cell.doubleValue());
        break;
    case Variant::Type::Text:
        appendText(cell.text());
        break;
    case Variant::Type::Bytes:
        appendBytes(cell.bytes().constData(), cell.bytes().size());
        break;
    default:
        throw Error(QStringLiteral("A value of type (%1) cannot be stored in a data packet")
                        .arg(Variant::typeName(cell.type())));
    }
}

QByteArray PacketWriter::finish()
{
    if (m_rowCount > 0 && m_valuesInRow != m_width)
        throw Error(QStringLiteral("Row %1 has %2 values for %3 columns")
                        .arg(m_rowCount)
                        .arg(m_valuesInRow)
                        .arg(m_width));
    uchar rowsHead[9];
    const qsizetype headSize = writeHead(rowsHead, ArrayType, uint64_t(m_rowCount));
    QByteArray packet(m_prefix.size() + headSize + m_size, Qt::Uninitialized);
    char* out = packet.data();
    std::memcpy(out, m_prefix.constData(), size_t(m_prefix.size()));
    std::memcpy(out + m_prefix.size(), rowsHead, size_t(headSize));
    if (m_size > 0)
        std::memcpy(out + m_prefix.size() + headSize, m_rows.constData(), size_t(m_size));
    return packet;
}

void PacketWriter::head(uint8_t major, uint64_t argument)
{
    m_size += writeHead(room(9), major, argument);
}

void PacketWriter::raw(const char* data, qsizetype size)
{
    if (size <= 0)
        return;
    std::memcpy(room(size), data, size_t(size));
    m_size += size;
}

uchar* PacketWriter::room(qsizetype count)
{
    if (m_size + count > m_rows.size())
        m_rows.resize(std::max(m_size + count, 2 * m_rows.size() + 256));
    return reinterpret_cast<uchar*>(m_rows.data()) + m_size;
}

} // namespace platform
