#include "ui/queuedreplot.h"

#include <QTimer>
#include <qcustomplot.h>

QueuedReplot::QueuedReplot(QCustomPlot *plot)
    : QObject(plot)
    , plot(plot)
{
    connect(plot, &QCustomPlot::afterReplot, this, [this] { pending = false; });
}

void QueuedReplot::request()
{
    pending = true;
    if (posted)
        return;
    posted = true;
    QTimer::singleShot(0, this, &QueuedReplot::run);
}

void QueuedReplot::run()
{
    posted = false;
    // Joins a replot the plot queued itself (a drag does) instead of adding one.
    if (pending)
        plot->replot(QCustomPlot::rpQueuedReplot);
}
