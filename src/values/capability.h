// Process capability of one block: within and overall σ, Cp/Cpk/Pp/Ppk with
// their 95 % confidence intervals and the share outside the limits.
#pragma once

#include <QVector>
#include <QtGlobal>
#include <limits>

// One index with its 95 % confidence interval; NaN where undefined.
struct IndexEstimate {
    double value = qQNaN();
    double lower = qQNaN();
    double upper = qQNaN();
};

// The tolerance limits; NaN for a side without a limit (one-sided tolerance).
struct SpecLimits {
    double lower = qQNaN();
    double upper = qQNaN();
};

struct ProcessCapability {
    int n = 0;        // finite readings used
    int excluded = 0; // NaN or infinite readings left out
    double mean = qQNaN();
    double sigmaWithin = qQNaN();  // average moving range / d2 (1.128)
    double sigmaOverall = qQNaN(); // sample standard deviation (n - 1)
    IndexEstimate cp, cpk, pp, ppk; // Cp/Pp need both limits; Cpk/Ppk from the active side(s)
    double expectedPpmOutside = qQNaN(); // normal model with overall σ
    double observedPpmOutside = qQNaN();
    bool smallSample = false; // n < 25
};

constexpr int kCapabilitySmallSample = 25;
constexpr double kMovingRangeD2 = 1.128;

ProcessCapability processCapability(const QVector<float> &readings, const SpecLimits &limits);

// Quantile of the chi-square distribution with `degrees` degrees of freedom.
double chiSquareQuantile(double probability, double degrees);
// Regularized lower incomplete gamma function P(a, x).
double regularizedGammaP(double a, double x);
// Upper tail of the standard normal distribution, P(Z > z).
double normalUpperTail(double z);
