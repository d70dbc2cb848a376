// Histogram bins of a block by the Freedman–Diaconis rule.
#pragma once

#include <QVector>
#include <QtGlobal>

constexpr int kMostHistogramBins = 100;

struct HistogramBins {
    double start = qQNaN(); // left edge of the first bin
    double width = qQNaN();
    QVector<int> counts;    // empty without a finite reading
};

// Bin width 2·IQR·n^(-1/3), at most 100 bins; one bin where the width is zero.
HistogramBins histogramBins(const QVector<float> &readings);
