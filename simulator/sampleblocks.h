#pragma once

#include "simulatedblock.h"

#include <QVector>

// A realistic set of blocks: thickness, hardness and coating readings under
// Cyrillic and Latin names, from a handful to a few thousand values each,
// and one empty block. Always the same values.
QVector<SimulatedBlock> sampleBlocks();

// count blocks named "B 0001", "B 0002", ... with valuesPerBlock readings each.
QVector<SimulatedBlock> uniformBlocks(int count, int valuesPerBlock);
