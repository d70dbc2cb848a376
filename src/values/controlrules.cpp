#include "controlrules.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kE2 = 2.660;
constexpr double kD4 = 3.267;
constexpr double kD2 = 1.128;

// Marks the points of every window of `width` in which at least `needed`
// points lie beyond `zone` σ on one side.
void zoneRule(const QVector<double> &z, double zone, int needed, int width, QVector<int> &out)
{
    QVector<bool> marked(z.size(), false);
    for (int side = -1; side <= 1; side += 2) {
        for (int end = width - 1; end < z.size(); ++end) {
            int count = 0;
            for (int i = end - width + 1; i <= end; ++i)
                count += side * z[i] > zone;
            if (count < needed)
                continue;
            for (int i = end - width + 1; i <= end; ++i)
                if (side * z[i] > zone)
                    marked[i] = true;
        }
    }
    for (int i = 0; i < z.size(); ++i)
        if (marked[i])
            out.append(i);
}

} // namespace

ImrLimits imrLimits(const QVector<double> &values)
{
    ImrLimits l;
    if (values.isEmpty())
        return l;
    double sum = 0.0;
    for (double v : values)
        sum += v;
    l.centre = sum / values.size();
    if (values.size() < 2)
        return l;
    double ranges = 0.0;
    for (int i = 1; i < values.size(); ++i)
        ranges += std::abs(values[i] - values[i - 1]);
    const double mr = ranges / (values.size() - 1);
    l.upper = l.centre + kE2 * mr;
    l.lower = l.centre - kE2 * mr;
    l.rangeCentre = mr;
    l.rangeUpper = kD4 * mr;
    l.rangeLower = 0.0;
    l.sigma = mr / kD2;
    return l;
}

RuleBreaks ruleBreaks(const QVector<double> &values, double centre, double sigma, unsigned enabled)
{
    RuleBreaks b;
    if (!(sigma > 0.0) || !std::isfinite(centre))
        return b;
    QVector<double> z(values.size());
    for (int i = 0; i < values.size(); ++i)
        z[i] = (values[i] - centre) / sigma;

    if (enabled & 1u)
        for (int i = 0; i < z.size(); ++i)
            if (std::abs(z[i]) > 3.0)
                b.points[0].append(i);
    if (enabled & 2u)
        zoneRule(z, 2.0, 2, 3, b.points[1]);
    if (enabled & 4u)
        zoneRule(z, 1.0, 4, 5, b.points[2]);
    if (enabled & 8u) {
        constexpr int kRun = 8;
        QVector<bool> marked(z.size(), false);
        int run = 0, side = 0;
        for (int i = 0; i < z.size(); ++i) {
            const int s = z[i] > 0 ? 1 : (z[i] < 0 ? -1 : 0);
            run = (s != 0 && s == side) ? run + 1 : (s != 0 ? 1 : 0);
            side = s;
            if (run >= kRun)
                for (int j = i - kRun + 1; j <= i; ++j)
                    marked[j] = true;
        }
        for (int i = 0; i < z.size(); ++i)
            if (marked[i])
                b.points[3].append(i);
    }
    if (enabled & 16u) {
        constexpr int kRun = 6; // six points, five steps in one direction
        QVector<bool> marked(z.size(), false);
        int steps = 0, direction = 0;
        for (int i = 1; i < z.size(); ++i) {
            const int d = values[i] > values[i - 1] ? 1 : (values[i] < values[i - 1] ? -1 : 0);
            steps = (d != 0 && d == direction) ? steps + 1 : (d != 0 ? 1 : 0);
            direction = d;
            if (steps >= kRun - 1)
                for (int j = i - kRun + 1; j <= i; ++j)
                    marked[j] = true;
        }
        for (int i = 0; i < z.size(); ++i)
            if (marked[i])
                b.points[4].append(i);
    }
    return b;
}
