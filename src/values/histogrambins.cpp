#include "histogrambins.h"

#include <algorithm>
#include <cmath>

namespace {

// Quantile by linear interpolation between order statistics.
double quantile(const QVector<double> &sorted, double p)
{
    const double position = p * (sorted.size() - 1);
    const int below = int(std::floor(position));
    const int above = std::min(below + 1, int(sorted.size()) - 1);
    return sorted[below] + (position - below) * (sorted[above] - sorted[below]);
}

} // namespace

HistogramBins histogramBins(const QVector<float> &readings)
{
    HistogramBins h;
    QVector<double> values;
    values.reserve(readings.size());
    for (float r : readings)
        if (std::isfinite(r))
            values.append(r);
    if (values.isEmpty())
        return h;
    std::sort(values.begin(), values.end());
    const double low = values.first();
    const double span = values.last() - low;
    const double iqr = quantile(values, 0.75) - quantile(values, 0.25);
    const double fdWidth = 2.0 * iqr / std::cbrt(double(values.size()));
    int bins = 1;
    if (span > 0.0 && fdWidth > 0.0)
        bins = int(std::clamp(std::ceil(span / fdWidth), 1.0, double(kMostHistogramBins)));
    h.start = low;
    h.width = span > 0.0 ? span / bins : 1.0;
    h.counts.fill(0, bins);
    for (double v : values) {
        // the largest reading belongs to the last bin, not one past it
        const int bin = std::min(bins - 1, int((v - low) / h.width));
        ++h.counts[bin];
    }
    return h;
}
