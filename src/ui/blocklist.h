#pragma once

#include "device/blockreader.h"
#include "values/memoryblock.h"

#include <QObject>
#include <QString>
#include <QVector>

class Port;
class QListWidget;

// The list of the instrument's blocks: runs a read (or takes one from the
// history), keeps each block beside its row, marks the rows of blocks that
// failed or were never read, and says which block the operator chose. Its
// blocks and its rows always go together.
class BlockList : public QObject
{
    Q_OBJECT

public:
    BlockList(Port &port, QListWidget *list, QObject *parent);

    // Reads every block of the instrument into a new list (the read runs in
    // the port's waits); does nothing while a read runs.
    void read();
    // Ends a running read once its current exchange is over.
    void cancel();
    bool isReading() const;
    // Replaces the list with a read from the history; false and no change
    // while a read runs.
    bool showRead(const QVector<MemoryBlock> &blocks);
    // Chooses the block of a row, as a double-click does.
    void showBlock(int row);

    // The listed blocks, a row each (rows of blocks never read included).
    const QVector<MemoryBlock> &blocks() const;
    // The row whose block was chosen since the list was last replaced; -1: none.
    int shownRow() const;
    // The list shows a read taken from the history.
    bool isFromHistory() const;
    // The reader of the last read (its count and its blocks as read).
    const BlockReader &reader() const;

    // Marks the rows again in the language of the moment.
    void retranslate();

signals:
    void readStarting(const QString &portName);
    void readProgress(int done, int count);
    // count: the instrument's count, -1 when it could not be read; blocks:
    // the blocks read, in instrument order.
    void readEnded(BlockReader::Outcome outcome, int blockCount, const QVector<MemoryBlock> &blocks);
    // The list was replaced: no block is chosen.
    void listReplaced();
    void blockChosen(const MemoryBlock &block, int row);

private:
    void startList(int count);
    void appendRow(const MemoryBlock &block);
    void listUnread(int count);
    void clearList();

    Port &port;
    QListWidget *list = nullptr;
    BlockReader *blockReader = nullptr;
    QVector<MemoryBlock> listed;
    int chosenRow = -1;
    bool fromHistory = false;
    // The list is being rebuilt here; a clear from elsewhere is not.
    bool rebuilding = false;
};
