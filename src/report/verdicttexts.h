#pragma once

#include <QLocale>
#include <QString>

struct BandVerdict;

// Texts of the band's verdict, the same in the window and in both reports.

// The pattern ("%1 из %2 (%3 %)") with the out-of-band count, the readings
// and the percentage at one decimal, numbers in the locale's form.
QString outOfBandText(const QString &pattern, const BandVerdict &verdict, const QLocale &locale);

// A capability figure (Cp, Cpk) at two decimals in the locale's form; "—"
// when it is not finite.
QString capabilityText(double figure, const QLocale &locale);
