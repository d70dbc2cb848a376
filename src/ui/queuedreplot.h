#pragma once

#include <QObject>

class QCustomPlot;

// Replots a plot once after the input event that changed its ranges. The
// plot's own queued replot is unconditional once posted, so a plot that
// replotted at once (as a wheel zoom does) would draw twice; this one skips
// its turn when any replot came first.
class QueuedReplot : public QObject
{
    Q_OBJECT

public:
    explicit QueuedReplot(QCustomPlot *plot);

public slots:
    void request();

private:
    void run();

    QCustomPlot *plot;
    bool pending = false;
    bool posted = false;
};
