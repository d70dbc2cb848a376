#include "values/blockstatistics.h"

#include <cmath>
#include <limits>

BlockStatistics computeStatistics(const QVector<float> &values)
{
    constexpr double kUndefined = std::numeric_limits<double>::quiet_NaN();
    BlockStatistics result{kUndefined, kUndefined, kUndefined, kUndefined};
    const int count = values.size();
    if (count == 0)
        return result;

    // A NaN reading is missing for the extremes (it has no place in an order)
    // but spoils the mean and the deviation, which then show no number.
    for (const float value : values) {
        if (std::isnan(value))
            continue;
        if (std::isnan(result.minimum) || value < result.minimum)
            result.minimum = value;
        if (std::isnan(result.maximum) || value > result.maximum)
            result.maximum = value;
    }

    double sum = 0.0;
    for (const float value : values)
        sum += double(value);
    result.mean = sum / count;

    if (count > 1) {
        double squares = 0.0;
        for (const float value : values) {
            const double deviation = double(value) - result.mean;
            squares += deviation * deviation;
        }
        result.stdev = std::sqrt(squares / double(count - 1));
    }
    return result;
}
