// \brief Integer pixel geometry of the chart: points, rectangles whose right and bottom edges are
// exclusive, the test whether a position lies on a line segment, and the roundings that the layout
// uses.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

namespace gatool {

struct ChartPoint {
    int X = 0;
    int Y = 0;
    bool operator==(const ChartPoint&) const = default;
};

// Covers the pixels Left to Right - 1 and Top to Bottom - 1.
struct ChartRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool Contains(ChartPoint point) const {
        return Left <= point.X && point.X < Right && Top <= point.Y && point.Y < Bottom;
    }
    bool operator==(const ChartRect&) const = default;
};

// Whether `point` lies on the segment from `a` to `b`: less than one pixel off the ideal line,
// measured along the segment's shorter direction, and not beyond its ends. A segment of zero
// length contains nothing.
inline bool PointOnSegment(ChartPoint point, ChartPoint a, ChartPoint b) {
    const auto within = [](int value, int end1, int end2) {
        return end1 == end2 || (std::min(end1, end2) <= value && value <= std::max(end1, end2));
    };
    if (!within(point.X, a.X, b.X) || !within(point.Y, a.Y, b.Y)) {
        return false;
    }
    // Differences of ints fit in 33 bits and their products in 64, which an x87 long double holds
    // exactly.
    const long double dx = static_cast<long double>(b.X) - a.X;
    const long double dy = static_cast<long double>(b.Y) - a.Y;
    const long double cross = dy * (static_cast<long double>(point.X) - a.X) -
                              (static_cast<long double>(point.Y) - a.Y) * dx;
    return std::fabs(cross) < std::max(std::fabs(dx), std::fabs(dy));
}

// A 64-bit intermediate brought back to int, saturating at the ends of the range.
constexpr int ClampToInt(long long value) {
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

// Round to nearest with ties to even (2.5 gives 2, 3.5 gives 4), saturating at the ends of the int
// range; a NaN gives 0.
inline int RoundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    // The process never leaves the default rounding mode, which rounds ties to even.
    const double rounded = std::nearbyint(value);
    return rounded >= INT_MAX ? INT_MAX : rounded <= INT_MIN ? INT_MIN : static_cast<int>(rounded);
}

// number x numerator / denominator, rounded to nearest with halves away from zero.
constexpr int MulDiv(int number, int numerator, int denominator) {
    const long long product = static_cast<long long>(number) * numerator;
    const long long magnitude = product < 0 ? -product : product;
    const long long divisor = denominator < 0 ? -static_cast<long long>(denominator) : denominator;
    const long long quotient = (magnitude + divisor / 2) / divisor;
    return ClampToInt((product < 0) != (denominator < 0) ? -quotient : quotient);
}

}  // namespace gatool
