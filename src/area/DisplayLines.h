#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

// Display lines held compactly: all their UTF-16 units in one buffer and one (offset,
// length) pair per line, so a million lines cost their text plus eight bytes each rather
// than an object and an allocation per line. Lines are only appended; a removal builds a
// new set from the lines kept.
class DisplayLines {
public:
    qsizetype size() const { return qsizetype(m_spans.size()); }
    bool isEmpty() const { return m_spans.empty(); }
    QStringView at(qsizetype index) const
    {
        const Span& span = m_spans[size_t(index)];
        return QStringView(m_units.data() + span.offset, qsizetype(span.length));
    }

    void reserve(qsizetype lines, qsizetype units);
    void append(QStringView line);
    // Appends a line written in place: beginLine gives room for at most maxUnits units,
    // endLine takes the end of what was written there.
    char16_t* beginLine(qsizetype maxUnits);
    void endLine(const char16_t* end);
    // Gives back the room beginLine and reserve took beyond what the lines use.
    void squeeze();

private:
    struct Span {
        uint32_t offset;
        uint32_t length;
    };
    std::vector<char16_t> m_units;
    std::vector<Span> m_spans;
    size_t m_used = 0; // units in use; m_units may be longer while a line is written
};
