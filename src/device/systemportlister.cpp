#include "device/systemportlister.h"

#include <QSerialPortInfo>

QStringList SystemPortLister::portNames() const
{
    QStringList names;
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names.append(info.portName());
    return names;
}

std::shared_ptr<const PortLister> systemPortLister()
{
    return std::make_shared<SystemPortLister>();
}
