#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

// The request of a block's read that went wrong, if any.
enum class BlockFault {
    None, // read completely
    Name, // the name request failed (error answer, timeout or short answer)
    Size, // the size request failed, or answered more than the instrument holds
    Data, // the data request failed: no values
    Cut,  // the data answer ended early: fewer values than the size answer
};

// Why a block came without what was asked for.
enum class BlockMiss {
    None,
    NoAnswer,       // the instrument did not answer in time
    ErrorAnswer,    // the instrument gave its error answer
    InstrumentLost, // not read: the instrument was lost first
    ReadStopped,    // not read: the read was cancelled first
};

// One block as read from the instrument.
struct MemoryBlock
{
    QString name;          // decoded name; empty when the name request failed
    QVector<float> values; // in instrument order; empty when they could not be read
    int expectedSize = -1; // the size answer; -1 when it is not known
    BlockFault fault = BlockFault::None;
    BlockMiss miss = BlockMiss::None; // with a fault: what the failed request met
    QDateTime readAt;                 // UTC, when the block was read from the instrument
};
