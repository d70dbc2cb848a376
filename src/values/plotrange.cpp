#include "values/plotrange.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kEmptyLower = 0.0;
constexpr double kEmptyUpper = 5.0;
constexpr double kSingleValueMargin = 0.1; // of the value
constexpr double kSpreadMargin = 0.5;      // of the spread

// The plots' axes refuse a range whose ends are too close for them to tell
// apart, or too far out to draw.
constexpr double kMinAxisSpan = 1e-280;
constexpr double kMaxAxisEnd = 1e250;

bool isValidAxisRange(const AxisRange &range)
{
    const double span = std::abs(range.lower - range.upper);
    return range.lower > -kMaxAxisEnd && range.upper < kMaxAxisEnd && span > kMinAxisSpan && span < kMaxAxisEnd
           && !(range.lower > 0 && std::isinf(range.upper / range.lower))
           && !(range.upper < 0 && std::isinf(range.lower / range.upper));
}

} // namespace

AxisRange keyAxisRange(int count)
{
    return {0.0, count + 1.0};
}

std::optional<AxisRange> valueAxisRange(const QVector<double> &values)
{
    double lowest = 0.0;
    double highest = 0.0;
    int finite = 0;
    for (const double value : values) {
        if (!std::isfinite(value))
            continue;
        if (finite == 0 || value < lowest)
            lowest = value;
        if (finite == 0 || value > highest)
            highest = value;
        ++finite;
    }
    if (finite == 0)
        return AxisRange{kEmptyLower, kEmptyUpper};

    const double margin = finite == 1 ? highest * kSingleValueMargin : (highest - lowest) * kSpreadMargin;
    const double lower = lowest - margin;
    const double upper = highest + margin;
    const AxisRange range{std::min(lower, upper), std::max(lower, upper)};
    if (!isValidAxisRange(range))
        return std::nullopt;
    return range;
}
