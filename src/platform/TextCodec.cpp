#include "TextCodec.h"

#include "Error.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform {

// Qt reaches GB18030 through ICU; a fresh converter per call keeps calls independent.
QString decodeGb18030(const QByteArray& bytes)
{
    QStringDecoder decoder("GB18030");
    if (!decoder.isValid())
        throw Error(QStringLiteral("The GB18030 text converter is not available"));
    return decoder.decode(bytes);
}

QByteArray encodeGb18030(const QString& text)
{
    QStringEncoder encoder("GB18030");
    if (!encoder.isValid())
        throw Error(QStringLiteral("The GB18030 text converter is not available"));
    return encoder.encode(text);
}

QString decodeShortString(const unsigned char* shortString)
{
    if (!shortString)
        return QString();
    const int length = shortString[0];
    return decodeGb18030(QByteArray(reinterpret_cast<const char*>(shortString + 1), length));
}

} // namespace platform
