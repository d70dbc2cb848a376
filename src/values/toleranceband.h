#pragma once

#include <QVector>

// Which limits of the band apply: a coating has only a minimum, a burr only a maximum.
enum class ToleranceKind { TwoSided, LowerOnly, UpperOnly };

// The tolerance band as the operator set it.
struct ToleranceBand
{
    bool on = false;
    double lower = 0.0;
    double upper = 0.0;
    ToleranceKind kind = ToleranceKind::TwoSided;
};

// The limits that apply: a side the kind leaves out is -∞ or +∞.
double activeLower(const ToleranceBand &band);
double activeUpper(const ToleranceBand &band);

// A two-sided band whose lower limit lies above its upper one: every reading is out.
bool bandInverted(const ToleranceBand &band);

// True when the band is on and the reading is not inside it. The limits are
// compared in the reading's own single precision, as the plots compare them
// (see isOutOfBand). A reading that is not a number is no measurement inside
// the band, so it counts as outside.
bool readingOutOfBand(float reading, const ToleranceBand &band);

// readingOutOfBand for each reading, in order.
QVector<bool> readingsOutOfBand(const QVector<float> &readings, const ToleranceBand &band);
