#include "values/plotseries.h"

#include <cmath>

PlotSeries plotSeries(const QVector<float> &readings)
{
    PlotSeries series;
    series.keys.reserve(readings.size());
    series.values.reserve(readings.size());
    for (int i = 0; i < readings.size(); ++i) {
        if (!std::isfinite(readings.at(i)))
            continue;
        series.keys.append(i + 1);
        series.values.append(double(readings.at(i)));
    }
    return series;
}
