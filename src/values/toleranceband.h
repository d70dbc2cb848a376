#pragma once

#include <QVector>

// The tolerance band as the operator set it.
struct ToleranceBand
{
    bool on = false;
    double lower = 0.0;
    double upper = 0.0;
};

// True when the band is on and the reading is not inside it. The limits are
// compared in the reading's own single precision, as the plots compare them
// (see isOutOfBand). A reading that is not a number is no measurement inside
// the band, so it counts as outside.
bool readingOutOfBand(float reading, const ToleranceBand &band);

// readingOutOfBand for each reading, in order.
QVector<bool> readingsOutOfBand(const QVector<float> &readings, const ToleranceBand &band);
