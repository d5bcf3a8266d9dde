#include "DataPacket.h"

#include "Error.h"

#include <QCborStreamReader>
#include <QCborStreamWriter>
#include <limits>

namespace platform {

namespace {

const QLatin1String packetMagic("NelvoPacket/1");

void writeValue(QCborStreamWriter& writer, const Variant& value)
{
    switch (value.type()) {
    case Variant::Type::Null:
        writer.append(nullptr);
        break;
    case Variant::Type::Bool:
        writer.append(value.boolValue());
        break;
    case Variant::Type::Int32:
    case Variant::Type::Int64:
        writer.append(qint64(value.int64Value()));
        break;
    case Variant::Type::Double:
        writer.append(value.doubleValue());
        break;
    case Variant::Type::Text:
        writer.append(value.text());
        break;
    case Variant::Type::Bytes:
        writer.append(value.bytes());
        break;
    default:
        throw Error(QStringLiteral("A value of type (%1) cannot be stored in a data packet")
                        .arg(Variant::typeName(value.type())));
    }
}

// Reads the packet with bounds checks on every step; any deviation raises.
class PacketReader {
public:
    explicit PacketReader(const QByteArray& bytes) : m_bytes(bytes), m_reader(bytes) {}

    DataTable read()
    {
        DataTable table;
        enterArray("packet");
        if (readText("magic") != packetMagic)
            fail(QStringLiteral("unknown format"));

        enterArray("column list");
        while (m_reader.hasNext())
            table.columns.append(readText("column name"));
        leaveArray();

        enterArray("row list");
        while (m_reader.hasNext()) {
            enterArray("row");
            QList<Variant> row;
            row.reserve(table.columns.size());
            while (m_reader.hasNext()) {
                if (row.size() == table.columns.size())
                    fail(QStringLiteral("row %1 has more values than columns")
                             .arg(table.rows.size() + 1));
                row.append(readValue());
            }
            if (row.size() != table.columns.size())
                fail(QStringLiteral("row %1 has fewer values than columns")
                         .arg(table.rows.size() + 1));
            leaveArray();
            table.rows.append(std::move(row));
        }
        leaveArray();

        if (m_reader.hasNext())
            fail(QStringLiteral("too many parts"));
        leaveArray();
        if (m_reader.currentOffset() != m_bytes.size())
            fail(QStringLiteral("trailing bytes after the packet"));
        return table;
    }

private:
    [[noreturn]] void fail(const QString& reason) const
    {
        throw Error(QStringLiteral("Invalid data packet: %1").arg(reason));
    }

    void checkReader()
    {
        if (m_reader.lastError() != QCborError::NoError)
            fail(m_reader.lastError().toString());
    }

    // A declared length can never exceed the bytes left; this keeps allocations bounded.
    void checkDeclaredLength()
    {
        if (m_reader.isLengthKnown() &&
            m_reader.length() > quint64(m_bytes.size() - m_reader.currentOffset()))
            fail(QStringLiteral("truncated"));
    }

    void expectItem(const char* what)
    {
        checkReader();
        if (!m_reader.isValid())
            fail(QStringLiteral("truncated before %1").arg(QLatin1String(what)));
    }

    void enterArray(const char* what)
    {
        expectItem(what);
        if (!m_reader.isArray())
            fail(QStringLiteral("%1 is not an array").arg(QLatin1String(what)));
        checkDeclaredLength();
        if (!m_reader.enterContainer())
            fail(QStringLiteral("%1 is malformed").arg(QLatin1String(what)));
        checkReader();
    }

    void leaveArray()
    {
        checkReader();
        if (m_reader.hasNext() || !m_reader.leaveContainer())
            fail(QStringLiteral("array not closed"));
        checkReader();
    }

    QString readText(const char* what)
    {
        expectItem(what);
        if (!m_reader.isString())
            fail(QStringLiteral("%1 is not text").arg(QLatin1String(what)));
        return readString();
    }

    QString readString()
    {
        checkDeclaredLength();
        QString text;
        auto chunk = m_reader.readString();
        while (chunk.status == QCborStreamReader::Ok) {
            text += chunk.data;
            chunk = m_reader.readString();
        }
        if (chunk.status == QCborStreamReader::Error)
            fail(QStringLiteral("bad text: %1").arg(m_reader.lastError().toString()));
        return text;
    }

    QByteArray readByteString()
    {
        checkDeclaredLength();
        QByteArray bytes;
        auto chunk = m_reader.readByteArray();
        while (chunk.status == QCborStreamReader::Ok) {
            bytes += chunk.data;
            chunk = m_reader.readByteArray();
        }
        if (chunk.status == QCborStreamReader::Error)
            fail(QStringLiteral("bad byte string: %1").arg(m_reader.lastError().toString()));
        return bytes;
    }

    Variant readValue()
    {
        expectItem("value");
        Variant value;
        switch (m_reader.type()) {
        case QCborStreamReader::UnsignedInteger: {
            const quint64 n = m_reader.toUnsignedInteger();
            if (n > quint64(std::numeric_limits<int64_t>::max()))
                fail(QStringLiteral("integer out of range"));
            value = integerVariant(int64_t(n));
            break;
        }
        case QCborStreamReader::NegativeInteger: {
            // The encoded number is -1 - n.
            const quint64 n = quint64(m_reader.toNegativeInteger()) - 1;
            if (n > quint64(std::numeric_limits<int64_t>::max()))
                fail(QStringLiteral("integer out of range"));
            value = integerVariant(-1 - int64_t(n));
            break;
        }
        case QCborStreamReader::Float16:
            value = Variant(double(m_reader.toFloat16()));
            break;
        case QCborStreamReader::Float:
            value = Variant(double(m_reader.toFloat()));
            break;
        case QCborStreamReader::Double:
            value = Variant(m_reader.toDouble());
            break;
        case QCborStreamReader::SimpleType:
            if (m_reader.isNull())
                value = Variant::null();
            else if (m_reader.isBool())
                value = Variant(m_reader.toBool());
            else
                fail(QStringLiteral("unsupported simple value"));
            break;
        case QCborStreamReader::String:
            return Variant(readString());
        case QCborStreamReader::ByteArray:
            return Variant(readByteString());
        default:
            fail(QStringLiteral("unsupported value type"));
        }
        if (!m_reader.next())
            fail(QStringLiteral("truncated value"));
        return value;
    }

    static Variant integerVariant(int64_t n)
    {
        if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max())
            return Variant(int32_t(n));
        return Variant(n);
    }

    const QByteArray& m_bytes;
    QCborStreamReader m_reader;
};

} // namespace

QByteArray encodePacket(const DataTable& table)
{
    QByteArray bytes;
    QCborStreamWriter writer(&bytes);
    writer.startArray(3);
    writer.append(QString(packetMagic));
    writer.startArray(quint64(table.columns.size()));
    for (const QString& column : table.columns)
        writer.append(column);
    writer.endArray();
    writer.startArray(quint64(table.rows.size()));
    for (qsizetype r = 0; r < table.rows.size(); ++r) {
        const QList<Variant>& row = table.rows[r];
        if (row.size() != table.columns.size())
            throw Error(QStringLiteral("Row %1 has %2 values for %3 columns")
                            .arg(r + 1)
                            .arg(row.size())
                            .arg(table.columns.size()));
        writer.startArray(quint64(row.size()));
        for (const Variant& value : row)
            writeValue(writer, value);
        writer.endArray();
    }
    writer.endArray();
    writer.endArray();
    return bytes;
}

DataTable decodePacket(const QByteArray& bytes)
{
    return PacketReader(bytes).read();
}

} // namespace platform
