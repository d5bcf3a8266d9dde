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
    uint64_t hash = m_match == Match::Exact ? qHash(text) : LineOrder::hashIgnoringCase(text);
    // The slot is taken from the low bits: mix the high bits into them first.
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdu;
    hash ^= hash >> 33;
    return size_t(hash);
}

bool TextSet::equal(QStringView left, QStringView right) const
{
    return m_match == Match::Exact ? left == right : LineOrder::equalIgnoringCase(left, right);
}

size_t TextSet::slotOf(QStringView text, size_t hash) const
{
    const size_t mask = m_slots.size() - 1;
    const uint32_t tag = uint32_t(hash >> 32);
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot& at = m_slots[slot];
        if (at.entry == 0 || (at.tag == tag && equal(m_texts.at(at.entry - 1), text)))
            return slot;
    }
}

void TextSet::grow(size_t slotCount)
{
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(slotCount, Slot{0, 0});
    const size_t mask = slotCount - 1;
    for (const Slot& moved : old) {
        if (moved.entry == 0)
            continue;
        // The texts in the set are distinct: only an empty slot is looked for.
        const QStringView text = m_texts.at(moved.entry - 1);
        size_t slot = hashOf(text) & mask;
        while (m_slots[slot].entry != 0)
            slot = (slot + 1) & mask;
        m_slots[slot] = moved;
    }
}

bool TextSet::insert(QStringView text)
{
    if ((size_t(m_texts.size()) + 1) * 2 > m_slots.size())
        grow(std::max<size_t>(16, m_slots.size() * 2));
    const size_t hash = hashOf(text);
    const size_t slot = slotOf(text, hash);
    if (m_slots[slot].entry != 0)
        return false;
    m_texts.append(text);
    m_slots[slot] = Slot{uint32_t(m_texts.size()), uint32_t(hash >> 32)};
    return true;
}

bool TextSet::contains(QStringView text) const
{
    return !m_slots.empty() && m_slots[slotOf(text, hashOf(text))].entry != 0;
}
