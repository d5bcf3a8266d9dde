#pragma once

#include <cstdint>

// a * b / c rounded to the nearest integer, halves away from zero; -1 when c is 0.
constexpr int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const int64_t product = int64_t(a) * b;
    const bool negative = (product < 0) != (c < 0);
    const int64_t num = product < 0 ? -product : product;
    const int64_t den = c < 0 ? -int64_t(c) : int64_t(c);
    const int64_t quotient = (2 * num + den) / (2 * den);
    return int(negative ? -quotient : quotient);
}
