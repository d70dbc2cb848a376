#pragma once

#include <QString>
#include <QVector>

// One block as read from the instrument.
struct MemoryBlock
{
    QString name;          // decoded name; empty when the name request failed
    QVector<float> values; // in instrument order; empty when they could not be read
};
