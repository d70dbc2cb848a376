#include "values/toleranceband.h"

#include "values/bandsplit.h"

#include <cmath>
#include <limits>

namespace {
constexpr double kUnbounded = std::numeric_limits<double>::infinity();
} // namespace

double activeLower(const ToleranceBand &band)
{
    return band.kind == ToleranceKind::UpperOnly ? -kUnbounded : band.lower;
}

double activeUpper(const ToleranceBand &band)
{
    return band.kind == ToleranceKind::LowerOnly ? kUnbounded : band.upper;
}

bool bandInverted(const ToleranceBand &band)
{
    return activeLower(band) > activeUpper(band);
}

bool readingOutOfBand(float reading, const ToleranceBand &band)
{
    if (!band.on)
        return false;
    return std::isnan(reading) || isOutOfBand(double(reading), activeLower(band), activeUpper(band));
}

QVector<bool> readingsOutOfBand(const QVector<float> &readings, const ToleranceBand &band)
{
    QVector<bool> outside;
    outside.reserve(readings.size());
    for (const float reading : readings)
        outside.append(readingOutOfBand(reading, band));
    return outside;
}
