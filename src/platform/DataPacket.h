#pragma once

#include "PacketRowReader.h"
#include "PacketWriter.h"
#include "PlatformExport.h"
#include "Variant.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

namespace platform {

// A table as it travels between the data server and the module.
struct PLATFORM_EXPORT DataTable {
    QStringList columns;        // names as the database reports them
    QList<QList<Variant>> rows; // each row has columns.size() values; null kept as null
};

// The whole table as a packet (byte format in PacketFormat.h). Decoded integers are Int32
// variants when they fit, Int64 otherwise; Empty is not storable. encodePacket raises Error
// only for a value of another type (empty, array) or a row whose width differs from the
// column count.
PLATFORM_EXPORT QByteArray encodePacket(const DataTable& table);
// Raises Error "Invalid data packet: <reason>" for anything not in the format, including
// truncated input, wrong row widths and trailing bytes; never reads out of bounds.
PLATFORM_EXPORT DataTable decodePacket(const QByteArray& bytes);

} // namespace platform
