#pragma once

#include "values/toleranceband.h"

#include <QLocale>
#include <QString>
#include <QVector>

struct BandVerdict;
struct IndexEstimate;

// Texts of the band's verdict, the same in the window and in both reports.

// The verdict of a block against the tolerance band, as texts.
struct VerdictTexts
{
    QString outOfBand; // "2 из 40 (5.0 %)"
    QString verdict;   // "Соответствует" / "Не соответствует"
    QString cp;        // from the within σ (average moving range / 1.128)
    QString cpk;
    QString pp; // from the overall sample σ
    QString ppk;
    // 95 % confidence intervals, "[0.82; 0.96]"
    QString cpInterval;
    QString cpkInterval;
    QString ppInterval;
    QString ppkInterval;
    QString sample; // "300", "24 — малая выборка (n < 25)"
    QString note;   // an inverted band or one no reading falls within; empty otherwise
};

// The texts for the readings and the band in the interface language; "—"
// throughout while the band is off or there are no readings. The indices come
// from processCapability against the band's active limits; a one-sided band
// has no Cp or Pp.
VerdictTexts verdictTexts(const QVector<float> &readings, const ToleranceBand &band);

// The window's one-line summary below the indices: the note, the sample size
// and the intervals.
QString capabilityNoteText(const VerdictTexts &texts);

// The locale of the counts in texts of the interface language (its digit
// grouping); fractions take the decimal point in every language.
QLocale verdictNumberLocale();

// The pattern ("%1 из %2 (%3 %)") with the out-of-band count and the readings
// in the locale's form and the percentage at one decimal after a point.
QString outOfBandText(const QString &pattern, const BandVerdict &verdict, const QLocale &locale);

// A capability figure (Cp, Cpk) at two decimals after a point, never "-0.00";
// "—" when it is not finite.
QString capabilityText(double figure);

// "[lower; upper]" at two decimals; "—" when either end is not finite.
QString capabilityIntervalText(const IndexEstimate &estimate);
