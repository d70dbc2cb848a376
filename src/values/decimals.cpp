#include "values/decimals.h"

#include <cmath>

int decimalsForValue(float value)
{
    return std::fabs(value) < 100.0f ? 1 : 0;
}

int valueDecimals(float value, int chosen)
{
    return chosen < 0 ? decimalsForValue(value) : chosen;
}

int boundedDecimalsChoice(int chosen)
{
    if (chosen < kFewestChosenDecimals || chosen > kMostChosenDecimals)
        return kAutoDecimals;
    return chosen;
}
