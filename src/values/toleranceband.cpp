#include "values/toleranceband.h"

#include "values/bandsplit.h"

#include <cmath>

bool readingOutOfBand(float reading, const ToleranceBand &band)
{
    if (!band.on)
        return false;
    return std::isnan(reading) || isOutOfBand(double(reading), band.lower, band.upper);
}

QVector<bool> readingsOutOfBand(const QVector<float> &readings, const ToleranceBand &band)
{
    QVector<bool> outside;
    outside.reserve(readings.size());
    for (const float reading : readings)
        outside.append(readingOutOfBand(reading, band));
    return outside;
}
