// A trend across reads: each read's block one subgroup of an X̄-R or X̄-S
// chart whose limits come from the first k subgroups, judged by the run rules.
#pragma once

#include "controlrules.h"
#include "subgroupchart.h"

#include <QVector>

struct TrendAnalysis
{
    SubgroupChart chart;       // of the subgroups kept, in their order
    QVector<int> source;       // each chart point's index among the subgroups given
    int leftOut = 0;           // subgroups without 2…25 finite readings
    int nonFinite = 0;         // NaN or infinite readings, left out of their subgroups
    RuleBreaks meanBreaks;     // chart point indices, by rule
    QVector<int> spreadBreaks; // chart point indices beyond their R (or S) limits
};

// `rules` bit i switches rule i + 1 on the means; the spread chart is judged
// by rule 1 only (its distribution is not symmetric, so the zone rules do not hold).
TrendAnalysis trendAnalysis(const QVector<QVector<float>> &subgroups, int frozenCount, unsigned rules = 0x1f);
