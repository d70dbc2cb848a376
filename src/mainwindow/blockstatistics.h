#pragma once

// Minimum, maximum, mean and sample standard deviation of one block.
struct BlockStatistics
{
    double minimum = 0.0;
    double maximum = 0.0;
    double mean = 0.0;
    double stdev = 0.0;
};
