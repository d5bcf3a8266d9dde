#pragma once

#include "area/DisplayLines.h"

#include <QStringView>
#include <cstdint>
#include <vector>

// A set of texts held compactly (one buffer, a table of line numbers), matched exactly or
// ignoring letter case as chosen at construction. Lookups cost a hash and, mostly, one
// comparison; a million texts cost their units plus about twenty-four bytes each.
class TextSet {
public:
    enum class Match { Exact, IgnoringCase };
    explicit TextSet(Match match = Match::Exact) : m_match(match) {}

    void reserve(qsizetype count);
    // Adds text unless an equal one is in the set; answers whether it was added.
    bool insert(QStringView text);
    bool contains(QStringView text) const;
    qsizetype size() const { return m_texts.size(); }

private:
    size_t hashOf(QStringView text) const;
    bool equal(QStringView left, QStringView right) const;
    // The slot holding text, or the empty slot where it would go.
    size_t slotOf(QStringView text, size_t hash) const;
    void grow(size_t slotCount);

    Match m_match;
    DisplayLines m_texts;
    struct Slot {
        uint32_t entry; // text number + 1, 0 for an empty slot
        uint32_t tag;   // high bits of the text's hash: most misses never touch the text
    };
    std::vector<Slot> m_slots; // size a power of 2
};
