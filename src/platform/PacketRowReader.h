#pragma once

#include "PlatformExport.h"
#include "Variant.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

namespace platform {

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

// Reads bytes (in the format of PacketFormat.h) with the checks and errors of decodePacket,
// handing each row to reader as it is read rather than building a table (rows before a
// malformed part have been handed on when the Error is raised).
PLATFORM_EXPORT void readPacket(const QByteArray& bytes, PacketRowReader& reader);

} // namespace platform
