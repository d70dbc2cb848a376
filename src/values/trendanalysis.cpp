#include "trendanalysis.h"

#include "subgroupconstants.h"

#include <cmath>

namespace {

constexpr unsigned kZoneRules = 0x0f; // rules 1–4: distances from the centre line
constexpr unsigned kTrendRule = 0x10; // rule 5: six means rising or falling

} // namespace

TrendAnalysis trendAnalysis(const QVector<QVector<float>> &subgroups, int frozenCount, unsigned rules)
{
    TrendAnalysis t;
    QVector<QVector<double>> kept;
    for (int i = 0; i < subgroups.size(); ++i) {
        QVector<double> finite;
        finite.reserve(subgroups[i].size());
        for (float v : subgroups[i]) {
            if (std::isfinite(v))
                finite.append(v);
            else
                ++t.nonFinite;
        }
        if (finite.size() < kSmallestSubgroup || finite.size() > kLargestSubgroup) {
            ++t.leftOut;
            continue;
        }
        kept.append(finite);
        t.source.append(i);
    }
    t.chart = subgroupChart(kept, frozenCount);
    const SubgroupChart &c = t.chart;
    if (!(c.sigma > 0.0) || !std::isfinite(c.grandMean))
        return t;

    // Each mean has its own σ (σ/√n): the zone rules judge the standardised
    // means against 0 and 1, so that subgroups of unequal size compare fairly;
    // the trend rule looks at the means themselves.
    QVector<double> z, means;
    for (const SubgroupPoint &p : c.points) {
        z.append((p.mean - c.grandMean) / (c.sigma / std::sqrt(double(p.size))));
        means.append(p.mean);
    }
    const RuleBreaks zone = ruleBreaks(z, 0.0, 1.0, rules & kZoneRules);
    const RuleBreaks trend = ruleBreaks(means, c.grandMean, c.sigma, rules & kTrendRule);
    for (int r = 0; r < kRuleCount; ++r)
        t.meanBreaks.points[r] = zone.points[r] + trend.points[r];

    if (rules & 1u) {
        for (int i = 0; i < c.points.size(); ++i) {
            const SubgroupPoint &p = c.points[i];
            if (p.spread > p.spreadUpper || p.spread < p.spreadLower)
                t.spreadBreaks.append(i);
        }
    }
    return t;
}
