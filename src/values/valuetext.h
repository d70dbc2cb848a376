#pragma once

#include <QString>

// Table text of one measured value: its shortest decimal form cut toward zero
// to decimalsForValue() decimals (0.7 -> "0.7", -12.37 -> "-12.3",
// 100.7 -> "100"). NaN and infinities are shown as they are.
QString cutValueText(float value);
