#include "values/decimals.h"

#include <cmath>

int decimalsForValue(float value)
{
    return std::fabs(value) < 100.0f ? 1 : 0;
}
