#pragma once

#include <QImage>
#include <QSize>

class QCustomPlot;

// Draws the plot at the given pixel size for a report. The plot is held at
// that size while it is drawn; its minimum and maximum size are then those
// it had before.
QImage capturePlotForReport(QCustomPlot *plot, const QSize &size);
