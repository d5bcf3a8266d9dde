#include "PacketWriter.h"

#include "Error.h"
#include "PacketFormat.h"

#include <algorithm>
#include <cstring>

namespace platform {

using namespace packet;

namespace {

Error incompleteRow(qsizetype row, qsizetype values, qsizetype width)
{
    return Error(
        QStringLiteral("Row %1 has %2 values for %3 columns").arg(row).arg(values).arg(width));
}

} // namespace

// The rows grow geometrically in m_rows, with the written size kept apart, so an append
// rarely pays for a resize. The row count is known only at the end: the head and column
// names come first in the same buffer, then room for the longest row-count head, and
// finish() closes the gap by moving the few prefix bytes, never the rows.
PacketWriter::PacketWriter(const QStringList& columns) : m_width(columns.size())
{
    head(ArrayType, 3);
    writeText(QString(magic));
    head(ArrayType, uint64_t(columns.size()));
    for (const QString& column : columns)
        writeText(column);
    m_prefixSize = m_size;
    room(MaxHeadSize);
    m_size += MaxHeadSize;
}

void PacketWriter::beginRow()
{
    if (m_rowCount > 0 && m_valuesInRow != m_width)
        throw incompleteRow(m_rowCount, m_valuesInRow, m_width);
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
    // One room check for the head and the bytes.
    uchar* out = room(MaxHeadSize + size);
    const qsizetype headSize = writeHead(out, TextString, uint64_t(size));
    if (size > 0)
        std::memcpy(out + headSize, data, size_t(size));
    m_size += headSize + size;
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
        throw incompleteRow(m_rowCount, m_valuesInRow, m_width);
    if (m_finished)
        throw Error(QStringLiteral("The packet has been finished already"));
    m_finished = true;
    uchar rowsHead[MaxHeadSize];
    const qsizetype headSize = writeHead(rowsHead, ArrayType, uint64_t(m_rowCount));
    const qsizetype unused = MaxHeadSize - headSize;
    char* bytes = m_rows.data();
    std::memcpy(bytes + m_prefixSize + unused, rowsHead, size_t(headSize));
    std::memmove(bytes + unused, bytes, size_t(m_prefixSize));
    m_rows.resize(m_size);
    // Dropping the front only moves the array's start (no copy of the rows).
    m_rows.remove(0, unused);
    return std::move(m_rows);
}

void PacketWriter::head(uint8_t major, uint64_t argument)
{
    m_size += writeHead(room(MaxHeadSize), major, argument);
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
