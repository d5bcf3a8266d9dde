#pragma once

#include <QStringView>

// The order of the mapping list: letter case ignored (a, B, c), the case-sensitive order of
// the UTF-16 units only to break ties. The same order as comparing the case-folded texts
// and then the texts, without building the folded copies.
namespace LineOrder {

// Negative, zero or positive as left sorts before, with or after right.
int compare(QStringView left, QStringView right);
inline bool less(QStringView left, QStringView right)
{
    return compare(left, right) < 0;
}
// Whether text starts with prefix, letter case ignored (as a list box's type-ahead does).
bool startsWithIgnoringCase(QStringView text, QStringView prefix);
// Whether the two texts are equal, letter case ignored.
bool equalIgnoringCase(QStringView left, QStringView right);
// A hash that is equal for texts that are equal ignoring case.
size_t hashIgnoringCase(QStringView text, size_t seed = 0);

} // namespace LineOrder
