// One block's process analysis put together from the histogram, I-MR limits,
// run rules and capability, with the points keyed by measurement number.
#pragma once

#include "values/capability.h"
#include "values/controlrules.h"
#include "values/histogrambins.h"

#include <QVector>

constexpr unsigned kAllRules = (1u << kRuleCount) - 1;

struct ProcessAnalysis
{
    // The finite readings and their measurement numbers (the first reading is 1).
    QVector<double> numbers;
    QVector<double> values;
    // Each moving range keyed by the number of the later of its two readings.
    QVector<double> rangeNumbers;
    QVector<double> movingRanges;
    HistogramBins bins;
    ImrLimits limits;
    // Measurement numbers of the points that break each rule, ascending.
    QVector<int> breaking[kRuleCount];
    ProcessCapability capability;
};

// `rules`: bit i switches rule i + 1 on.
ProcessAnalysis analyseProcess(const QVector<float> &readings, const SpecLimits &spec,
                               unsigned rules = kAllRules);

// A run of consecutive measurement numbers.
struct NumberRun
{
    int first = 0;
    int last = 0;
};

// Ascending numbers joined into runs: 41, 42, 43, 50 -> 41–43, 50.
QVector<NumberRun> numberRuns(const QVector<int> &numbers);
