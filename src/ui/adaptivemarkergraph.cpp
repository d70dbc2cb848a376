#include "ui/adaptivemarkergraph.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Closest spacing, in pixels, at which markers are still drawn one by one.
constexpr double kMinMarkerSpacing = 4.0;
// Closest spacing, in pixels, at which the line is still drawn as segments.
constexpr double kMinSegmentSpacing = 1.0;
// Width, in pixels, of the columns whose marks are merged into one block.
constexpr double kMergeColumnWidth = 3.0;

bool finite(const QPointF &point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

} // namespace

AdaptiveMarkerGraph::AdaptiveMarkerGraph(QCPAxis *keyAxis, QCPAxis *valueAxis, DenseMarkers dense)
    : QCPGraph(keyAxis, valueAxis)
    , denseMarkers(dense)
{}

double AdaptiveMarkerGraph::pointSpacing() const
{
    const QCPAxis *keyAxis = mKeyAxis.data();
    if (!keyAxis || !mValueAxis || dataCount() < 2)
        return std::numeric_limits<double>::infinity();
    QCPGraphDataContainer::const_iterator begin;
    QCPGraphDataContainer::const_iterator end;
    getVisibleDataBounds(begin, end, QCPDataRange(0, dataCount()));
    const int visible = int(end - begin);
    if (visible < 2)
        return std::numeric_limits<double>::infinity();
    const double span = std::abs(keyAxis->coordToPixel((end - 1)->key) - keyAxis->coordToPixel(begin->key));
    return span / (visible - 1);
}

bool AdaptiveMarkerGraph::markersApart() const
{
    return pointSpacing() >= kMinMarkerSpacing;
}

void AdaptiveMarkerGraph::getOptimizedScatterData(QVector<QCPGraphData> *scatterData,
                                                  QCPGraphDataContainer::const_iterator begin,
                                                  QCPGraphDataContainer::const_iterator end) const
{
    if (!markersApart()) {
        scatterData->clear();
        return;
    }
    QCPGraph::getOptimizedScatterData(scatterData, begin, end);
}

void AdaptiveMarkerGraph::drawScatterPlot(QCPPainter *painter, const QVector<QPointF> &scatters,
                                          const QCPScatterStyle &style) const
{
    if (markersApart())
        QCPGraph::drawScatterPlot(painter, scatters, style);
    else if (denseMarkers == DenseMarkers::Merged)
        drawMergedMarkers(painter, style);
}

void AdaptiveMarkerGraph::drawLinePlot(QCPPainter *painter, const QVector<QPointF> &lines) const
{
    const double spacing = pointSpacing();
    if (painter->modes().testFlag(QCPPainter::pmVectorized) || painter->pen().style() != Qt::SolidLine
        || spacing >= kMinMarkerSpacing) {
        QCPGraph::drawLinePlot(painter, lines);
        return;
    }
    if (painter->pen().color().alpha() == 0)
        return;
    if (spacing >= kMinSegmentSpacing || mKeyAxis->orientation() != Qt::Horizontal)
        drawSegments(painter, lines);
    else
        drawColumnSpans(painter, lines);
}

void AdaptiveMarkerGraph::drawSegments(QCPPainter *painter, const QVector<QPointF> &lines) const
{
    QVector<QLineF> segments;
    segments.reserve(lines.size());
    for (int i = 1; i < lines.size(); ++i) {
        if (finite(lines.at(i - 1)) && finite(lines.at(i)))
            segments.append(QLineF(lines.at(i - 1), lines.at(i)));
    }
    applyDefaultAntialiasingHint(painter);
    painter->drawLines(segments);
}

