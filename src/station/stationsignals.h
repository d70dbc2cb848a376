#pragma once

#include <QObject>

class QSocketNotifier;

// SIGINT and SIGTERM as a signal on the event loop: the handler only writes
// the signal's number into a pipe that the loop watches.
class StationSignals : public QObject
{
    Q_OBJECT

public:
    explicit StationSignals(QObject *parent = nullptr);
    ~StationSignals() override;

signals:
    void stopRequested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *notifier = nullptr;
};
