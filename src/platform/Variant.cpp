#include "Variant.h"

#include "Error.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace platform {

namespace {

[[noreturn]] void raiseCannotConvert(Variant::Type from, const char* to)
{
    throw Error(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                    .arg(Variant::typeName(from), QLatin1String(to)));
}

[[noreturn]] void raiseOverflow(Variant::Type from, const char* to)
{
    throw Error(QStringLiteral("Overflow while converting variant of type (%1) into type (%2)")
                    .arg(Variant::typeName(from), QLatin1String(to)));
}

// A plain decimal floating point number, blanks around it allowed; no "inf"/"nan"/hex.
bool tryTextToDouble(const QString& text, double& value)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^ *[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)? *$)"));
    if (!pattern.match(text).hasMatch())
        return false;
    bool ok = false;
    value = QLocale::c().toDouble(text.trimmed(), &ok);
    return ok && std::isfinite(value);
}

} // namespace

Variant::Variant(bool value) : m_type(Type::Bool), m_bool(value) {}
Variant::Variant(int32_t value) : m_type(Type::Int32), m_int(value) {}
Variant::Variant(int64_t value) : m_type(Type::Int64), m_int(value) {}
Variant::Variant(double value) : m_type(Type::Double), m_double(value) {}
Variant::Variant(const QString& text) : m_type(Type::Text), m_text(text) {}
Variant::Variant(QString&& text) noexcept : m_type(Type::Text), m_text(std::move(text)) {}
Variant::Variant(const char* utf8Text) : m_type(Type::Text), m_text(QString::fromUtf8(utf8Text)) {}
Variant::Variant(const QByteArray& bytes) : m_type(Type::Bytes), m_bytes(bytes) {}
Variant::Variant(QByteArray&& bytes) noexcept : m_type(Type::Bytes), m_bytes(std::move(bytes)) {}

Variant Variant::null()
{
    Variant v;
    v.m_type = Type::Null;
    return v;
}

Variant Variant::array(QList<Variant> elements, int32_t lowerBound)
{
    Variant v;
    v.m_type = Type::Array;
    v.m_lowerBound = lowerBound;
    v.m_elements = std::make_shared<const QList<Variant>>(std::move(elements));
    return v;
}

int32_t Variant::lowerBound() const
{
    elements(); // raises for a non-array
    return m_lowerBound;
}

int32_t Variant::upperBound() const
{
    return int32_t(int64_t(lowerBound()) + int64_t(elements().size()) - 1);
}

const QList<Variant>& Variant::elements() const
{
    if (m_type != Type::Array)
        throw Error(QStringLiteral("Variant of type (%1) is not an array").arg(typeName(m_type)));
    return *m_elements;
}

QString Variant::typeName(Type type)
{
    switch (type) {
    case Type::Empty:
        return QStringLiteral("Empty");
    case Type::Null:
        return QStringLiteral("Null");
    case Type::Bool:
        return QStringLiteral("Boolean");
    case Type::Int32:
        return QStringLiteral("Integer");
    case Type::Int64:
        return QStringLiteral("Int64");
    case Type::Double:
        return QStringLiteral("Double");
    case Type::Text:
        return QStringLiteral("String");
    case Type::Bytes:
        return QStringLiteral("ByteArray");
    case Type::Array:
        return QStringLiteral("Array");
    }
    return QStringLiteral("Unknown");
}

QString Variant::toText() const
{
    switch (m_type) {
    case Type::Empty:
        return QString();
    case Type::Bool:
        return m_bool ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Int32:
    case Type::Int64:
        return QString::number(m_int);
    case Type::Double:
        return QString::number(m_double, 'g', 15);
    case Type::Text:
        return m_text;
    default:
        raiseCannotConvert(m_type, "String");
    }
}

int32_t Variant::toInt32() const
{
    switch (m_type) {
    case Type::Empty:
        return 0;
    case Type::Bool:
        return m_bool ? -1 : 0;
    case Type::Int32:
        return int32_t(m_int);
    case Type::Int64:
        if (m_int < std::numeric_limits<int32_t>::min() ||
            m_int > std::numeric_limits<int32_t>::max())
            raiseOverflow(m_type, "Integer");
        return int32_t(m_int);
    case Type::Double: {
        const double rounded = std::nearbyint(m_double); // current mode: half to even
        if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
            raiseOverflow(m_type, "Integer");
        return int32_t(rounded);
    }
    case Type::Text:
        return textToInt32(m_text);
    default:
        raiseCannotConvert(m_type, "Integer");
    }
}

double Variant::toDouble() const
{
    switch (m_type) {
    case Type::Empty:
        return 0.0;
    case Type::Bool:
        return m_bool ? -1.0 : 0.0;
    case Type::Int32:
    case Type::Int64:
        return double(m_int);
    case Type::Double:
        return m_double;
    case Type::Text: {
        double value = 0;
        if (!tryTextToDouble(m_text, value))
            throw Error(QStringLiteral("'%1' is not a valid floating point value").arg(m_text));
        return value;
    }
    default:
        raiseCannotConvert(m_type, "Double");
    }
}

bool Variant::toBool() const
{
    switch (m_type) {
    case Type::Empty:
        return false;
    case Type::Bool:
        return m_bool;
    case Type::Int32:
    case Type::Int64:
        return m_int != 0;
    case Type::Double:
        return m_double != 0;
    case Type::Text: {
        if (m_text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (m_text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        int32_t integer = 0;
        if (tryTextToInt32(m_text, integer))
            return integer != 0;
        double number = 0;
        if (tryTextToDouble(m_text, number))
            return number != 0;
        raiseCannotConvert(m_type, "Boolean");
    }
    default:
        raiseCannotConvert(m_type, "Boolean");
    }
}

bool operator==(const Variant& a, const Variant& b)
{
    if (a.m_type != b.m_type)
        return false;
    switch (a.m_type) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return true;
    case Variant::Type::Bool:
        return a.m_bool == b.m_bool;
    case Variant::Type::Int32:
    case Variant::Type::Int64:
        return a.m_int == b.m_int;
    case Variant::Type::Double:
        return a.m_double == b.m_double;
    case Variant::Type::Text:
        return a.m_text == b.m_text;
    case Variant::Type::Bytes:
        return a.m_bytes == b.m_bytes;
    case Variant::Type::Array:
        return a.m_lowerBound == b.m_lowerBound && *a.m_elements == *b.m_elements;
    }
    return false;
}

} // namespace platform
