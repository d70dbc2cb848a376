#pragma once

#include "values/memoryblock.h"

#include <QObject>
#include <QVector>

class Port;

// Reads every block of the instrument over a port: the count, then name, size
// and values of each block, one exchange after the other. The read runs in
// the port's waits, so events (and a cancel) keep coming meanwhile.
class BlockReader : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        Complete,       // every block was asked for
        Cancelled,      // stopped after an exchange on request
        InstrumentLost, // the port was lost; later requests failed at once
        CountFailed,    // the number of blocks could not be read
    };
    Q_ENUM(Outcome)

    explicit BlockReader(Port &port, QObject *parent = nullptr);

    // Runs a whole read and returns how it ended.
    Outcome read();
    // Reads block `index` (from 0) of the last read once more, without
    // asking the count again, and keeps the new read in its place. False
    // when there is no such block or a cancel came first (the old one stays).
    bool readBlockAgain(int index);
    // Ends a running read once its current exchange is over.
    void cancel();
    bool isRunning() const;

    // The blocks of the last read, in instrument order (only those finished
    // before a cancel).
    const QVector<MemoryBlock> &blocks() const;
    // The count answer of the last read; -1 when it failed.
    int blockCount() const;
    // The blocks that were finished before the read ended or the instrument
    // was lost.
    int blocksRead() const;

signals:
    // The count is known; the blocks follow.
    void countReceived(int count);
    // Block `done` of `count` (counted from 1) is finished.
    void blockRead(int done, int count, const MemoryBlock &block);

private:
    QMetaObject::Connection watchForLoss();
    Outcome readBlocks();
    MemoryBlock readBlock(unsigned index, bool *stopped);
    bool stopRequested() const;

    Port &port;
    QVector<MemoryBlock> readList;
    int count = -1;
    int finishedBeforeLoss = -1;
    bool running = false;
    bool cancelRequested = false;
};
