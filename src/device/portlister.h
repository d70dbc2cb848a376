#pragma once

#include <QStringList>

// Names the serial ports the port monitor watches. The product lists the
// system's ports; tests and the demo list their own as well or instead.
class PortLister
{
public:
    virtual ~PortLister() = default;

    // The names (or device paths) of the ports present now, in a stable order.
    virtual QStringList portNames() const = 0;
};
