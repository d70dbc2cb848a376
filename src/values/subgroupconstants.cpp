#include "subgroupconstants.h"

#include <QMutex>
#include <QMutexLocker>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

constexpr double kGridEnd = 8.0;
constexpr double kGridStep = 0.01;

double normalCdf(double x)
{
    return 0.5 * std::erfc(-x / std::sqrt(2.0));
}

// d2 = E[R] and d3 = sd(R) for the range of n standard normal readings,
// by the trapezoid rule over a fine grid (the integrands are smooth).
void rangeMoments(int n, double &d2, double &d3)
{
    const int points = int(2 * kGridEnd / kGridStep) + 1;
    std::vector<double> phi(points);
    for (int i = 0; i < points; ++i)
        phi[i] = normalCdf(-kGridEnd + i * kGridStep);
    const auto weight = [points](int i) { return i == 0 || i == points - 1 ? 0.5 : 1.0; };

    double mean = 0.0;
    for (int i = 0; i < points; ++i)
        mean += weight(i) * (1.0 - std::pow(phi[i], n) - std::pow(1.0 - phi[i], n));
    mean *= kGridStep;

    std::vector<double> upperPow(points), lowerPow(points);
    for (int i = 0; i < points; ++i) {
        upperPow[i] = std::pow(phi[i], n);
        lowerPow[i] = std::pow(1.0 - phi[i], n);
    }
    // E[R²] = 2 ∫∫_{x<y} P(min ≤ x, max > y) dx dy
    double square = 0.0;
    for (int i = 0; i < points; ++i) {
        double row = 0.0;
        for (int j = i; j < points; ++j) {
            const double f = 1.0 - upperPow[j] - lowerPow[i] + std::pow(phi[j] - phi[i], n);
            // the diagonal is the edge of the triangle: half weight
            row += (j == i ? 0.5 : weight(j)) * f;
        }
        square += weight(i) * row;
    }
    square *= 2.0 * kGridStep * kGridStep;
    d2 = mean;
    d3 = std::sqrt(std::max(0.0, square - mean * mean));
}

SubgroupConstants compute(int n)
{
    SubgroupConstants c;
    c.n = n;
    rangeMoments(n, c.d2, c.d3);
    c.c4 = std::sqrt(2.0 / (n - 1)) * std::exp(std::lgamma(n / 2.0) - std::lgamma((n - 1) / 2.0));
    c.a2 = 3.0 / (c.d2 * std::sqrt(double(n)));
    c.d3Lower = std::max(0.0, 1.0 - 3.0 * c.d3 / c.d2);
    c.d4 = 1.0 + 3.0 * c.d3 / c.d2;
    c.a3 = 3.0 / (c.c4 * std::sqrt(double(n)));
    const double spread = 3.0 * std::sqrt(1.0 - c.c4 * c.c4) / c.c4;
    c.b3 = std::max(0.0, 1.0 - spread);
    c.b4 = 1.0 + spread;
    return c;
}

} // namespace

SubgroupConstants subgroupConstants(int n)
{
    if (n < kSmallestSubgroup || n > kLargestSubgroup)
        return {};
    // Worked out once per size; the double integral takes a few milliseconds.
    static QMutex mutex;
    static std::array<SubgroupConstants, kLargestSubgroup + 1> cache;
    QMutexLocker lock(&mutex);
    if (cache[n].n != n)
        cache[n] = compute(n);
    return cache[n];
}
