#pragma once

#include <QVector>

// A value is outside the tolerance band when it lies below its lower or above
// its upper limit; a value equal to a limit is inside. With lower > upper no
// value is inside. The comparison is made in the readings' own single
// precision: a reading of 4.9 is the float nearest 4.9, which lies above the
// double 4.9, yet it is the limit's value and so inside.
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
