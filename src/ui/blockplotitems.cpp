#include "ui/blockplotitems.h"

#include "ui/adaptivebars.h"

#include <QSignalBlocker>
#include <cmath>

namespace {

const QColor kBarOutlineColour(0, 0, 0, 150);
constexpr double kBarOutlineWidth = 1.0;
constexpr double kBarBase = 0.0;
constexpr double kLimitLineWidth = 2.0;
// A straight line is given by two points; any two on the limit's height do.
constexpr double kLineKey1 = 1.0;
constexpr double kLineKey2 = 2.0;

void placeLine(QCPItemStraightLine *line, const QPen &pen, double value)
{
    line->setPen(pen);
    line->setVisible(true);
    line->point1->setCoords(kLineKey1, value);
    line->point2->setCoords(kLineKey2, value);
}

QCPRange toPlotRange(const AxisRange &range)
{
    return QCPRange(range.lower, range.upper);
}

} // namespace

// The lower and upper line of each plot, shown at the limits while the band is
// on, hidden (keeping pen and place) while it is off.
void placeLimitLines(const QList<QPair<QCPItemStraightLine *, QCPItemStraightLine *>> &lines,
                     const ToleranceBand &band)
{
    QPen pen(Qt::red);
    pen.setWidthF(kLimitLineWidth);
    for (const auto &pair : lines) {
        // A one-sided band has no line on its open side.
        pair.first->setVisible(false);
        pair.second->setVisible(false);
        if (band.on && std::isfinite(activeLower(band)))
            placeLine(pair.first, pen, band.lower);
        if (band.on && std::isfinite(activeUpper(band)))
            placeLine(pair.second, pen, band.upper);
    }
}

// Sets the ranges of both linked plots at once: each plot then draws once
// instead of once for every axis that changes.
void setLinkedRanges(QCustomPlot *graph, QCustomPlot *diagram, const AxisRange &keyRange,
                     const std::optional<AxisRange> &valueRange)
{
    const QSignalBlocker graphKeys(graph->xAxis);
    const QSignalBlocker diagramKeys(diagram->xAxis);
    const QSignalBlocker graphValues(graph->yAxis);
    const QSignalBlocker diagramValues(diagram->yAxis);
    graph->xAxis->setRange(toPlotRange(keyRange));
    diagram->xAxis->setRange(toPlotRange(keyRange));
    if (valueRange) {
        graph->yAxis->setRange(toPlotRange(*valueRange));
        diagram->yAxis->setRange(toPlotRange(*valueRange));
    }
}

AdaptiveBars *addBars(QCustomPlot *plot, const QVector<double> &keys, const QVector<double> &values,
                      const QColor &fill)
{
    auto *bars = new AdaptiveBars(plot->xAxis, plot->yAxis);
    bars->setBaseValue(kBarBase);
    bars->setData(keys, values, true); // keys ascend by construction
    bars->setPen(QPen(kBarOutlineColour, kBarOutlineWidth));
    bars->setBrush(fill);
    return bars;
}
