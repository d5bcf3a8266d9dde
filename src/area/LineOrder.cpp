#include "area/LineOrder.h"

#include <QChar>
#include <QHashFunctions>

namespace LineOrder {

namespace {

// Walks a text's case-folded UTF-16 units: ASCII through a fast path, a surrogate pair
// folded as its code point (as QString::toCaseFolded does).
class FoldedUnits {
public:
    explicit FoldedUnits(QStringView text) : m_at(text.utf16()), m_end(text.utf16() + text.size())
    {
    }
    bool atEnd() const { return m_pendingLow == 0 && m_at == m_end; }
    char16_t next()
    {
        if (m_pendingLow) {
            const char16_t low = m_pendingLow;
            m_pendingLow = 0;
            return low;
        }
        const char16_t unit = *m_at++;
        if (unit < 0x80)
            return unit >= u'A' && unit <= u'Z' ? char16_t(unit + 32) : unit;
        if (QChar::isHighSurrogate(unit) && m_at != m_end && QChar::isLowSurrogate(*m_at)) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(unit, *m_at++));
            m_pendingLow = QChar::lowSurrogate(folded);
            return QChar::highSurrogate(folded);
        }
        return QChar::toCaseFolded(unit);
    }

private:
    const char16_t* m_at;
    const char16_t* const m_end;
    char16_t m_pendingLow = 0;
};

int compareFolded(QStringView left, QStringView right)
{
    FoldedUnits a(left), b(right);
    while (!a.atEnd() && !b.atEnd()) {
        const char16_t x = a.next(), y = b.next();
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.atEnd() ? (b.atEnd() ? 0 : -1) : 1;
}

} // namespace

int compare(QStringView left, QStringView right)
{
    const int folded = compareFolded(left, right);
    return folded != 0 ? folded : left.compare(right);
}

bool startsWithIgnoringCase(QStringView text, QStringView prefix)
{
    FoldedUnits a(text), b(prefix);
    while (!b.atEnd()) {
        if (a.atEnd() || a.next() != b.next())
            return false;
    }
    return true;
}

bool equalIgnoringCase(QStringView left, QStringView right)
{
    return compareFolded(left, right) == 0;
}

size_t hashIgnoringCase(QStringView text, size_t seed)
{
    size_t hash = seed ^ 0x9e3779b97f4a7c15u;
    for (FoldedUnits units(text); !units.atEnd();)
        hash = (hash ^ units.next()) * 0x100000001b3u;
    return hash;
}

} // namespace LineOrder
