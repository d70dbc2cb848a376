#include "capability.h"

#include <cmath>

namespace {

constexpr double kConfidenceZ = 1.959964; // two-sided 95 %
constexpr double kTailProbability = 0.025;
constexpr double kPpm = 1e6;
constexpr int kGammaIterations = 500;
constexpr double kGammaEpsilon = 1e-15;
constexpr double kTiny = 1e-300;

// Series for P(a, x), good for x < a + 1.
double gammaSeries(double a, double x)
{
    double term = 1.0 / a;
    double sum = term;
    for (int i = 1; i < kGammaIterations; ++i) {
        term *= x / (a + i);
        sum += term;
        if (std::abs(term) < std::abs(sum) * kGammaEpsilon)
            break;
    }
    return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// Continued fraction (modified Lentz) for Q(a, x), good for x >= a + 1.
double gammaContinuedFraction(double a, double x)
{
    double b = x + 1.0 - a;
    double c = 1.0 / kTiny;
    double d = 1.0 / b;
    double h = d;
    for (int i = 1; i < kGammaIterations; ++i) {
        const double an = -i * (i - a);
        b += 2.0;
        d = an * d + b;
        if (std::abs(d) < kTiny)
            d = kTiny;
        c = b + an / c;
        if (std::abs(c) < kTiny)
            c = kTiny;
        d = 1.0 / d;
        const double delta = d * c;
        h *= delta;
        if (std::abs(delta - 1.0) < kGammaEpsilon)
            break;
    }
    return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

double chiSquareDensity(double x, double k)
{
    const double a = k / 2.0;
    return std::exp((a - 1.0) * std::log(x) - x / 2.0 - a * std::log(2.0) - std::lgamma(a));
}

IndexEstimate spreadIndex(double width, double sigma, int n)
{
    IndexEstimate e;
    if (!(sigma > 0.0) || n < 2 || !std::isfinite(width) || width < 0.0)
        return e;
    const double dof = n - 1;
    e.value = width / (6.0 * sigma);
    e.lower = e.value * std::sqrt(chiSquareQuantile(kTailProbability, dof) / dof);
    e.upper = e.value * std::sqrt(chiSquareQuantile(1.0 - kTailProbability, dof) / dof);
    return e;
}

// Bissell's normal approximation for Cpk-type indices.
IndexEstimate locationIndex(double mean, double sigma, int n, const SpecLimits &limits)
{
    IndexEstimate e;
    const bool hasLower = std::isfinite(limits.lower);
    const bool hasUpper = std::isfinite(limits.upper);
    if (!(sigma > 0.0) || n < 2 || (!hasLower && !hasUpper))
        return e;
    double index = std::numeric_limits<double>::infinity();
    if (hasUpper)
        index = std::min(index, (limits.upper - mean) / (3.0 * sigma));
    if (hasLower)
        index = std::min(index, (mean - limits.lower) / (3.0 * sigma));
    const double half = kConfidenceZ
        * std::sqrt(1.0 / (9.0 * n) + index * index / (2.0 * (n - 1)));
    e.value = index;
    e.lower = index - half;
    e.upper = index + half;
    return e;
}

} // namespace

double regularizedGammaP(double a, double x)
{
    if (!(a > 0.0) || std::isnan(x))
        return qQNaN();
    if (x <= 0.0)
        return 0.0;
    if (std::isinf(x))
        return 1.0;
    if (x < a + 1.0)
        return gammaSeries(a, x);
    return 1.0 - gammaContinuedFraction(a, x);
}

double chiSquareQuantile(double probability, double degrees)
{
    if (!(degrees > 0.0) || !(probability > 0.0) || !(probability < 1.0))
        return qQNaN();
    // Wilson–Hilferty start, refined by Newton steps on P(k/2, x/2); the
    // normal quantile for the start comes from bisection on erfc.
    double lo = -40.0, hi = 40.0;
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2.0;
        if (0.5 * std::erfc(-mid / std::sqrt(2.0)) < probability)
            lo = mid;
        else
            hi = mid;
    }
    const double zp = (lo + hi) / 2.0;
    const double t = 2.0 / (9.0 * degrees);
    double x = degrees * std::pow(1.0 - t + zp * std::sqrt(t), 3);
    if (!(x > 0.0))
        x = std::max(1e-8, degrees * 0.01);
    for (int i = 0; i < 100; ++i) {
        const double f = regularizedGammaP(degrees / 2.0, x / 2.0) - probability;
        const double density = chiSquareDensity(x, degrees);
        if (!(density > 0.0))
            break;
        double next = x - f / density;
        if (next <= 0.0)
            next = x / 2.0;
        const bool done = std::abs(next - x) < 1e-12 * std::max(1.0, x);
        x = next;
        if (done)
            break;
    }
    return x;
}

double normalUpperTail(double z)
{
    return 0.5 * std::erfc(z / std::sqrt(2.0));
}

ProcessCapability processCapability(const QVector<float> &readings, const SpecLimits &limits)
{
    ProcessCapability r;
    QVector<double> values;
    values.reserve(readings.size());
    for (float reading : readings) {
        if (std::isfinite(reading))
            values.append(reading);
        else
            ++r.excluded;
    }
    r.n = values.size();
    r.smallSample = r.n < kCapabilitySmallSample;
    if (r.n == 0)
        return r;

    double sum = 0.0;
    for (double v : values)
        sum += v;
    r.mean = sum / r.n;
    if (r.n >= 2) {
        double squares = 0.0;
        double ranges = 0.0;
        for (int i = 0; i < r.n; ++i) {
            squares += (values[i] - r.mean) * (values[i] - r.mean);
            if (i > 0)
                ranges += std::abs(values[i] - values[i - 1]);
        }
        r.sigmaOverall = std::sqrt(squares / (r.n - 1));
        r.sigmaWithin = ranges / (r.n - 1) / kMovingRangeD2;
    }

    const bool hasLower = std::isfinite(limits.lower);
    const bool hasUpper = std::isfinite(limits.upper);
    if (hasLower && hasUpper && limits.lower > limits.upper)
        return r; // inverted limits: nothing to judge against
    if (!hasLower && !hasUpper)
        return r;

    int outside = 0;
    for (double v : values) {
        if ((hasLower && v < limits.lower) || (hasUpper && v > limits.upper))
            ++outside;
    }
    r.observedPpmOutside = kPpm * outside / r.n;

    const double width = hasLower && hasUpper ? limits.upper - limits.lower : qQNaN();
    r.cp = spreadIndex(width, r.sigmaWithin, r.n);
    r.pp = spreadIndex(width, r.sigmaOverall, r.n);
    r.cpk = locationIndex(r.mean, r.sigmaWithin, r.n, limits);
    r.ppk = locationIndex(r.mean, r.sigmaOverall, r.n, limits);

    if (r.sigmaOverall > 0.0) {
        double share = 0.0;
        if (hasUpper)
            share += normalUpperTail((limits.upper - r.mean) / r.sigmaOverall);
        if (hasLower)
            share += normalUpperTail((r.mean - limits.lower) / r.sigmaOverall);
        r.expectedPpmOutside = kPpm * share;
    }
    return r;
}
