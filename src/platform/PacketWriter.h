#pragma once

#include "PlatformExport.h"
#include "Variant.h"

#include <QByteArray>
#include <QStringList>
#include <QStringView>
#include <cstdint>

namespace platform {

// Writes a packet (the format of PacketFormat.h) row after row, for a producer that reads
// its rows one at a time and need not hold them as a DataTable first (the bytes equal
// encodePacket's for the same table). Each row is beginRow() followed by exactly
// columns.size() values.
class PLATFORM_EXPORT PacketWriter {
public:
    explicit PacketWriter(const QStringList& columns);

    // Starts a row; raises Error when the row before it is incomplete.
    void beginRow();
    // Each append raises Error when the current row already has a value per column, or
    // when no row has been started.
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

    // The packet, once. Raises Error when a row has more or fewer values than columns, or
    // when the packet has been finished already.
    QByteArray finish();

private:
    void value(); // counts a value of the current row, raising when there is no room
    void writeText(QStringView text);
    void head(uint8_t major, uint64_t argument);
    void raw(const char* data, qsizetype size);
    uchar* room(qsizetype count);

    QByteArray m_rows;          // head, magic, column names, a gap, then the rows, up to m_size
    qsizetype m_prefixSize = 0; // the bytes before the gap
    bool m_finished = false;
    qsizetype m_size = 0;
    qsizetype m_width = 0;
    qsizetype m_rowCount = 0;
    qsizetype m_valuesInRow = 0;
};

} // namespace platform
