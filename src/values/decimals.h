#pragma once

// Decimals with which one measured value is printed: 1 below a magnitude of
// 100, otherwise 0 (NaN: 0). The table cuts to that many, the reports round.
int decimalsForValue(float value);
