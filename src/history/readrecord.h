#pragma once

#include "values/memoryblock.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QUuid>
#include <QVector>

// How a read of the instrument ended.
enum class ReadOutcome {
    Complete,       // every block the instrument listed was read
    Cancelled,      // the operator stopped the read
    InstrumentLost, // the instrument went away during the read
};

// A new read's identity: a read sent to a store twice is kept once.
inline QString newReadUid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// One read of the instrument, as the history keeps it.
struct ReadRecord
{
    QDateTime startedAt; // UTC
    QString portName;
    int blockCount = -1; // the instrument's count answer; -1 when it failed
    ReadOutcome outcome = ReadOutcome::Complete;
    QVector<MemoryBlock> blocks; // in list order
    // Names the read in every store it passes through, so that sending it
    // again after an interrupted send does not keep it twice.
    QString uid;
};

// A read's `pending` column: stored for good, waiting here for the server, or
// refused by the server and set aside. Part of the stored format.
constexpr int kStored = 0;
constexpr int kWaitingForServer = 1;
constexpr int kSetAside = 2;

// A stored read as the history window lists it (no blocks).
struct StoredRead
{
    qint64 id = -1;
    QString uid;
    QDateTime startedAt; // UTC
    QString portName;
    int blockCount = -1;
    int storedBlocks = 0;
    qint64 valueCount = 0;
    ReadOutcome outcome = ReadOutcome::Complete;
    int failedBlocks = 0;
    int pending = kStored;
    QString refusal; // the server's words, for a read set aside
};

// One block of a stored read, without its values.
struct StoredBlock
{
    int position = 0;
    QString name;
    int expectedSize = -1;
    BlockFault fault = BlockFault::None;
    int valueCount = 0;
};

// Which reads the history window lists; empty parts do not filter.
struct ReadFilter
{
    QString blockName; // part of a block name, any case
    QDateTime from;    // first instant included
    QDateTime to;      // first instant no longer included
};

Q_DECLARE_METATYPE(ReadRecord)
Q_DECLARE_METATYPE(StoredRead)
Q_DECLARE_METATYPE(StoredBlock)
Q_DECLARE_METATYPE(ReadFilter)
