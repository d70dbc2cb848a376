#pragma once

#include <QVector>
#include <algorithm>

// The median and the worst of several timed runs, in the unit they were taken in.
struct Figures
{
    double median = 0;
    double worst = 0;
};

inline Figures summary(QVector<double> times)
{
    if (times.isEmpty())
        return {};
    std::sort(times.begin(), times.end());
    return {times.at(times.size() / 2), times.last()};
}
