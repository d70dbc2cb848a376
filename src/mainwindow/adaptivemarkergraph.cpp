#include "adaptivemarkergraph.h"

#include <algorithm>
#include <cmath>

namespace {

// Closest spacing, in pixels, at which markers are still drawn one by one.
constexpr double kMinMarkerSpacing = 4.0;
// Width, in pixels, of the columns whose marks are merged into one stroke.
constexpr double kMergeColumnWidth = 3.0;

} // namespace

AdaptiveMarkerGraph::AdaptiveMarkerGraph(QCPAxis *keyAxis, QCPAxis *valueAxis,
                                         DenseMarkers dense)
    : QCPGraph(keyAxis, valueAxis)
    , denseMarkers(dense)
{
}

bool AdaptiveMarkerGraph::markersApart() const
{
    const QCPAxis *keyAxis = mKeyAxis.data();
    if (!keyAxis || !mValueAxis || dataCount() < 2)
        return true;
    QCPGraphDataContainer::const_iterator begin;
    QCPGraphDataContainer::const_iterator end;
    getVisibleDataBounds(begin, end, QCPDataRange(0, dataCount()));
    const int visible = int(end - begin);
    if (visible < 2)
        return true;
    const double span =
        std::abs(keyAxis->coordToPixel((end - 1)->key) - keyAxis->coordToPixel(begin->key));
    return span / (visible - 1) >= kMinMarkerSpacing;
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
    const bool vectorized = painter->modes().testFlag(QCPPainter::pmVectorized);
    if (vectorized || painter->pen().style() != Qt::SolidLine || markersApart()) {
        QCPGraph::drawLinePlot(painter, lines);
        return;
    }
    if (painter->pen().color().alpha() == 0)
        return;
    QVector<QLineF> segments;
    segments.reserve(lines.size());
    for (int i = 1; i < lines.size(); ++i) {
        const QPointF &from = lines.at(i - 1);
        const QPointF &to = lines.at(i);
        if (std::isfinite(from.x()) && std::isfinite(from.y()) && std::isfinite(to.x()) &&
            std::isfinite(to.y()))
            segments.append(QLineF(from, to));
    }
    applyDefaultAntialiasingHint(painter);
    painter->drawLines(segments);
}

void AdaptiveMarkerGraph::drawMergedMarkers(QCPPainter *painter,
                                            const QCPScatterStyle &style) const
{
    const QCPAxis *keyAxis = mKeyAxis.data();
    const QCPAxis *valueAxis = mValueAxis.data();
    QCPGraphDataContainer::const_iterator begin;
    QCPGraphDataContainer::const_iterator end;
    getVisibleDataBounds(begin, end, QCPDataRange(0, dataCount()));

    // A round-capped stroke as wide as the marker covers exactly the marks
    // along it, so marks closer than that width merge without a visible seam.
    const double strokeWidth = style.size() + style.pen().widthF();
    const bool horizontalKeys = keyAxis->orientation() == Qt::Horizontal;
    QVector<QLineF> strokes;
    QVector<double> columnValues;
    double columnKey = 0.0;
    long long column = 0;
    auto flushColumn = [&] {
        if (columnValues.isEmpty())
            return;
        std::sort(columnValues.begin(), columnValues.end());
        double from = columnValues.first();
        double to = from;
        auto addStroke = [&] {
            // A zero-length stroke would draw nothing; a hair's length draws its round cap.
            const double length = std::max(to - from, 0.01);
            strokes.append(horizontalKeys ? QLineF(columnKey, from, columnKey, from + length)
                                          : QLineF(from, columnKey, from + length, columnKey));
        };
        for (const double pixel : columnValues) {
            if (pixel - to > strokeWidth) {
                addStroke();
                from = pixel;
            }
            to = pixel;
        }
        addStroke();
        columnValues.clear();
    };

    for (auto it = begin; it != end; ++it) {
        if (!std::isfinite(it->value))
            continue;
        const double keyPixel = keyAxis->coordToPixel(it->key);
        const long long itsColumn = std::llround(std::floor(keyPixel / kMergeColumnWidth));
        if (itsColumn != column || columnValues.isEmpty()) {
            flushColumn();
            column = itsColumn;
            columnKey = (itsColumn + 0.5) * kMergeColumnWidth;
        }
        columnValues.append(valueAxis->coordToPixel(it->value));
    }
    flushColumn();

    const QColor colour =
        style.brush().style() == Qt::NoBrush ? style.pen().color() : style.brush().color();
    painter->setPen(QPen(colour, strokeWidth, Qt::SolidLine, Qt::RoundCap));
    painter->setBrush(Qt::NoBrush);
    painter->drawLines(strokes);
}
