#pragma once

#include <QString>
#include <QVector>

// One memory block of the simulated instrument: its name as the operator
// reads it (e.g. "Т 0001") and its readings.
struct SimulatedBlock
{
    QString name;
    QVector<float> values;
};
