#include "TextEncoding.h"

#include "platform/TextCodec.h"

#include <QStringDecoder>

namespace admin {

namespace {

bool isAscii(const QByteArray& bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

std::optional<TextEncoding> TextEncoding::fromName(const QString& name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("utf-8") || lower == QLatin1String("utf8"))
        return TextEncoding(Kind::Utf8);
    if (lower == QLatin1String("gb18030"))
        return TextEncoding(Kind::Gb18030);
    return std::nullopt;
}

QString TextEncoding::name() const
{
    return m_kind == Kind::Utf8 ? QStringLiteral("UTF-8") : QStringLiteral("GB18030");
}

bool TextEncoding::decode(const QByteArray& bytes, QString& text) const
{
    if (m_kind == Kind::Utf8) {
        // Codes and keys are mostly ASCII, which reads the same in UTF-8 and Latin-1.
        if (isAscii(bytes)) {
            text = QString::fromLatin1(bytes);
            return true;
        }
        // A byte-order mark inside a field is a character of it, kept (and refused in a code).
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                         QStringDecoder::Flag::ConvertInitialBom);
        text = decoder.decode(bytes);
        return !decoder.hasError();
    }
    // The converter replaces what it cannot read; only text that encodes back to the very
    // same bytes was read faithfully.
    text = platform::decodeGb18030(bytes);
    return platform::encodeGb18030(text) == bytes;
}

QByteArray TextEncoding::encode(const QString& text) const
{
    return m_kind == Kind::Utf8 ? text.toUtf8() : platform::encodeGb18030(text);
}

} // namespace admin
