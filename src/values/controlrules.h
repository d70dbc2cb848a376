// Individuals and moving-range chart limits and the five run rules.
#pragma once

#include <QVector>
#include <QtGlobal>

struct ImrLimits {
    double centre = qQNaN();       // mean of the finite readings
    double upper = qQNaN();        // mean + 2.660 · MR̄
    double lower = qQNaN();        // mean − 2.660 · MR̄
    double rangeCentre = qQNaN();  // MR̄
    double rangeUpper = qQNaN();   // 3.267 · MR̄
    double rangeLower = qQNaN();   // 0
    double sigma = qQNaN();        // MR̄ / 1.128
};

constexpr int kRuleCount = 5;

// Indices (into the values given) of the points breaking each rule, 0-based rule number.
struct RuleBreaks {
    QVector<int> points[kRuleCount];
};

ImrLimits imrLimits(const QVector<double> &values);
// Rules judged against a centre line and σ; `enabled` bit i switches rule i + 1.
RuleBreaks ruleBreaks(const QVector<double> &values, double centre, double sigma,
                      unsigned enabled = 0x1f);
