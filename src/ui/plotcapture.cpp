#include "ui/plotcapture.h"

#include <qcustomplot.h>

QImage capturePlotForReport(QCustomPlot *plot, const QSize &size)
{
    const QSize before = plot->size();
    plot->setMinimumSize(size);
    plot->setMaximumSize(size);
    plot->replot(QCustomPlot::rpRefreshHint);
    const QImage image = plot->toPixmap(0, 0, 1.0).toImage();
    plot->setMinimumSize(before);
    plot->setMaximumSize(before);
    return image;
}
