#pragma once

#include "values/memoryblock.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QVector>

// How the read of one port ended.
enum class PortOutcome {
    Complete,       // every block the instrument listed was read
    Cancelled,      // a stop signal ended it; the blocks read so far are kept
    InstrumentLost, // the port vanished or failed during the read
    CountFailed,    // the instrument did not give its number of blocks
    NotFound,       // no instrument answered the handshake in time
};

// What the read of one port gave.
struct PortReadResult
{
    QString requestedPath; // as given with --port; empty: the system's ports
    QString portName;      // the port the instrument answered on
    PortOutcome outcome = PortOutcome::NotFound;
    int blockCount = -1;         // the instrument's count answer; -1 when unknown
    QVector<MemoryBlock> blocks; // in instrument order, as the window lists them
    int blocksRead = 0;          // those finished before the read ended or the port was lost
    QDateTime startedAt;         // UTC
    qint64 readMs = 0;           // from the count request to the last block
};

// The outcome as the JSON document and the progress lines name it.
QString portOutcomeName(PortOutcome outcome);

Q_DECLARE_METATYPE(MemoryBlock)
Q_DECLARE_METATYPE(PortReadResult)
