#pragma once

#include <QString>
#include <cstdint>

// Small text helpers of the system-parameter rules.

// a when condition holds, otherwise b.
QString IfThenText(bool condition, const QString& a, const QString& b);

// value in decimal, zero-padded on the left to width characters. A longer text is kept
// whole, or cut to its last width characters when cut is set (empty when width <= 0).
QString ZeroPadNumber(int width, bool cut, int64_t value);

// text without the blanks and control characters (code points up to U+0020) at both ends.
QString TrimBlanks(const QString& text);
