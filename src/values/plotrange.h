#pragma once

#include <QVector>
#include <optional>

// Ranges the plots take when a block is drawn.

struct AxisRange
{
    double lower = 0.0;
    double upper = 0.0;
};

// Key axis: one unit of room on either side of measurements 1 .. count.
AxisRange keyAxisRange(int count);

// Value axis around the finite values: half their spread above and below
// (a tenth of the value for a single one). No values: 0 .. 5. When the range
// would have no height (one value 0, all values equal) there is none, and the
// axis keeps the range it has.
std::optional<AxisRange> valueAxisRange(const QVector<double> &values);
