#include "area/TextSet.h"

#include "area/LineOrder.h"

#include <QHashFunctions>
#include <bit>

void TextSet::reserve(qsizetype count)
{
    m_texts.reserve(count, count * 8);
    if (size_t(count) * 2 > m_slots.size())
        grow(std::bit_ceil(size_t(count) * 2));
}

size_t TextSet::hashOf(QStringView text) const
{
    return m_match == Match::Exact ? qHash(text) : LineOrder::hashIgnoringCase(text);
}

bool TextSet::equal(QStringView left, QStringView right) const
{
    return m_match == Match::Exact ? left == right : LineOrder::equalIgnoringCase(left, right);
}

size_t TextSet::slotOf(QStringView text, size_t hash) const
{
    const size_t mask = m_slots.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const uint32_t entry = m_slots[slot];
        if (entry == 0 || equal(m_texts.at(entry - 1), text))
            return slot;
    }
}

void TextSet::grow(size_t slotCount)
{
    std::vector<uint32_t> old = std::move(m_slots);
    m_slots.assign(slotCount, 0);
    for (uint32_t entry : old) {
        if (entry != 0) {
            const QStringView text = m_texts.at(entry - 1);
            m_slots[slotOf(text, hashOf(text))] = entry;
        }
    }
}

bool TextSet::insert(QStringView text)
{
    if ((size_t(m_texts.size()) + 1) * 2 > m_slots.size())
        grow(std::max<size_t>(16, m_slots.size() * 2));
    const size_t slot = slotOf(text, hashOf(text));
    if (m_slots[slot] != 0)
        return false;
    m_texts.append(text);
    m_slots[slot] = uint32_t(m_texts.size());
    return true;
}

bool TextSet::contains(QStringView text) const
{
    return !m_slots.empty() && m_slots[slotOf(text, hashOf(text))] != 0;
}
