#include "Error.h"
#include "Variant.h"

#include <cstdint>

namespace platform {

namespace {

int digitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int value = -1;
    if (u >= '0' && u <= '9')
        value = u - '0';
    else if (u >= 'a' && u <= 'f')
        value = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        value = u - 'A' + 10;
    return value < base ? value : -1;
}

} // namespace

bool tryTextToInt32(const QString& text, int32_t& value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i < n && (text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i >= n)
        return false;

    // Decimal must fit the signed range; hexadecimal may use all 32 bits ("$FFFFFFFF" is -1).
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t magnitude = 0;
    for (; i < n; ++i) {
        const int digit = digitValue(text[i], base);
        if (digit < 0)
            return false;
        magnitude = magnitude * uint64_t(base) + uint64_t(digit);
        if (magnitude > limit)
            return false;
    }
    uint32_t bits = uint32_t(magnitude);
    if (negative)
        bits = 0u - bits;
    value = int32_t(bits);
    return true;
}

int32_t textToInt32(const QString& text)
{
    int32_t value = 0;
    if (!tryTextToInt32(text, value))
        throw Error(QStringLiteral("'%1' is not a valid integer value").arg(text));
    return value;
}

} // namespace platform
