#pragma once

#include "values/memoryblock.h"

#include <QVector>

// What the data exchange of one block gave: its values and, when it did not
// go through, which request failed.
struct BlockValues
{
    QVector<float> values;
    BlockFault fault = BlockFault::None; // None, Size, Data or Cut
};
