#pragma once

#include "PlatformExport.h"

#include <QByteArray>
#include <QString>

namespace platform {

// The host's single-byte/double-byte texts (GB2312, decoded as its superset GB18030).
// Bytes that are no valid GB18030 become U+FFFD. Raises Error when no converter exists.
PLATFORM_EXPORT QString decodeGb18030(const QByteArray& bytes);
PLATFORM_EXPORT QByteArray encodeGb18030(const QString& text);

// A length-prefixed short string: one length byte, then that many bytes. The returned
// text is decoded from GB18030. A null pointer gives the empty text.
PLATFORM_EXPORT QString decodeShortString(const unsigned char* shortString);

} // namespace platform
