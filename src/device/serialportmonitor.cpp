#include "device/serialportmonitor.h"

#include <QDebug>

namespace {

constexpr int kPollIntervalMs = 500;

} // namespace

SerialPortMonitor::SerialPortMonitor(std::shared_ptr<const PortLister> ports)
    : ports(std::move(ports))
{
    connect(&pollTimer, &QTimer::timeout, this, &SerialPortMonitor::checkForPortChanges);
    pollTimer.start(kPollIntervalMs);
}

QStringList SerialPortMonitor::listedPorts() const
{
    return ports->portNames();
}

void SerialPortMonitor::checkForPortChanges()
{
    const QStringList current = listedPorts();

    // A receiver may run a whole handshake inside this emission; ports that
    // appear meanwhile are seen by the next poll.
    for (const QString &name : current) {
        if (!knownPorts.contains(name, Qt::CaseSensitive)) {
            qDebug() << "New serial port added:" << name;
            emit portConnected(name);
        }
    }
    for (const QString &name : qAsConst(knownPorts)) {
        if (!current.contains(name, Qt::CaseSensitive)) {
            qDebug() << "Serial port removed:" << name;
            emit portDisconnected(name);
        }
    }
    knownPorts = current;
}
