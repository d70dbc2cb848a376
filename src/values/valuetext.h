#pragma once

#include <QString>

// Table text of one measured value: its shortest decimal form cut toward zero
// to decimalsForValue() decimals (0.7 -> "0.7", -12.37 -> "-12.3",
// 100.7 -> "100"). NaN and infinities are shown as they are.
QString cutValueText(float value);

// The number text without its minus sign when every digit is zero: a small
// negative number rounded or cut to "-0.0" is shown as "0.0".
QString withoutNegativeZero(const QString &number);

// The number in fixed notation with a decimal point, whatever the language,
// and never a negative zero.
QString pointDecimalText(double value, int decimals);
