#pragma once

#include "PlatformExport.h"
#include "Variant.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

namespace platform {

// A table as it travels between the data server and the module.
struct PLATFORM_EXPORT DataTable {
    QStringList columns;        // names as the database reports them
    QList<QList<Variant>> rows; // each row has columns.size() values; null kept as null
};

// Byte format of a data packet (CBOR, RFC 8949):
//   array(3) [ "NelvoPacket/1",
//              array(columns) [text...],
//              array(rows) [ array(columns) [value...] ] ]
// Values: CBOR null for null, bool, integer (int64), double, text string, byte string.
// Decoded integers are Int32 variants when they fit, Int64 otherwise; Empty is not storable.
// encodePacket raises Error only for a value of another type (empty, array) or a row whose
// width differs from the column count.
PLATFORM_EXPORT QByteArray encodePacket(const DataTable& table);
// Raises Error "Invalid data packet: <reason>" for anything not in the format above,
// including truncated input, wrong row widths and trailing bytes; never reads out of bounds.
PLATFORM_EXPORT DataTable decodePacket(const QByteArray& bytes);

// One cell of a packet row as readPacket sees it: a text in one piece stays its UTF-8
// bytes inside the packet (checked well-formed), any other value is a variant.
struct PLATFORM_EXPORT PacketCell {
    QByteArrayView utf8; // a text cell's bytes; valid during the row() call only
    Variant value;       // any other cell; Empty for a text cell
    bool isText = false;
    bool ascii = false; // utf8 holds ASCII only

    bool isNull() const noexcept { return !isText && value.isNull(); }
    // The text as Variant::toText gives it (raises as it does for bytes).
    QString toText() const;
};

// Receives a packet's rows from readPacket.
class PLATFORM_EXPORT PacketRowReader {
public:
    virtual ~PacketRowReader() = default;
    virtual void columns(const QStringList& names) = 0; // once, before any row
    // The row count the packet declares, when it declares one (before the first row).
    virtual void expectRows(qsizetype count) { Q_UNUSED(count); }
    virtual void row(const QList<PacketCell>& cells) = 0; // one cell per column, in order
};

// Reads bytes with the checks and errors of decodePacket, handing each row to reader as it
// is read rather than building a table (rows before a malformed part have been handed on
// when the Error is raised).
PLATFORM_EXPORT void readPacket(const QByteArray& bytes, PacketRowReader& reader);

// Writes a packet row after row, for a producer that reads its rows one at a time and need
// not hold them as a DataTable first (the bytes equal encodePacket's for the same table).
// Each row is beginRow() followed by exactly columns.size() values.
class PLATFORM_EXPORT PacketWriter {
public:
    explicit PacketWriter(const QStringList& columns);

    // Starts a row; raises Error when the row before it is incomplete.
    void beginRow();
    void appendNull();
    void appendBool(bool value);
    void appendInteger(int64_t value);
    void appendDouble(double value);
    void appendText(QStringView text);
    // Text given as UTF-8; a malformed sequence is replaced as QString::fromUtf8 does.
    void appendUtf8(const char* data, qsizetype size);
    void appendBytes(const char* data, qsizetype size);
    // Any storable value; raises Error for an empty or array variant.
    void append(const Variant& value);

    // The packet. Raises Error when a row has more or fewer values than columns.
    QByteArray finish();

private:
    void value(); // counts a value of the current row, raising when there is no room
    void writeText(QStringView text);
    void head(uint8_t major, uint64_t argument);
    void raw(const char* data, qsizetype size);
    uchar* room(qsizetype count);

    QByteArray m_prefix; // the packet's head, magic and column names
    QByteArray m_rows;   // the rows, written so far up to m_size
    qsizetype m_size = 0;
    qsizetype m_width = 0;
    qsizetype m_rowCount = 0;
    qsizetype m_valuesInRow = 0;
};

} // namespace platform
