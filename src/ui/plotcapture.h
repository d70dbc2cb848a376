#pragma once

#include <QImage>
#include <QSize>

class QCustomPlot;

// Draws the plot at the given pixel size for a report. The plot is pinned to
// that size while it is drawn and then pinned to the size it had before.
QImage capturePlotForReport(QCustomPlot *plot, const QSize &size);
