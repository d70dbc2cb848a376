#pragma once

#include "device/portlister.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <memory>

// Polls the list of serial ports every 500 ms and reports names that appear
// or disappear between two polls. Only the name identifies a port.
class SerialPortMonitor : public QObject
{
    Q_OBJECT

public:
    explicit SerialPortMonitor(std::shared_ptr<const PortLister> ports);

    // The ports as listed now (not as seen by the last poll).
    QStringList listedPorts() const;

signals:
    void portConnected(QString portName);
    void portDisconnected(QString portName);

private slots:
    void checkForPortChanges();

private:
    const std::shared_ptr<const PortLister> ports;
    QTimer pollTimer;
    QStringList knownPorts;
};
