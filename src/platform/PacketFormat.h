#pragma once

#include <QLatin1String>
#include <QtGlobal>
#include <cstdint>

// Byte format of a data packet (CBOR, RFC 8949):
//   array(3) [ "NelvoPacket/1",
//              array(columns) [text...],
//              array(rows) [ array(columns) [value...] ] ]
// Values: CBOR null for null, bool, integer (int64), double, text string, byte string.
// The writer always uses definite lengths, shortest heads and 8-byte doubles. The reader
// also takes what other CBOR writers produce: indefinite arrays and strings (chunks of the
// same type), half and single floats. It rejects maps, tags, undefined and other simple
// values, integers outside int64, text that is not well-formed UTF-8 and trailing bytes.
//
// The packets are written and read by hand rather than with QCborStreamWriter/Reader: a
// packet of n cells is a few bytes per cell, and the stream classes' per-item overhead
// (a device write per item, a chunked string read per text) cost several times the work
// of the table itself.
namespace platform::packet {

inline const QLatin1String magic("NelvoPacket/1");

enum Major : uint8_t {
    UnsignedInteger = 0,
    NegativeInteger = 1,
    ByteString = 2,
    TextString = 3,
    ArrayType = 4,
    TagType = 6,
    SimpleOrFloat = 7
};

constexpr uint8_t FalseByte = 0xf4, TrueByte = 0xf5, NullByte = 0xf6, DoubleByte = 0xfb;
constexpr uint8_t BreakByte = 0xff;
constexpr uint8_t IndefiniteInfo = 31;
constexpr qsizetype MaxHeadSize = 9;

// Whether bytes are well-formed UTF-8: no overlong forms, no surrogates, nothing above
// U+10FFFF, no sequence cut short.
bool isValidUtf8(const uchar* bytes, qsizetype size);
// Whether none of the bytes has its high bit set.
bool isAscii(const uchar* bytes, qsizetype size);
// Writes an item head in its shortest form at out (room for MaxHeadSize bytes); answers
// its length.
qsizetype writeHead(uchar* out, uint8_t major, uint64_t value);

} // namespace platform::packet
