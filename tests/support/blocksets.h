#pragma once

#include "instrumentnamecode.h"
#include "simulatedblock.h"

#include <QString>
#include <QVector>

// The standard instrument contents: three blocks with Cyrillic and Latin
// names, values below and above 100 (3, 1 and 2 values).
QVector<SimulatedBlock> threeBlocks();

// Four blocks of which the third is empty (3, 3, 0 and 2 values).
QVector<SimulatedBlock> fourBlocks();

// The name the window lists for a block, from the first `bytes` bytes of the
// instrument's name field.
QString shownName(const SimulatedBlock &block, int bytes = kInstrumentNameSize);
