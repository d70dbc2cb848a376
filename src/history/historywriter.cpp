#include "history/historywriter.h"

#include "history/historyconnection.h"
#include "history/historyschema.h"
#include "history/storagecodes.h"
#include "history/valuebytes.h"

#include <QVariant>

namespace {

// Text columns are NOT NULL; the toolkit binds a null string as NULL.
QString notNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

QVariant msecsOrNull(const QDateTime &time)
{
    return time.isValid() ? QVariant(time.toMSecsSinceEpoch()) : QVariant(QVariant::LongLong);
}

} // namespace

HistoryWriter::HistoryWriter(HistoryConnection &connection)
    : connection(connection)
{}

bool HistoryWriter::finish(bool ok)
{
    if (ok && beforeCommit)
        beforeCommit();
    if (ok && connection.commit())
        return true;
    connection.rollback();
    return false;
}

bool HistoryWriter::storeRead(const ReadRecord &read, bool pending)
{
    if (!connection.begin())
        return false;
    ReadRecord record = read;
    if (record.uid.isEmpty())
        record.uid = newReadUid();

    QSqlQuery known = connection.query();
    if (!connection.run(known, QStringLiteral("SELECT id FROM reads WHERE uid = ?"), {record.uid}))
        return finish(false);
    const bool stored = known.next();
    known.finish();
    if (stored)
        return finish(true);

    qint64 readId = -1;
    if (!insertRead(record, pending, &readId))
        return finish(false);
    for (int i = 0; i < record.blocks.size(); ++i) {
        if (!storeBlock(readId, i, record.blocks.at(i)))
            return finish(false);
    }
    return finish(true);
}

bool HistoryWriter::insertRead(const ReadRecord &read, bool pending, qint64 *readId)
{
    qint64 values = 0;
    for (const MemoryBlock &block : read.blocks)
        values += block.values.size();
    const QDateTime started = read.startedAt.isValid() ? read.startedAt : QDateTime::currentDateTimeUtc();

    QSqlQuery insert = connection.query();
    if (!connection.run(insert,
                        QStringLiteral("INSERT INTO reads (uid, started_at, port, block_count, outcome, "
                                       "stored_blocks, value_count, pending) "
                                       "VALUES (?, ?, ?, ?, ?, ?, ?, ?) RETURNING id"),
                        {read.uid, started.toMSecsSinceEpoch(), notNull(read.portName), read.blockCount,
                         outcomeCode(read.outcome), read.blocks.size(), values,
                         pending ? kWaitingForServer : kStored}))
        return false;
    if (!insert.next()) {
        connection.setError(HistoryFailure::Failed, QStringLiteral("The new read has no key."));
        return false;
    }
    *readId = insert.value(0).toLongLong();
    return true;
}

bool HistoryWriter::storeBlock(qint64 readId, int position, const MemoryBlock &block)
{
    const QByteArray bytes = valuesToBytes(block.values);
    const qint64 key = blockKey(block.name, bytes);
    if (!lockBlockKey(key))
        return false;
    const qint64 nameId = nameIdFor(block.name);
    if (nameId < 0)
        return false;
    const qint64 blockId = blockIdFor(block, bytes, key, nameId);
    if (blockId < 0)
        return false;

    QSqlQuery insert = connection.query();
    return connection.run(
        insert,
        QStringLiteral("INSERT INTO read_blocks (read_id, position, block_id, "
                       "expected_size, fault, read_at, name_id) VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {readId, position, blockId, block.expectedSize, faultCode(block.fault), msecsOrNull(block.readAt),
         nameId});
}

qint64 HistoryWriter::nameIdFor(const QString &name)
{
    // The name's bytes as decoded, NUL characters included, bound as a value.
    const QByteArray bytes = notNull(name).toUtf8();
    const auto known = [this, &bytes](qint64 *id) {
        QSqlQuery q = connection.query();
        if (!connection.run(q, QStringLiteral("SELECT id FROM block_names WHERE name = ?"), {bytes}))
            return false;
        *id = q.next() ? q.value(0).toLongLong() : -1;
        return true;
    };
    qint64 id = -1;
    if (!known(&id))
        return -1;
    if (id >= 0)
        return id; // the usual case: a name read before
    QSqlQuery add = connection.query();
    // Another station may add the same name at the same moment: that is no failure.
    if (!connection.run(add,
                        QStringLiteral("INSERT INTO block_names (name, name_key) VALUES (?, ?) "
                                       "ON CONFLICT (name) DO NOTHING"),
                        {bytes, notNull(blockNameKey(name))}))
        return -1;
    add.finish();
    if (!known(&id))
        return -1;
    if (id < 0)
        connection.setError(HistoryFailure::Failed, QStringLiteral("The block name has no key."));
    return id;
}

