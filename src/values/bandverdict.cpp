#include "values/bandverdict.h"

#include "values/blockstatistics.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNoFigure = std::numeric_limits<double>::quiet_NaN();
constexpr double kPercent = 100.0;
// The band's width against six deviations, its nearer half against three.
constexpr double kCapabilitySpread = 6.0;
constexpr double kCapabilityHalfSpread = 3.0;
constexpr int kFewestForCapability = 2;

double finiteOrNone(double figure)
{
    return std::isfinite(figure) ? figure : kNoFigure;
}

} // namespace

BandVerdict bandVerdict(const QVector<float> &readings, const ToleranceBand &band)
{
    BandVerdict verdict;
    verdict.readings = readings.size();
    const QVector<bool> outside = readingsOutOfBand(readings, band);
    verdict.outside = int(std::count(outside.cbegin(), outside.cend(), true));
    verdict.outsidePercent = verdict.readings > 0 ? kPercent * verdict.outside / verdict.readings : kNoFigure;
    verdict.conforms = verdict.readings > 0 && verdict.outside == 0;

    verdict.cp = kNoFigure;
    verdict.cpk = kNoFigure;
    const BlockStatistics statistics = computeStatistics(readings);
    const double sigma = statistics.stdev;
    const double lower = activeLower(band);
    const double upper = activeUpper(band);
    if (verdict.readings < kFewestForCapability || !(sigma > 0.0) || !(lower <= upper))
        return verdict;
    verdict.cp = finiteOrNone((upper - lower) / (kCapabilitySpread * sigma));
    const double nearer = std::min(upper - statistics.mean, statistics.mean - lower);
    verdict.cpk = finiteOrNone(nearer / (kCapabilityHalfSpread * sigma));
    return verdict;
}
