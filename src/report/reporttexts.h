#pragma once

#include "values/bandmark.h"

#include <QString>

// Texts that both report writers print for the same data.

// Printed instead of a number that is not finite (NaN, infinity).
extern const QString kNoNumberText;
// Header of the difference column; the same in every language.
extern const QString kDifferenceHeader;

// A measured value, rounded to the decimals the value table uses for it, or
// to `decimals` when that is not negative.
QString reportValueText(float value, int decimals = -1);
// reportValueText with the reading's out-of-band mark after it.
QString reportMarkedValueText(float value, int decimals, BandMark mark);
// Shown mean minus the value, at one decimal or the decimals given.
QString reportDifferenceText(double shownMean, float value, int decimals = 1);
// A statistic at the decimals given; by default one, as the boxes show it.
QString reportStatisticText(double value, int decimals = 1);

// Decimals for a block's statistics: one, or as many as give a σ below 0.1
// two significant digits (σ 0.00226: four, "0.0023"), so that no spread is
// printed as 0 and min, max and mean differ where the readings do.
int reportStatisticDecimals(double stdev);
// The same with the operator's choice of decimals for the readings: never
// fewer than that many (-1: Авто, no more than the rule gives).
int reportStatisticDecimals(double stdev, int chosenDecimals);
// "<prefix>min; max]" with six significant digits each; an infinite limit as "-∞" or "+∞".
QString reportToleranceText(const QString &prefix, double minimum, double maximum);
// Header of the value column: the second word of the block's name, or empty.
QString reportValueHeader(const QString &blockName);
// The text with the unit after it ("10.5 мкм"); the text alone without a unit.
QString reportTextWithUnit(const QString &text, const QString &unit);
// A column header with the unit in brackets after it ("Значение [мкм]").
QString reportHeaderWithUnit(const QString &header, const QString &unit);