qint64 HistoryWriter::blockIdFor(const MemoryBlock &block, const QByteArray &bytes, qint64 key, qint64 nameId)
{
    // The name column of the first schemas holds text only: the exact name is in block_names.
    const QString name = QString(notNull(block.name)).remove(QChar(0));
    QSqlQuery same = connection.query();
    if (!connection.run(
            same, QStringLiteral("SELECT id, value_data FROM blocks WHERE block_key = ? AND name_id = ?"),
            {key, nameId}))
        return -1;
    // The key only narrows the search; the values themselves decide.
    while (same.next()) {
        if (same.value(1).toByteArray() == bytes)
            return same.value(0).toLongLong();
    }
    same.finish();

    QSqlQuery insert = connection.query();
    if (!connection.run(insert,
                        QStringLiteral("INSERT INTO blocks (block_key, name, name_key, value_count, "
                                       "value_data, name_id) VALUES (?, ?, ?, ?, ?, ?) RETURNING id"),
                        {key, name, notNull(blockNameKey(name)), block.values.size(), bytes, nameId}))
        return -1;
    if (!insert.next()) {
        connection.setError(HistoryFailure::Failed, QStringLiteral("The new block has no key."));
        return -1;
    }
    return insert.value(0).toLongLong();
}

bool HistoryWriter::lockBlockKey(qint64 key)
{
    if (connection.backend() != HistoryBackend::Postgres)
        return true; // the file's write lock is held for the whole transaction
    QSqlQuery lock = connection.query();
    return connection.run(lock, QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {key});
}

bool HistoryWriter::setAside(qint64 readId, const QString &refusal)
{
    QSqlQuery mark = connection.query();
    return connection.run(mark, QStringLiteral("UPDATE reads SET pending = ?, refusal = ? WHERE id = ?"),
                          {kSetAside, notNull(refusal), readId});
}

bool HistoryWriter::retrySetAside()
{
    QSqlQuery mark = connection.query();
    return connection.run(mark,
                          QStringLiteral("UPDATE reads SET pending = ?, refusal = NULL WHERE pending = ?"),
                          {kWaitingForServer, kSetAside});
}

bool HistoryWriter::deleteReads(const QVector<qint64> &readIds)
{
    if (!connection.begin())
        return false;
    QVector<QPair<qint64, qint64>> blocks; // id, key
    QSqlQuery used = connection.query();
    QSqlQuery removeRead = connection.query();
    if (!connection.prepare(used, QStringLiteral("SELECT DISTINCT b.id, b.block_key FROM read_blocks rb "
                                                 "JOIN blocks b ON b.id = rb.block_id WHERE rb.read_id = ?"))
        || !connection.prepare(removeRead, QStringLiteral("DELETE FROM reads WHERE id = ?")))
        return finish(false);
    for (const qint64 id : readIds) {
        used.bindValue(0, id);
        if (!connection.exec(used))
            return finish(false);
        while (used.next())
            blocks.append({used.value(0).toLongLong(), used.value(1).toLongLong()});
        used.finish();
        // The read's blocks go with it (ON DELETE CASCADE).
        removeRead.bindValue(0, id);
        if (!connection.exec(removeRead))
            return finish(false);
    }

    QSqlQuery orphan = connection.query();
    if (!connection.prepare(orphan, QStringLiteral("DELETE FROM blocks WHERE id = ? AND NOT EXISTS "
                                                   "(SELECT 1 FROM read_blocks WHERE block_id = ?)")))
        return finish(false);
    for (const auto &block : qAsConst(blocks)) {
        if (!lockBlockKey(block.second))
            return finish(false);
        orphan.bindValue(0, block.first);
        orphan.bindValue(1, block.first);
        if (!connection.exec(orphan))
            return finish(false);
    }
    return finish(true);
}
