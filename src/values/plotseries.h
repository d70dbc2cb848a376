#pragma once

#include <QVector>

// The points one block puts on the plots: key = measurement number (the first
// value is number 1), value = the reading widened to double. Readings that are
// NaN or infinite have no place on a plot and are left out; their numbers stay
// unused, so every other point keeps its own measurement number.
struct PlotSeries
{
    QVector<double> keys;
    QVector<double> values;
};

PlotSeries plotSeries(const QVector<float> &readings);
