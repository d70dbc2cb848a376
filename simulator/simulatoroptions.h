#pragma once

#include "instrumentbehaviour.h"
#include "simulatedblock.h"

#include <QString>
#include <QStringList>
#include <QVector>

// The command line of zrv-instrument-sim, turned into a set-up.
struct SimulatorOptions
{
    QVector<SimulatedBlock> blocks;
    InstrumentBehaviour behaviour;
    QString linkPath;
    int replugAfterMs = -1; // plug in again this long after unplugging; -1: never
    bool verbose = false;
};

// Parses arguments (the program name first). On failure returns false with a
// message in *error; a request for help returns false with the help text.
bool parseSimulatorOptions(const QStringList &arguments, SimulatorOptions *options, QString *error);
