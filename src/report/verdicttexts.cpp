#include "report/verdicttexts.h"

#include "report/reporttexts.h"
#include "values/bandverdict.h"

#include <cmath>

namespace {
constexpr int kPercentDecimals = 1;
constexpr int kCapabilityDecimals = 2;
} // namespace

QString outOfBandText(const QString &pattern, const BandVerdict &verdict, const QLocale &locale)
{
    const QString percent = std::isfinite(verdict.outsidePercent)
                                ? locale.toString(verdict.outsidePercent, 'f', kPercentDecimals)
                                : kNoNumberText;
    return pattern.arg(locale.toString(verdict.outside), locale.toString(verdict.readings), percent);
}

QString capabilityText(double figure, const QLocale &locale)
{
    if (!std::isfinite(figure))
        return kNoNumberText;
    return locale.toString(figure, 'f', kCapabilityDecimals);
}
