#include "ui/screenfit.h"

#include <QtGlobal>

namespace {

// A screen at least this large has room for more than the window's minimum.
const QSize kRoomyScreen(1600, 900);
// The share of such a screen's available area the window opens at.
constexpr double kOpeningShare = 0.85;

} // namespace

QPoint placementOnScreen(const QRect &available, const QSize &frame)
{
    const int dx = qMax(0, (available.width() - frame.width()) / 2);
    const int dy = qMax(0, (available.height() - frame.height()) / 2);
    return available.topLeft() + QPoint(dx, dy);
}

bool fitsOn(const QRect &available, const QSize &frame)
{
    return frame.width() <= available.width() && frame.height() <= available.height();
}

QPoint keptOnScreen(const QRect &available, const QRect &frame)
{
    const int x = qMax(available.left(), qMin(frame.left(), available.right() + 1 - frame.width()));
    const int y = qMax(available.top(), qMin(frame.top(), available.bottom() + 1 - frame.height()));
    return QPoint(x, y);
}

QSize openingSize(const QRect &available, const QSize &minimum)
{
    if (available.width() < kRoomyScreen.width() || available.height() < kRoomyScreen.height())
        return minimum;
    const QSize share(int(available.width() * kOpeningShare), int(available.height() * kOpeningShare));
    return minimum.expandedTo(share);
}
