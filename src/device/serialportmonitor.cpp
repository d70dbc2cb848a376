#include "serialportmonitor.h"

SerialPortMonitor::SerialPortMonitor()
{
    connect(&pollTimer, &QTimer::timeout, this, &SerialPortMonitor::checkForPortChanges);
    pollTimer.start(500);
}

void SerialPortMonitor::checkForPortChanges()
{
}
