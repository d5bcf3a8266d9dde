#pragma once

#include "PlatformExport.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <memory>
#include <type_traits>

namespace platform {

// An automation value: empty, null, boolean, 32/64-bit integer, double, Unicode text,
// byte block (data packets travel as byte blocks) or a one-dimensional array of
// variants with its own lower and upper bound. Copies are deep (value semantics).
class PLATFORM_EXPORT Variant {
public:
    enum class Type { Empty, Null, Bool, Int32, Int64, Double, Text, Bytes, Array };

    Variant() = default; // empty
    Variant(bool value);
    Variant(int32_t value);
    Variant(int64_t value);
    // 64-bit integers spelled long long (qint64, sqlite3_int64) where that is not int64_t.
    template <typename T>
    requires(std::is_same_v<T, long long> && !std::is_same_v<long long, int64_t>) Variant(T value)
        : Variant(int64_t(value))
    {
    }
    Variant(double value);
    Variant(const QString& text);
    Variant(QString&& text) noexcept;
    Variant(const char* utf8Text);
    explicit Variant(const QByteArray& bytes);
    explicit Variant(QByteArray&& bytes) noexcept;

    static Variant null();
    // A one-dimensional array; upperBound() is lowerBound + size - 1.
    static Variant array(QList<Variant> elements, int32_t lowerBound = 0);

    Type type() const noexcept { return m_type; }
    bool isEmpty() const noexcept { return m_type == Type::Empty; }
    bool isNull() const noexcept { return m_type == Type::Null; }
    bool isText() const noexcept { return m_type == Type::Text; }
    bool isArray() const noexcept { return m_type == Type::Array; }
    bool isBytes() const noexcept { return m_type == Type::Bytes; }

    // Array access; calling these on a non-array raises Error.
    int32_t lowerBound() const;
    int32_t upperBound() const;
    const QList<Variant>& elements() const;

    // Raw payloads without conversion (undefined content for other types).
    const QByteArray& bytes() const noexcept { return m_bytes; }
    const QString& text() const noexcept { return m_text; }
    bool boolValue() const noexcept { return m_bool; }
    int64_t int64Value() const noexcept { return m_int; } // Int32 and Int64
    double doubleValue() const noexcept { return m_double; }

    // Conversions in the automation manner. Each raises Error with a message saying
    // what failed, e.g. "'abc' is not a valid integer value" for text to integer, or
    // "Could not convert variant of type (Null) into type (String)".
    QString toText() const;
    int32_t toInt32() const;
    double toDouble() const;
    bool toBool() const;

    // Name of the type as the conversion errors spell it ("Empty", "Null", "String", ...).
    static QString typeName(Type type);

    friend bool operator==(const Variant& a, const Variant& b);

private:
    Type m_type = Type::Empty;
    bool m_bool = false;
    int64_t m_int = 0;
    double m_double = 0;
    QString m_text;
    QByteArray m_bytes;
    int32_t m_lowerBound = 0;
    std::shared_ptr<const QList<Variant>> m_elements;
};

// Same type and same payload (arrays: same bounds and equal elements).
PLATFORM_EXPORT bool operator==(const Variant& a, const Variant& b);

// The standard text-to-integer conversion: leading blanks allowed, optional sign,
// decimal digits, or hexadecimal after "$", "x" or "0x" (case-insensitive). Raises
// Error "'%s' is not a valid integer value" when the text is not such a 32-bit integer.
PLATFORM_EXPORT int32_t textToInt32(const QString& text);
// The same without raising: false when the text is not an integer.
PLATFORM_EXPORT bool tryTextToInt32(const QString& text, int32_t& value);

} // namespace platform
