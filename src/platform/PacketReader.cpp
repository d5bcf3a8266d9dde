#include "PacketReader.h"

#include "Error.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace platform::packet {

namespace {

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

// Integers come back as Int32 when they fit, Int64 otherwise.
Variant integerVariant(int64_t n)
{
    if (n >= std::numeric_limits<int32_t>::min() && n <= std::numeric_limits<int32_t>::max())
        return Variant(int32_t(n));
    return Variant(n);
}

} // namespace

void PacketReader::fail(const QString& reason)
{
    throw Error(QStringLiteral("Invalid data packet: %1").arg(reason));
}

PacketReader::Head PacketReader::readHead(const char* what)
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
    } else if (head.info == IndefiniteInfo && head.major >= ByteString && head.major != TagType) {
        head.indefinite = true;
    } else {
        fail(QStringLiteral("malformed item in %1").arg(QLatin1String(what)));
    }
    return head;
}

PacketReader::Array PacketReader::enterArray(const char* what)
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

bool PacketReader::hasNext(Array& array)
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

void PacketReader::expectElement(Array& array, const char* what)
{
    if (!hasNext(array))
        fail(QStringLiteral("truncated before %1").arg(QLatin1String(what)));
}

QString PacketReader::readText(const char* what)
{
    const Head head = readHead(what);
    if (head.major != TextString)
        fail(QStringLiteral("%1 is not text").arg(QLatin1String(what)));
    return readTextBody(head);
}

template <typename Consumer> void PacketReader::readStringBody(const Head& head, Consumer consume)
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

template <typename Consumer> void PacketReader::takeChunk(uint64_t length, Consumer& consume)
{
    if (length > uint64_t(remaining()))
        fail(QStringLiteral("truncated"));
    const uchar* begin = m_at;
    m_at += qsizetype(length);
    consume(begin, qsizetype(length));
}

bool PacketReader::takeText(uint64_t length, const uchar*& bytes)
{
    if (length > uint64_t(remaining()))
        fail(QStringLiteral("truncated"));
    bytes = m_at;
    const auto size = qsizetype(length);
    m_at += size;
    const bool ascii = isAscii(bytes, size);
    if (!ascii && !isValidUtf8(bytes, size))
        fail(QStringLiteral("bad text: invalid UTF-8"));
    return ascii;
}

QString PacketReader::readTextBody(const Head& head)
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

QByteArray PacketReader::readBytesBody(const Head& head)
{
    QByteArray bytes;
    readStringBody(head, [&bytes](const uchar* data, qsizetype size) {
        bytes.append(reinterpret_cast<const char*>(data), size);
    });
    return bytes;
}

Variant PacketReader::readValue(const Head& head)
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

Variant PacketReader::simpleOrFloat(const Head& head)
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

} // namespace platform::packet
