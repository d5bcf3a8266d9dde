#pragma once

#include "PacketFormat.h"
#include "Variant.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace platform::packet {

// Reads a packet with a bounds check before every byte it touches; any deviation from
// the format raises Error "Invalid data packet: <reason>". The reader does not own the
// bytes, which must outlive it.
class PacketReader {
public:
    explicit PacketReader(const QByteArray& bytes)
        : m_at(reinterpret_cast<const uchar*>(bytes.constData())), m_end(m_at + bytes.size())
    {
    }

    // Reads the whole packet into sink: sink.columns(names) once, sink.expectRows(count)
    // when the row list declares its length, then per row sink.beginRow(), a
    // sink.text(utf8, size, ascii) or sink.value(variant) per cell and sink.endRow(). Text
    // in one piece reaches text() as well-formed UTF-8 bytes inside the packet.
    template <typename Sink> void read(Sink& sink)
    {
        Array packet = enterArray("packet");
        expectElement(packet, "magic");
        if (readText("magic") != magic)
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

    [[noreturn]] static void fail(const QString& reason);

    qsizetype remaining() const { return m_end - m_at; }

    Head readHead(const char* what);
    Array enterArray(const char* what);
    // Whether the array has another element; steps past it or past the closing break.
    bool hasNext(Array& array);
    void expectElement(Array& array, const char* what);

    QString readText(const char* what);
    QString readTextBody(const Head& head);
    QByteArray readBytesBody(const Head& head);
    // A definite string's bytes, or each chunk of an indefinite one in turn (each chunk a
    // definite string of the same major type); consume gets (bytes, size).
    template <typename Consumer> void readStringBody(const Head& head, Consumer consume);
    template <typename Consumer> void takeChunk(uint64_t length, Consumer& consume);
    // A definite text's bytes, checked well-formed; answers whether they are ASCII only.
    bool takeText(uint64_t length, const uchar*& bytes);

    template <typename Sink> void readCell(Sink& sink)
    {
        const Head head = readHead("value");
        if (head.major == TextString && !head.indefinite) {
            const uchar* bytes = nullptr;
            const bool ascii = takeText(head.value, bytes);
            sink.text(reinterpret_cast<const char*>(bytes), qsizetype(head.value), ascii);
            return;
        }
        sink.value(readValue(head));
    }

    Variant readValue(const Head& head);
    static Variant simpleOrFloat(const Head& head);

    const uchar* m_at;
    const uchar* const m_end;
};

} // namespace platform::packet
