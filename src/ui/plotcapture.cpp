#include "ui/plotcapture.h"

#include <qcustomplot.h>

QImage capturePlotForReport(QCustomPlot *plot, const QSize &size)
{
    // The plot's own constraints come back afterwards, so that it goes on
    // following the window; pinning it to its size froze it there.
    const QSize minimum = plot->minimumSize();
    const QSize maximum = plot->maximumSize();
    plot->setMinimumSize(size);
    plot->setMaximumSize(size);
    plot->replot(QCustomPlot::rpRefreshHint);
    const QImage image = plot->toPixmap(0, 0, 1.0).toImage();
    plot->setMinimumSize(minimum);
    plot->setMaximumSize(maximum);
    return image;
}
