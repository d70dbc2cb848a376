#include "report/verdicttexts.h"

#include "report/reporttexts.h"
#include "values/bandverdict.h"
#include "values/valuetext.h"

#include <QCoreApplication>
#include <cmath>

namespace {
constexpr int kPercentDecimals = 1;
constexpr int kCapabilityDecimals = 2;

// The texts belong to the verdict view's catalogue context.
QString viewText(const char *source, const char *comment = nullptr)
{
    return QCoreApplication::translate("BandVerdictView", source, comment);
}
} // namespace

VerdictTexts verdictTexts(const QVector<float> &readings, const ToleranceBand &band)
{
    if (!band.on || readings.isEmpty())
        return {kNoNumberText, kNoNumberText, kNoNumberText, kNoNumberText};
    const BandVerdict verdict = bandVerdict(readings, band);
    const QLocale locale = verdictNumberLocale();
    return {outOfBandText(viewText("%1 из %2 (%3 %)"), verdict, locale),
            verdict.conforms ? viewText("Соответствует") : viewText("Не соответствует"),
            capabilityText(verdict.cp), capabilityText(verdict.cpk)};
}

QLocale verdictNumberLocale()
{
    return QLocale(viewText("ru_RU", "locale whose decimal point the numbers in texts take"));
}

QString outOfBandText(const QString &pattern, const BandVerdict &verdict, const QLocale &locale)
{
    // Counts grouped as the language writes them; fractions with the point
    // the readings are printed with.
    const QString percent = std::isfinite(verdict.outsidePercent)
                                ? pointDecimalText(verdict.outsidePercent, kPercentDecimals)
                                : kNoNumberText;
    return pattern.arg(locale.toString(verdict.outside), locale.toString(verdict.readings), percent);
}

QString capabilityText(double figure)
{
    if (!std::isfinite(figure))
        return kNoNumberText;
    return pointDecimalText(figure, kCapabilityDecimals);
}
