#pragma once

#include <QVector>

// Minimum, maximum, mean and sample standard deviation of one block.
struct BlockStatistics
{
    double minimum = 0.0;
    double maximum = 0.0;
    double mean = 0.0;
    double stdev = 0.0;
};

// The four statistics of the values in stored order (double accumulators,
// sample deviation with divisor n - 1). A statistic that cannot be computed is
// NaN: all four for an empty block, the deviation of a single value, and the
// mean and deviation of a block holding a NaN; NaN readings are skipped for
// the minimum and maximum.
BlockStatistics computeStatistics(const QVector<float> &values);
