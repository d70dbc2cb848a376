#pragma once

#include "device/portlister.h"

#include <memory>

// The system's serial ports, in the order the system gives them.
class SystemPortLister : public PortLister
{
public:
    QStringList portNames() const override;
};

// The lister the program uses when it is given none.
std::shared_ptr<const PortLister> systemPortLister();
