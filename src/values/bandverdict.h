#pragma once

#include "values/toleranceband.h"

#include <QVector>

// What the tolerance band says about one block. Figures that cannot be
// computed are NaN.
struct BandVerdict
{
    int readings = 0;
    int outside = 0;              // readings out of band (see readingOutOfBand)
    double outsidePercent = 0.0;  // of the readings; NaN without readings
    bool conforms = false;        // at least one reading, and none outside
    double cp = 0.0;              // (upper - lower) / 6σ
    double cpk = 0.0;             // min(upper - mean, mean - lower) / 3σ
};

// The verdict of the readings against a band that is on. Cp and Cpk use the
// block's true mean and sample deviation (computeStatistics); they need at
// least two readings, a deviation above 0 and a lower limit not above the
// upper one, and are NaN otherwise.
BandVerdict bandVerdict(const QVector<float> &readings, const ToleranceBand &band);
