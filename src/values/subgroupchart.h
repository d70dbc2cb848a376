// X̄-R (subgroups of 2…10) and X̄-S (above 10) charts with limits worked out
// from the first k subgroups and frozen; each subgroup gets the limits of its size.
#pragma once

#include <QVector>
#include <QtGlobal>

constexpr int kLargestRangeSubgroup = 10;

struct SubgroupPoint {
    int size = 0;
    double mean = qQNaN();
    double spread = qQNaN(); // range or standard deviation
    double meanLower = qQNaN(), meanUpper = qQNaN();
    double spreadCentre = qQNaN(), spreadLower = qQNaN(), spreadUpper = qQNaN();
};

struct SubgroupChart {
    bool usesRange = true; // X̄-R, else X̄-S
    double grandMean = qQNaN();
    double sigma = qQNaN(); // estimated from the frozen subgroups
    int frozen = 0;         // subgroups the limits come from
    QVector<SubgroupPoint> points;
};

// Subgroups outside 2…25 readings get NaN figures and take no part in the limits.
SubgroupChart subgroupChart(const QVector<QVector<double>> &subgroups, int frozenCount);
