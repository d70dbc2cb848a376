#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where a window of the given frame size opens: centred on the available
// area; a window larger than the area keeps its top-left corner on it.
QPoint placementOnScreen(const QRect &available, const QSize &frame);

// Whether a frame of this size fits on the available area.
bool fitsOn(const QRect &available, const QSize &frame);

// The frame's position moved as little as needed to bring it onto the
// available area (its top-left corner first, when it is larger).
QPoint keptOnScreen(const QRect &available, const QRect &frame);

// The size a window without a kept place opens at: its minimum, or on a
// screen with room to spare a share of the available area.
QSize openingSize(const QRect &available, const QSize &minimum);
