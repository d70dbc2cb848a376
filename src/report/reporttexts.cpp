#include "report/reporttexts.h"

#include "values/decimals.h"
#include "values/valuetext.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cmath>

const QString kNoNumberText = QStringLiteral("\u2014");
const QString kDifferenceHeader = QStringLiteral("X\u0305 - x");

namespace {
constexpr int kStatisticDecimals = 1;
// From this σ on one decimal holds two significant digits or near enough.
constexpr double kWideSpread = 0.1;
constexpr int kSignificantDigits = 2;
// A float reading carries no more.
constexpr int kMostStatisticDecimals = 9;
constexpr int kToleranceDigits = 6;
} // namespace

QString reportValueText(float value, int decimals)
{
    if (!std::isfinite(value))
        return kNoNumberText;
    return pointDecimalText(double(value), decimals < 0 ? decimalsForValue(value) : decimals);
}

QString reportMarkedValueText(float value, int decimals, BandMark mark)
{
    return withBandMark(reportValueText(value, decimals), mark);
}

QString reportDifferenceText(double shownMean, float value, int decimals)
{
    const double difference = shownMean - double(value);
    if (!std::isfinite(difference))
        return kNoNumberText;
    return pointDecimalText(difference, decimals);
}

QString reportStatisticText(double value, int decimals)
{
    if (!std::isfinite(value))
        return kNoNumberText;
    return pointDecimalText(value, decimals);
}

int reportStatisticDecimals(double stdev)
{
    if (!std::isfinite(stdev) || stdev <= 0.0 || stdev >= kWideSpread)
        return kStatisticDecimals;
    const int decimals = kSignificantDigits - 1 - int(std::floor(std::log10(stdev)));
    return qBound(kStatisticDecimals, decimals, kMostStatisticDecimals);
}

int reportStatisticDecimals(double stdev, int chosenDecimals)
{
    return std::max(reportStatisticDecimals(stdev), chosenDecimals);
}

QString reportToleranceText(const QString &prefix, double minimum, double maximum)
{
    // A one-sided band (the station's --min or --max) is open on its other side.
    const auto limit = [](double value) {
        if (std::isinf(value))
            return value < 0 ? QStringLiteral("-\u221E") : QStringLiteral("+\u221E");
        return QString::number(value, 'g', kToleranceDigits);
    };
    return prefix + limit(minimum) + QStringLiteral("; ") + limit(maximum) + QStringLiteral("]");
}

QString reportValueHeader(const QString &blockName)
{
    static const QRegularExpression whiteSpace(QStringLiteral("\\s+"));
    const QStringList words = blockName.split(whiteSpace, Qt::SkipEmptyParts);
    return words.size() >= 2 ? words.at(1) : QString();
}

QString reportTextWithUnit(const QString &text, const QString &unit)
{
    return unit.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

QString reportHeaderWithUnit(const QString &header, const QString &unit)
{
    if (unit.isEmpty())
        return header;
    const QString bracketed = QLatin1Char('[') + unit + QLatin1Char(']');
    return header.isEmpty() ? bracketed : header + QLatin1Char(' ') + bracketed;
}
