#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

// Polls the list of serial ports every 500 ms and reports names that appear
// or disappear between two polls.
class SerialPortMonitor : public QObject
{
    Q_OBJECT

public:
    SerialPortMonitor();

signals:
    void portConnected(QString portName);
    void portDisconnected(QString portName);

private slots:
    void checkForPortChanges();

private:
    QTimer pollTimer;
    QStringList knownPorts;
};
