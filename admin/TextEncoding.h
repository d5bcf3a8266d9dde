#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace admin {

// The encoding of a CSV file: UTF-8 (the default) or GB18030 (spreadsheets on Chinese
// Windows). Decoding is strict: bytes that are not valid text are refused, never replaced.
class TextEncoding {
public:
    enum class Kind { Utf8, Gb18030 };

    TextEncoding() = default;
    explicit TextEncoding(Kind kind) : m_kind(kind) {}
    // "utf-8"/"utf8" or "gb18030", ignoring case; nothing for any other name.
    static std::optional<TextEncoding> fromName(const QString& name);

    Kind kind() const { return m_kind; }
    QString name() const;
    // False when bytes are not valid text in this encoding (text is then undefined).
    bool decode(const QByteArray& bytes, QString& text) const;
    QByteArray encode(const QString& text) const;

private:
    Kind m_kind = Kind::Utf8;
};

} // namespace admin