void AdaptiveMarkerGraph::drawColumnSpans(QCPPainter *painter, const QVector<QPointF> &lines) const
{
    // Where several points share a pixel column, the line covers that column
    // from its lowest to its highest point: one filled span per column, as
    // wide as the pen, draws the same pixels many times faster than stroking
    // every zigzag. Segments longer than a column keep being stroked.
    struct Span
    {
        double low = std::numeric_limits<double>::infinity();
        double high = -std::numeric_limits<double>::infinity();
    };
    const QRect area = mKeyAxis->axisRect()->rect();
    const int firstColumn = area.left() - 1;
    QVector<Span> spans(area.width() + 3);
    QVector<QLineF> longSegments;
    // A short segment covers both its columns over its whole height, so that
    // steps between neighbouring columns leave no gap.
    auto cover = [&](double x, double low, double high) {
        const int column = int(std::floor(x)) - firstColumn;
        if (column < 0 || column >= spans.size())
            return;
        Span &span = spans[column];
        span.low = std::min(span.low, low);
        span.high = std::max(span.high, high);
    };
    for (int i = 1; i < lines.size(); ++i) {
        const QPointF &from = lines.at(i - 1);
        const QPointF &to = lines.at(i);
        if (!finite(from) || !finite(to))
            continue;
        if (std::abs(to.x() - from.x()) <= 1.0) {
            const double low = std::min(from.y(), to.y());
            const double high = std::max(from.y(), to.y());
            cover(from.x(), low, high);
            cover(to.x(), low, high);
        } else {
            longSegments.append(QLineF(from, to));
        }
    }

    const double width = std::max(1.0, painter->pen().widthF());
    QVector<QRectF> rects;
    rects.reserve(spans.size());
    for (int column = 0; column < spans.size(); ++column) {
        const Span &span = spans.at(column);
        if (span.low > span.high)
            continue;
        const double centre = firstColumn + column + 0.5;
        rects.append(QRectF(centre - width / 2, span.low - width / 2, width, span.high - span.low + width));
    }

    applyDefaultAntialiasingHint(painter);
    painter->drawLines(longSegments);
    const QPen pen = painter->pen();
    painter->setAntialiasing(false);
    painter->setPen(Qt::NoPen);
    painter->setBrush(pen.color());
    painter->drawRects(rects);
    painter->setPen(pen);
}

void AdaptiveMarkerGraph::drawMergedMarkers(QCPPainter *painter, const QCPScatterStyle &style) const
{
    const QCPAxis *keyAxis = mKeyAxis.data();
    const QCPAxis *valueAxis = mValueAxis.data();
    QCPGraphDataContainer::const_iterator begin;
    QCPGraphDataContainer::const_iterator end;
    getVisibleDataBounds(begin, end, QCPDataRange(0, dataCount()));

    // Marks closer than a marker's size along the value axis merge into one
    // block as wide and as tall as the marks it stands for.
    const double size = style.size() + style.pen().widthF();
    const bool horizontalKeys = keyAxis->orientation() == Qt::Horizontal;

    // A column's marks are collected as occupied value pixels; only those
    // within a marker of the visible area can show.
    const QRect area = valueAxis->axisRect()->rect();
    const int margin = int(std::ceil(size));
    const int firstPixel = (horizontalKeys ? area.top() : area.left()) - margin;
    const int lastPixel = (horizontalKeys ? area.bottom() : area.right()) + margin;
    QVector<bool> occupied(lastPixel - firstPixel + 1, false);
    int lowestRow = occupied.size();
    int highestRow = -1;

    QVector<QRectF> blocks;
    double columnKey = 0.0;
    long long column = std::numeric_limits<long long>::min();
    auto addBlock = [&](int fromRow, int toRow) {
        const double from = firstPixel + fromRow - size / 2;
        const double length = toRow - fromRow + size;
        const double across = columnKey - size / 2;
        blocks.append(horizontalKeys ? QRectF(across, from, size, length)
                                     : QRectF(from, across, length, size));
    };
    auto flushColumn = [&] {
        if (highestRow < 0)
            return;
        int from = lowestRow;
        int to = lowestRow;
        for (int row = lowestRow; row <= highestRow; ++row) {
            if (!occupied.at(row))
                continue;
            occupied[row] = false;
            if (row - to > size) {
                addBlock(from, to);
                from = row;
            }
            to = row;
        }
        addBlock(from, to);
        lowestRow = occupied.size();
        highestRow = -1;
    };

    for (auto it = begin; it != end; ++it) {
        if (!std::isfinite(it->value))
            continue;
        const double keyPixel = keyAxis->coordToPixel(it->key);
        const long long itsColumn = std::llround(std::floor(keyPixel / kMergeColumnWidth));
        if (itsColumn != column) {
            flushColumn();
            column = itsColumn;
            columnKey = (itsColumn + 0.5) * kMergeColumnWidth;
        }
        const double valuePixel = valueAxis->coordToPixel(it->value);
        if (!(valuePixel >= firstPixel && valuePixel <= lastPixel))
            continue;
        const int row = int(valuePixel) - firstPixel;
        occupied[row] = true;
        lowestRow = std::min(lowestRow, row);
        highestRow = std::max(highestRow, row);
    }
    flushColumn();

    const QColor colour = style.brush().style() == Qt::NoBrush ? style.pen().color() : style.brush().color();
    painter->setAntialiasing(false);
    painter->setPen(Qt::NoPen);
    painter->setBrush(colour);
    painter->drawRects(blocks);
}
