#pragma once

#include <QVector>

// A value is outside the tolerance band when it lies below its lower or above
// its upper limit; a value equal to a limit is inside. With lower > upper no
// value is inside.
bool isOutOfBand(double value, double lower, double upper);

// Points split by the band, each part in stored order and keeping its keys.
struct BandSplit
{
    QVector<double> insideKeys;
    QVector<double> insideValues;
    QVector<double> outsideKeys;
    QVector<double> outsideValues;
};

BandSplit splitByBand(const QVector<double> &keys, const QVector<double> &values, double lower, double upper);
