#pragma once

#include "simulatedblock.h"

#include <QString>
#include <QVector>

// Reads the blocks of a simulated instrument from a JSON file:
//   {"blocks": [{"name": "Т 0001", "values": [4.81, 4.79]}, ...]}
// (a bare array of blocks is accepted as well). On failure returns false and
// describes the problem in *error.
bool loadBlockFile(const QString &path, QVector<SimulatedBlock> *blocks, QString *error);
