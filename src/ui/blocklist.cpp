#include "ui/blocklist.h"

#include "device/port.h"
#include "ui/blockfaulttext.h"

#include <QListWidget>

BlockList::BlockList(Port &port, QListWidget *list, QObject *parent)
    : QObject(parent)
    , port(port)
    , list(list)
    , blockReader(new BlockReader(port, this))
{
    connect(blockReader, &BlockReader::countReceived, this, &BlockList::startList);
    connect(blockReader, &BlockReader::blockRead, this,
            [this](int done, int count, const MemoryBlock &block) {
                appendRow(block);
                emit readProgress(done, count);
            });
    // Rows emptied from elsewhere take their blocks with them.
    connect(list->model(), &QAbstractItemModel::modelReset, this, [this] {
        if (rebuilding || listed.isEmpty())
            return;
        listed.clear();
        chosenRow = -1;
        emit listReplaced();
    });
}

void BlockList::read()
{
    if (blockReader->isRunning())
        return;
    fromHistory = false;
    // No block can be picked while the list is being rebuilt.
    list->setEnabled(false);
    list->setCursor(Qt::BusyCursor);
    emit readStarting(port.instrumentPortName());

    const BlockReader::Outcome outcome = blockReader->read();

    // Without a count there is no block list; the status line says so.
    if (blockReader->blockCount() < 0)
        clearList();
    else if (outcome == BlockReader::Outcome::Cancelled)
        listUnread(blockReader->blockCount());
    list->unsetCursor();
    list->setEnabled(true);
    emit readEnded(outcome, blockReader->blockCount(), blockReader->blocks());
}

void BlockList::cancel()
{
    blockReader->cancel();
}

bool BlockList::isReading() const
{
    return blockReader->isRunning();
}

bool BlockList::showRead(const QVector<MemoryBlock> &blocks)
{
    if (blockReader->isRunning())
        return false;
    clearList();
    for (const MemoryBlock &block : blocks)
        appendRow(block);
    list->setEnabled(true);
    fromHistory = true;
    return true;
}

void BlockList::showBlock(int row)
{
    if (row < 0 || row >= listed.size())
        return;
    chosenRow = row;
    emit blockChosen(listed.at(row), row);
}

const QVector<MemoryBlock> &BlockList::blocks() const
{
    return listed;
}

int BlockList::shownRow() const
{
    return chosenRow;
}

bool BlockList::isFromHistory() const
{
    return fromHistory;
}

const BlockReader &BlockList::reader() const
{
    return *blockReader;
}

void BlockList::retranslate()
{
    for (int row = 0; row < list->count() && row < listed.size(); ++row)
        BlockFaultText::markRow(list->item(row), listed.at(row));
}

void BlockList::startList(int)
{
    clearList();
    emit readProgress(0, blockReader->blockCount());
}

void BlockList::appendRow(const MemoryBlock &block)
{
    listed.append(block);
    auto *item = new QListWidgetItem(block.name, list);
    BlockFaultText::markRow(item, block);
}

// A cancelled read keeps a row for each block it did not come to.
void BlockList::listUnread(int count)
{
    MemoryBlock unread;
    unread.fault = BlockFault::Name;
    unread.miss = BlockMiss::ReadStopped;
    for (int index = listed.size(); index < count; ++index)
        appendRow(unread);
}

void BlockList::clearList()
{
    rebuilding = true;
    listed.clear();
    list->clear();
    rebuilding = false;
    chosenRow = -1;
    emit listReplaced();
}
