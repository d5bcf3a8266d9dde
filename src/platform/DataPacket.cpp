#include "DataPacket.h"

#include "Error.h"
#include "PacketReader.h"

namespace platform {

namespace {

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

} // namespace

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
    packet::PacketReader(bytes).read(sink);
    return std::move(sink.table);
}

} // namespace platform
