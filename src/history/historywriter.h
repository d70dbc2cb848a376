#pragma once

#include "history/readrecord.h"

#include <QByteArray>
#include <QVector>
#include <functional>

class HistoryConnection;

// Writes reads into an open history store, each in one transaction: a crash
// or a failure leaves the store as it was before the read. A block already
// stored (same name, same values bit for bit) is not stored again; the read
// refers to it.
class HistoryWriter
{
public:
    explicit HistoryWriter(HistoryConnection &connection);

    // Stores the read and its blocks. A read whose uid the store already holds
    // is left as it is. `pending`: the read waits here to be sent to the server.
    bool storeRead(const ReadRecord &read, bool pending = false);

    // A read waiting here that the server refused: it waits no longer, until
    // retrySetAside(), and keeps the server's words.
    bool setAside(qint64 readId, const QString &refusal);
    bool retrySetAside();

    // Deletes the reads and the blocks that no other read refers to.
    bool deleteReads(const QVector<qint64> &readIds);

    // Runs inside the transaction right before it commits.
    void setBeforeCommit(std::function<void()> hook) { beforeCommit = std::move(hook); }

private:
    bool insertRead(const ReadRecord &read, bool pending, qint64 *readId);
    bool storeBlock(qint64 readId, int position, const MemoryBlock &block);
    qint64 nameIdFor(const QString &name);
    qint64 blockIdFor(const MemoryBlock &block, const QByteArray &bytes, qint64 key, qint64 nameId);
    // On the server, blocks of one key are looked up and added by one station at a time.
    bool lockBlockKey(qint64 key);
    bool finish(bool ok);

    HistoryConnection &connection;
    std::function<void()> beforeCommit;
};
