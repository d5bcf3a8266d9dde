#include "area/DisplayLines.h"

#include "platform/Error.h"

#include <algorithm>
#include <limits>

namespace {

constexpr size_t MaxUnits = std::numeric_limits<uint32_t>::max();

} // namespace

void DisplayLines::reserve(qsizetype lines, qsizetype units)
{
    m_spans.reserve(size_t(lines));
    m_units.reserve(size_t(units));
}

void DisplayLines::append(QStringView line)
{
    char16_t* out = beginLine(line.size());
    endLine(std::copy(line.utf16(), line.utf16() + line.size(), out));
}

char16_t* DisplayLines::beginLine(qsizetype maxUnits)
{
    if (m_used + size_t(maxUnits) > MaxUnits)
        throw platform::Error(QStringLiteral("Too many lines for one list"));
    if (m_units.size() < m_used + size_t(maxUnits)) {
        // Grows by half at least, as a vector does, so appending stays linear.
        m_units.resize(std::max(m_used + size_t(maxUnits), m_units.size() + m_units.size() / 2));
    }
    return m_units.data() + m_used;
}

void DisplayLines::endLine(const char16_t* end)
{
    const size_t length = size_t(end - (m_units.data() + m_used));
    m_spans.push_back({uint32_t(m_used), uint32_t(length)});
    m_used += length;
}

void DisplayLines::squeeze()
{
    m_units.resize(m_used);
    m_units.shrink_to_fit();
    m_spans.shrink_to_fit();
}
