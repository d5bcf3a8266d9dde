#include "PacketFormat.h"

#include <cstring>

namespace platform::packet {

bool isValidUtf8(const uchar* bytes, qsizetype size)
{
    qsizetype i = 0;
    while (i < size) {
        const uchar lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int continuation = 0;
        uchar low = 0x80, high = 0xbf; // the allowed range of the second byte
        if (lead >= 0xc2 && lead <= 0xdf) {
            continuation = 1;
        } else if (lead >= 0xe0 && lead <= 0xef) {
            continuation = 2;
            if (lead == 0xe0)
                low = 0xa0;
            else if (lead == 0xed)
                high = 0x9f;
        } else if (lead >= 0xf0 && lead <= 0xf4) {
            continuation = 3;
            if (lead == 0xf0)
                low = 0x90;
            else if (lead == 0xf4)
                high = 0x8f;
        } else {
            return false;
        }
        if (size - i <= continuation)
            return false;
        if (bytes[i + 1] < low || bytes[i + 1] > high)
            return false;
        for (int k = 2; k <= continuation; ++k) {
            if ((bytes[i + k] & 0xc0) != 0x80)
                return false;
        }
        i += continuation + 1;
    }
    return true;
}

bool isAscii(const uchar* bytes, qsizetype size)
{
    // Eight bytes at a time, then the rest one by one.
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word = 0;
        std::memcpy(&word, bytes + i, sizeof word);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; i < size; ++i) {
        if (bytes[i] & 0x80)
            return false;
    }
    return true;
}

qsizetype writeHead(uchar* out, uint8_t major, uint64_t value)
{
    const auto type = uchar(major << 5);
    int width = 0;
    if (value < 24) {
        out[0] = uchar(type | value);
        return 1;
    }
    if (value <= 0xff) {
        out[0] = uchar(type | 24);
        width = 1;
    } else if (value <= 0xffff) {
        out[0] = uchar(type | 25);
        width = 2;
    } else if (value <= 0xffffffffu) {
        out[0] = uchar(type | 26);
        width = 4;
    } else {
        out[0] = uchar(type | 27);
        width = 8;
    }
    for (int i = width; i >= 1; --i, value >>= 8)
        out[i] = uchar(value);
    return 1 + width;
}

} // namespace platform::packet
