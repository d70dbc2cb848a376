#pragma once

#include "values/plotrange.h"
#include "values/toleranceband.h"

#include <QColor>
#include <QList>
#include <QPair>
#include <QVector>
#include <optional>
#include <qcustomplot.h>

class AdaptiveBars;

// The items the block's two plots are drawn with: limit lines, linked
// ranges and bars.

// The lower and upper line of each plot, shown at the limits while the band is
// on, hidden (keeping pen and place) while it is off.
void placeLimitLines(const QList<QPair<QCPItemStraightLine *, QCPItemStraightLine *>> &lines,
                     const ToleranceBand &band);

// Sets the ranges of both linked plots at once: each plot then draws once
// instead of once for every axis that changes.
void setLinkedRanges(QCustomPlot *graph, QCustomPlot *diagram, const AxisRange &keyRange,
                     const std::optional<AxisRange> &valueRange);

// Bars of the diagram, outlined, filled with `fill`, from zero.
AdaptiveBars *addBars(QCustomPlot *plot, const QVector<double> &keys, const QVector<double> &values,
                      const QColor &fill);
