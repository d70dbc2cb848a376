#pragma once

#include "values/toleranceband.h"

#include <QLocale>
#include <QString>
#include <QVector>

struct BandVerdict;

// Texts of the band's verdict, the same in the window and in both reports.

// The verdict of a block against the tolerance band, as texts.
struct VerdictTexts
{
    QString outOfBand; // "2 из 40 (5.0 %)"
    QString verdict;   // "Соответствует" / "Не соответствует"
    QString cp;
    QString cpk;
};

// The texts for the readings and the band in the interface language; "—"
// throughout while the band is off or there are no readings.
VerdictTexts verdictTexts(const QVector<float> &readings, const ToleranceBand &band);

// The locale of the counts in texts of the interface language (its digit
// grouping); fractions take the decimal point in every language.
QLocale verdictNumberLocale();

// The pattern ("%1 из %2 (%3 %)") with the out-of-band count and the readings
// in the locale's form and the percentage at one decimal after a point.
QString outOfBandText(const QString &pattern, const BandVerdict &verdict, const QLocale &locale);

// A capability figure (Cp, Cpk) at two decimals after a point, never "-0.00";
// "—" when it is not finite.
QString capabilityText(double figure);
