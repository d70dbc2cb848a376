#include "device/blockreader.h"

#include "device/blockname.h"
#include "device/port.h"
#include "device/wireformat.h"

#include <QDateTime>

BlockReader::BlockReader(Port &port, QObject *parent)
    : QObject(parent)
    , port(port)
{}

bool BlockReader::isRunning() const
{
    return running;
}

const QVector<MemoryBlock> &BlockReader::blocks() const
{
    return readList;
}

int BlockReader::blockCount() const
{
    return count;
}

int BlockReader::blocksRead() const
{
    return finishedBeforeLoss >= 0 ? finishedBeforeLoss : readList.size();
}

void BlockReader::cancel()
{
    if (running)
        cancelRequested = true;
}

bool BlockReader::stopRequested() const
{
    return cancelRequested && finishedBeforeLoss < 0;
}

BlockReader::Outcome BlockReader::read()
{
    readList.clear();
    count = -1;
    finishedBeforeLoss = -1;
    cancelRequested = false;
    running = true;
    const QMetaObject::Connection watch = watchForLoss();

    const Outcome outcome = readBlocks();

    disconnect(watch);
    running = false;
    cancelRequested = false;
    return outcome;
}

QMetaObject::Connection BlockReader::watchForLoss()
{
    return connect(&port, &Port::linkStateChanged, this, [this](Port::LinkState state) {
        if (state == Port::LinkState::Lost && finishedBeforeLoss < 0)
            finishedBeforeLoss = readList.size();
    });
}

bool BlockReader::readBlockAgain(int index)
{
    if (running || index < 0 || index >= readList.size())
        return false;
    cancelRequested = false;
    running = true;
    const QMetaObject::Connection watch = watchForLoss();

    bool stopped = false;
    const MemoryBlock block = readBlock(static_cast<unsigned>(index), &stopped);
    if (!stopped)
        readList[index] = block;

    disconnect(watch);
    running = false;
    cancelRequested = false;
    return !stopped;
}

BlockReader::Outcome BlockReader::readBlocks()
{
    count = port.getBlocksAmount();
    if (finishedBeforeLoss >= 0)
        return Outcome::InstrumentLost;
    if (count < 0)
        return Outcome::CountFailed;
    emit countReceived(count);

    // Once the instrument is lost the remaining requests fail at once, and
    // each block keeps its row all the same.
    for (int i = 0; i < count; ++i) {
        if (stopRequested())
            return Outcome::Cancelled;
        bool stopped = false;
        const MemoryBlock block = readBlock(static_cast<unsigned>(i), &stopped);
        if (stopped)
            return Outcome::Cancelled;
        readList.append(block);
        emit blockRead(i + 1, count, block);
    }
    return finishedBeforeLoss >= 0 ? Outcome::InstrumentLost : Outcome::Complete;
}

namespace {

BlockMiss missOf(Port::ExchangeEnd end)
{
    switch (end) {
    case Port::ExchangeEnd::Answered:
        return BlockMiss::None;
    case Port::ExchangeEnd::ErrorAnswer:
        return BlockMiss::ErrorAnswer;
    case Port::ExchangeEnd::Silent:
        return BlockMiss::NoAnswer;
    case Port::ExchangeEnd::PortLost:
        return BlockMiss::InstrumentLost;
    }
    return BlockMiss::None;
}

} // namespace

MemoryBlock BlockReader::readBlock(unsigned index, bool *stopped)
{
    MemoryBlock block;
    const bool lostBefore = finishedBeforeLoss >= 0;
    const QByteArray rawName = port.getBlockName(index);
    const BlockMiss nameMiss = missOf(port.lastExchangeEnd());
    block.name = decodeBlockName(rawName);
    if (stopRequested()) {
        *stopped = true;
        return block;
    }
    const int size = port.getBlockDataSize(index);
    if (stopRequested()) {
        *stopped = true;
        return block;
    }
    const BlockValues data = port.getBlockDataValues(index, size);
    block.values = data.values;
    block.expectedSize = size;
    // A name cut short is shown as far as it came, and marked all the same.
    block.fault = rawName.size() < kNameAnswerSize ? BlockFault::Name : data.fault;
    if (block.fault == BlockFault::Name)
        block.miss = nameMiss;
    else if (block.fault != BlockFault::None)
        block.miss = missOf(port.lastExchangeEnd());
    // A block whose requests met a lost port was never read.
    if (lostBefore)
        block.miss = BlockMiss::InstrumentLost;
    block.readAt = QDateTime::currentDateTimeUtc();
    return block;
}
