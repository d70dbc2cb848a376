#include "values/bandsplit.h"

bool isOutOfBand(double value, double lower, double upper)
{
    const float reading = float(value);
    return reading < float(lower) || reading > float(upper);
}

BandSplit splitByBand(const QVector<double> &keys, const QVector<double> &values, double lower, double upper)
{
    BandSplit split;
    const int count = qMin(keys.size(), values.size());
    for (int i = 0; i < count; ++i) {
        if (isOutOfBand(values.at(i), lower, upper)) {
            split.outsideKeys.append(keys.at(i));
            split.outsideValues.append(values.at(i));
        } else {
            split.insideKeys.append(keys.at(i));
            split.insideValues.append(values.at(i));
        }
    }
    return split;
}
