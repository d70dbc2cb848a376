#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

// Polls the list of serial ports every 500 ms and reports names that appear
// or disappear between two polls. Only the name identifies a port.
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
