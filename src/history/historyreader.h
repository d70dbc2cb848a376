#pragma once

#include "history/namedblock.h"
#include "history/readrecord.h"

#include <QStringList>
#include <QVector>

class HistoryConnection;

// Reads the history back from an open store.
class HistoryReader
{
public:
    explicit HistoryReader(HistoryConnection &connection);

    // Up to `limit` reads that match the filter, newest first, starting after
    // `after` (the last read of the previous page; null for the first page).
    bool listReads(const ReadFilter &filter, const StoredRead *after, int limit, QVector<StoredRead> *reads);

    // The blocks of a read, in list order, without their values.
    bool blocksOf(qint64 readId, QVector<StoredBlock> *blocks);

    // A whole read with its blocks and values; false when it is not there.
    bool loadRead(qint64 readId, ReadRecord *read);

    // The newest `limit` blocks named exactly `name` (its bytes, NUL
    // characters included), oldest read first, in list order within a read;
    // the values only of blocks of at most `largestBlock` values.
    bool blocksNamed(const QString &name, int limit, int largestBlock, QVector<NamedBlock> *blocks);

    // Up to `limit` distinct names of stored blocks that contain `part` (any
    // case; all names when empty), in the order of their keys.
    bool blockNames(const QString &part, int limit, QStringList *names);

    // Reads that wait here for the server, oldest first.
    bool pendingReads(QVector<qint64> *readIds);
    // Reads waiting here or set aside, oldest first.
    bool waitingReads(QVector<StoredRead> *reads);

private:
    // A filter part is common when at least one name in this many holds it.
    static constexpr qint64 kCommonShare = 20;

    // Whether the LIKE pattern matches a large share of the names.
    bool commonPart(const QString &pattern, bool *common);

    HistoryConnection &connection;
};
