#include "history/corruptfile.h"

#include "history/storagecodes.h"
#include "history/valuebytes.h"

#include <QAtomicInt>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <algorithm>

namespace {

struct BlockRow
{
    int position = 0;
    qint64 blockId = -1;
    int expectedSize = -1;
    int fault = 0;
    QVariant readAt;
};

struct ReadRow
{
    ReadRecord record;
    int storedBlocks = -1; // -1: the file's schema does not say
};

QDateTime utcOf(const QVariant &msecs)
{
    return msecs.isNull() ? QDateTime() : QDateTime::fromMSecsSinceEpoch(msecs.toLongLong(), Qt::UTC);
}

QVector<ReadRecord> salvageFrom(QSqlDatabase &db)
{
    QMap<qint64, ReadRow> reads;
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // Rows are taken as far as the table can be read; a damaged page ends the scan.
    bool withUid =
        q.exec(QStringLiteral("SELECT id, started_at, port, block_count, outcome, uid, stored_blocks "
                              "FROM reads NOT INDEXED"));
    if (!withUid)
        q.exec(QStringLiteral("SELECT id, started_at, port, block_count, outcome FROM reads NOT INDEXED"));
    while (q.next()) {
        ReadRow row;
        row.record.startedAt = utcOf(q.value(1));
        row.record.portName = q.value(2).toString();
        row.record.blockCount = q.value(3).toInt();
        row.record.outcome = outcomeFromCode(q.value(4).toInt());
        if (withUid) {
            row.record.uid = q.value(5).toString();
            row.storedBlocks = q.value(6).toInt();
        }
        if (row.record.uid.isEmpty())
            row.record.uid = newReadUid();
        reads.insert(q.value(0).toLongLong(), row);
    }
    QHash<qint64, QVector<BlockRow>> blocksOf;
    q.exec(QStringLiteral("SELECT read_id, position, block_id, expected_size, fault, read_at "
                          "FROM read_blocks NOT INDEXED"));
    while (q.next())
        blocksOf[q.value(0).toLongLong()].append({q.value(1).toInt(), q.value(2).toLongLong(),
                                                  q.value(3).toInt(), q.value(4).toInt(), q.value(5)});

    QSqlQuery block(db);
    block.prepare(QStringLiteral("SELECT name, value_data FROM blocks WHERE id = ?"));
    QVector<ReadRecord> found;
    for (auto it = reads.begin(); it != reads.end(); ++it) {
        QVector<BlockRow> rows = blocksOf.value(it.key());
        if (it->storedBlocks >= 0 && rows.size() != it->storedBlocks)
            continue; // some of its blocks were on a damaged page
        std::sort(rows.begin(), rows.end(),
                  [](const BlockRow &a, const BlockRow &b) { return a.position < b.position; });
        bool whole = true;
        ReadRecord read = it->record;
        for (const BlockRow &row : qAsConst(rows)) {
            block.bindValue(0, row.blockId);
            MemoryBlock memory;
            whole =
                block.exec() && block.next() && valuesFromBytes(block.value(1).toByteArray(), &memory.values);
            if (!whole)
                break;
            memory.name = block.value(0).toString();
            memory.expectedSize = row.expectedSize;
            memory.fault = faultFromCode(row.fault);
            memory.readAt = utcOf(row.readAt);
            read.blocks.append(memory);
            block.finish();
        }
        if (whole)
            found.append(read);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const ReadRecord &a, const ReadRecord &b) { return a.startedAt < b.startedAt; });
    return found;
}

} // namespace

QVector<ReadRecord> salvageReads(const QString &path)
{
    static QAtomicInt count;
    const QString name = QStringLiteral("zrv-salvage-%1").arg(count.fetchAndAddRelaxed(1));
    QVector<ReadRecord> found;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open())
            found = salvageFrom(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return found;
}

QString keepCorruptFileAside(const QString &path, const QDateTime &now)
{
    const QString stamp = now.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString aside = QStringLiteral("%1.corrupt-%2").arg(path, stamp);
    // A file already moved aside within the same second is never overwritten.
    for (int n = 2; QFile::exists(aside); ++n)
        aside = QStringLiteral("%1.corrupt-%2-%3").arg(path, stamp).arg(n);
    if (!QFile::rename(path, aside))
        return QString();
    // SQLite's companion files belong to the damaged file, not to a new one.
    for (const QString &suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFile::exists(path + suffix))
            QFile::rename(path + suffix, aside + suffix);
    }
    return aside;
}
