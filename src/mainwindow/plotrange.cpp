#include "plotrange.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kEmptyLower = 0.0;
constexpr double kEmptyUpper = 5.0;
constexpr double kSingleValueMargin = 0.1; // of the value
constexpr double kSpreadMargin = 0.5;      // of the spread

} // namespace

QCPRange keyAxisRange(int count)
{
    return QCPRange(0.0, count + 1.0);
}

std::optional<QCPRange> valueAxisRange(const QVector<double> &values)
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
        return QCPRange(kEmptyLower, kEmptyUpper);

    const double margin = finite == 1 ? highest * kSingleValueMargin : (highest - lowest) * kSpreadMargin;
    const double lower = lowest - margin;
    const double upper = highest + margin;
    if (!QCPRange::validRange(std::min(lower, upper), std::max(lower, upper)))
        return std::nullopt;
    return QCPRange(std::min(lower, upper), std::max(lower, upper));
}
