#include "subgroupchart.h"

#include "subgroupconstants.h"

#include <algorithm>
#include <cmath>

SubgroupChart subgroupChart(const QVector<QVector<double>> &subgroups, int frozenCount)
{
    SubgroupChart chart;
    int largest = 0;
    for (const auto &g : subgroups)
        largest = std::max(largest, int(g.size()));
    chart.usesRange = largest <= kLargestRangeSubgroup;

    chart.points.resize(subgroups.size());
    for (int i = 0; i < subgroups.size(); ++i) {
        const QVector<double> &g = subgroups[i];
        SubgroupPoint &p = chart.points[i];
        p.size = g.size();
        if (p.size < kSmallestSubgroup || p.size > kLargestSubgroup)
            continue;
        double sum = 0.0;
        for (double v : g)
            sum += v;
        p.mean = sum / p.size;
        if (chart.usesRange) {
            const auto [low, high] = std::minmax_element(g.begin(), g.end());
            p.spread = *high - *low;
        } else {
            double squares = 0.0;
            for (double v : g)
                squares += (v - p.mean) * (v - p.mean);
            p.spread = std::sqrt(squares / (p.size - 1));
        }
    }

    // σ from the frozen subgroups: the mean of each one's unbiased R/d2 or S/c4.
    double means = 0.0, sigmas = 0.0;
    int used = 0;
    for (int i = 0; i < subgroups.size() && i < frozenCount; ++i) {
        const SubgroupPoint &p = chart.points[i];
        if (std::isnan(p.mean))
            continue;
        const SubgroupConstants c = subgroupConstants(p.size);
        means += p.mean;
        sigmas += p.spread / (chart.usesRange ? c.d2 : c.c4);
        ++used;
    }
    chart.frozen = used;
    if (used == 0)
        return chart;
    chart.grandMean = means / used;
    chart.sigma = sigmas / used;

    for (SubgroupPoint &p : chart.points) {
        if (std::isnan(p.mean))
            continue;
        const SubgroupConstants c = subgroupConstants(p.size);
        const double half = 3.0 * chart.sigma / std::sqrt(double(p.size));
        p.meanLower = chart.grandMean - half;
        p.meanUpper = chart.grandMean + half;
        const double centre = chart.usesRange ? c.d2 : c.c4;
        const double spread = chart.usesRange ? c.d3 : std::sqrt(1.0 - c.c4 * c.c4);
        p.spreadCentre = centre * chart.sigma;
        p.spreadLower = std::max(0.0, (centre - 3.0 * spread) * chart.sigma);
        p.spreadUpper = (centre + 3.0 * spread) * chart.sigma;
    }
    return chart;
}
