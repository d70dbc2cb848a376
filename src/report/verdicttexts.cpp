#include "report/verdicttexts.h"

#include "report/reporttexts.h"
#include "values/bandverdict.h"
#include "values/capability.h"
#include "values/valuetext.h"

#include <QCoreApplication>
#include <QStringList>
#include <cmath>

namespace {
constexpr int kPercentDecimals = 1;
constexpr int kCapabilityDecimals = 2;
const QString kPartSeparator = QStringLiteral(" \u00B7 "); // middle dot

// The texts belong to the verdict view's catalogue context.
QString viewText(const char *source, const char *comment = nullptr)
{
    return QCoreApplication::translate("BandVerdictView", source, comment);
}

// The active limits; an inactive side is NaN, as processCapability takes it.
SpecLimits specLimits(const ToleranceBand &band)
{
    const auto limit = [](double value) { return std::isfinite(value) ? value : qQNaN(); };
    return {limit(activeLower(band)), limit(activeUpper(band))};
}

QString bandNote(const ToleranceBand &band, const BandVerdict &verdict)
{
    if (bandInverted(band))
        return viewText("Допуск задан неверно: Min больше Max");
    if (verdict.readings > 0 && verdict.outside == verdict.readings)
        return viewText("все значения вне допуска — проверьте допуск");
    return QString();
}
} // namespace

VerdictTexts verdictTexts(const QVector<float> &readings, const ToleranceBand &band)
{
    if (!band.on || readings.isEmpty())
        return {kNoNumberText, kNoNumberText, kNoNumberText, kNoNumberText, kNoNumberText, kNoNumberText,
                kNoNumberText, kNoNumberText, kNoNumberText, kNoNumberText, kNoNumberText, QString()};
    const BandVerdict verdict = bandVerdict(readings, band);
    const ProcessCapability capability = processCapability(readings, specLimits(band));
    const QLocale locale = verdictNumberLocale();
    VerdictTexts texts;
    texts.outOfBand = outOfBandText(viewText("%1 из %2 (%3 %)"), verdict, locale);
    texts.verdict = verdict.conforms ? viewText("Соответствует") : viewText("Не соответствует");
    texts.cp = capabilityText(capability.cp.value);
    texts.cpk = capabilityText(capability.cpk.value);
    texts.pp = capabilityText(capability.pp.value);
    texts.ppk = capabilityText(capability.ppk.value);
    texts.cpInterval = capabilityIntervalText(capability.cp);
    texts.cpkInterval = capabilityIntervalText(capability.cpk);
    texts.ppInterval = capabilityIntervalText(capability.pp);
    texts.ppkInterval = capabilityIntervalText(capability.ppk);
    texts.sample = locale.toString(capability.n);
    if (capability.smallSample)
        texts.sample += QStringLiteral(" \u2014 ") + viewText("малая выборка (n < 25)");
    texts.note = bandNote(band, verdict);
    return texts;
}

QString capabilityNoteText(const VerdictTexts &texts)
{
    if (texts.sample == kNoNumberText)
        return QString();
    QStringList parts;
    if (!texts.note.isEmpty())
        parts.append(texts.note);
    parts.append(QStringLiteral("n = ") + texts.sample);
    parts.append(viewText("95 %: Cp %1, Cpk %2, Pp %3, Ppk %4")
                     .arg(texts.cpInterval, texts.cpkInterval, texts.ppInterval, texts.ppkInterval));
    return parts.join(kPartSeparator);
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

QString capabilityIntervalText(const IndexEstimate &estimate)
{
    if (!std::isfinite(estimate.lower) || !std::isfinite(estimate.upper))
        return kNoNumberText;
    return QStringLiteral("[") + capabilityText(estimate.lower) + QStringLiteral("; ")
           + capabilityText(estimate.upper) + QStringLiteral("]");
}
