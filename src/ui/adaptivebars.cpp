#include "ui/adaptivebars.h"

#include <algorithm>
#include <cmath>

namespace {

// Narrowest bar, in pixels, that is still drawn as a bar.
constexpr double kMinBarWidth = 2.0;

} // namespace

AdaptiveBars::AdaptiveBars(QCPAxis *keyAxis, QCPAxis *valueAxis)
    : QCPBars(keyAxis, valueAxis)
{}

bool AdaptiveBars::barsApart() const
{
    const QCPAxis *keyAxis = mKeyAxis.data();
    if (!keyAxis || mWidthType != wtPlotCoords)
        return true;
    const double centre = keyAxis->range().center();
    const double pixels =
        std::abs(keyAxis->coordToPixel(centre + mWidth / 2) - keyAxis->coordToPixel(centre - mWidth / 2));
    return pixels >= kMinBarWidth;
}

void AdaptiveBars::draw(QCPPainter *painter)
{
    if (barsApart())
        QCPBars::draw(painter);
    else
        drawColumns(painter);
}

void AdaptiveBars::drawColumns(QCPPainter *painter) const
{
    const QCPAxis *keyAxis = mKeyAxis.data();
    const QCPAxis *valueAxis = mValueAxis.data();
    if (!keyAxis || !valueAxis || mDataContainer->isEmpty())
        return;
    QCPBarsDataContainer::const_iterator begin;
    QCPBarsDataContainer::const_iterator end;
    getVisibleDataBounds(begin, end);

    const bool horizontalKeys = keyAxis->orientation() == Qt::Horizontal;
    QVector<QLineF> lines;
    long long column = 0;
    bool open = false;
    double low = mBaseValue;
    double high = mBaseValue;
    auto flushColumn = [&] {
        if (!open)
            return;
        const double at = column + 0.5;
        const double from = valueAxis->coordToPixel(low);
        const double to = valueAxis->coordToPixel(high);
        lines.append(horizontalKeys ? QLineF(at, from, at, to) : QLineF(from, at, to, at));
    };
    for (auto it = begin; it != end; ++it) {
        if (!std::isfinite(it->value))
            continue;
        const long long itsColumn = std::llround(std::floor(keyAxis->coordToPixel(it->key)));
        if (!open || itsColumn != column) {
            flushColumn();
            column = itsColumn;
            open = true;
            low = high = mBaseValue;
        }
        low = std::min(low, it->value);
        high = std::max(high, it->value);
    }
    flushColumn();

    painter->setAntialiasing(false);
    painter->setPen(QPen(mBrush.color(), 1.0));
    painter->setBrush(Qt::NoBrush);
    painter->drawLines(lines);
}
