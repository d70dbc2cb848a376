#pragma once

#include "values/decimals.h"

#include <QString>

// Table text of one measured value: its shortest decimal form cut toward zero
// to decimalsForValue() decimals (0.7 -> "0.7", -12.37 -> "-12.3",
// 100.7 -> "100"), or to the chosen decimals, padded with zeros (at 2:
// 9.96 -> "9.96", 9.5 -> "9.50"). NaN and infinities are shown as they are.
QString cutValueText(float value, int chosenDecimals = kAutoDecimals);

// The number text without its minus sign when every digit is zero: a small
// negative number rounded or cut to "-0.0" is shown as "0.0".
QString withoutNegativeZero(const QString &number);

// The number in fixed notation with a decimal point, whatever the language,
// and never a negative zero.
QString pointDecimalText(double value, int decimals);
