#pragma once

#include "device/pathportlister.h"

#include <memory>

// A lister of the tests' own ports only, none yet: a real, silent serial port
// of the machine never takes part in a test.
inline std::shared_ptr<PathPortLister> noPorts()
{
    return std::make_shared<PathPortLister>();
}
