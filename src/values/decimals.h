#pragma once

// Decimals with which one measured value is printed: 1 below a magnitude of
// 100, otherwise 0 (NaN: 0). The table cuts to that many, the reports round.
int decimalsForValue(float value);

// The operator's choice of decimals for the readings: Авто (each value by
// decimalsForValue) or a fixed count from one to four.
constexpr int kAutoDecimals = -1;
constexpr int kFewestChosenDecimals = 1;
constexpr int kMostChosenDecimals = 4;

// The decimals one value is printed with under the choice.
int valueDecimals(float value, int chosen);

// A choice kept or typed elsewhere brought within Авто and one to four.
int boundedDecimalsChoice(int chosen);
