#pragma once

#include <QDateTime>
#include <QMetaType>
#include <QVector>

// One stored block of a given name, with the read it came from: a trend over
// the history takes each as one subgroup.
struct NamedBlock
{
    qint64 readId = -1;
    QDateTime readStartedAt; // UTC
    int position = 0;        // in its read's list
    int valueCount = 0;      // as stored
    QVector<float> values;   // empty when the block holds more than were asked for
};

Q_DECLARE_METATYPE(NamedBlock)
