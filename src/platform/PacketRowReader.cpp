#include "PacketRowReader.h"

#include "PacketReader.h"

namespace platform {

namespace {

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
    packet::PacketReader(bytes).read(sink);
}

} // namespace platform
