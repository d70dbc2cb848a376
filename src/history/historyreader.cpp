#include "history/historyreader.h"

#include "history/historyconnection.h"
#include "history/historyschema.h"
#include "history/storagecodes.h"
#include "history/valuebytes.h"

#include <QStringList>
#include <QVariant>
#include <algorithm>

namespace {

const QString kReadColumns =
    QStringLiteral("r.id, r.uid, r.started_at, r.port, r.block_count, r.stored_blocks, "
                   "r.value_count, r.outcome, r.pending, r.refusal, "
                   "(SELECT count(*) FROM read_blocks f WHERE f.read_id = r.id AND f.fault <> 0)");

// A name as stored: its bytes as decoded, NUL characters included.
QString nameOf(const QVariant &value)
{
    // With its length: the QByteArray overload would stop at the first NUL.
    const QByteArray bytes = value.toByteArray();
    return QString::fromUtf8(bytes.constData(), bytes.size());
}

QDateTime utcFromMsecs(const QVariant &msecs)
{
    return msecs.isNull() ? QDateTime() : QDateTime::fromMSecsSinceEpoch(msecs.toLongLong(), Qt::UTC);
}

StoredRead storedReadOf(const QSqlQuery &row)
{
    StoredRead read;
    read.id = row.value(0).toLongLong();
    read.uid = row.value(1).toString();
    read.startedAt = utcFromMsecs(row.value(2));
    read.portName = row.value(3).toString();
    read.blockCount = row.value(4).toInt();
    read.storedBlocks = row.value(5).toInt();
    read.valueCount = row.value(6).toLongLong();
    read.outcome = outcomeFromCode(row.value(7).toInt());
    read.pending = row.value(8).toInt();
    read.refusal = row.value(9).toString();
    read.failedBlocks = row.value(10).toInt();
    return read;
}

// A LIKE pattern that finds `part` anywhere; '!' escapes the pattern's own characters.
QString containsPattern(const QString &part)
{
    QString escaped;
    for (const QChar c : part) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('!'))
            escaped += QLatin1Char('!');
        escaped += c;
    }
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

} // namespace

HistoryReader::HistoryReader(HistoryConnection &connection)
    : connection(connection)
{}

bool HistoryReader::listReads(const ReadFilter &filter, const StoredRead *after, int limit,
                              QVector<StoredRead> *reads)
{
    QStringList conditions;
    QVariantList values;
    if (!filter.blockName.isEmpty()) {
        // Names and keys only: no row that holds values is read. A part found
        // in many names is looked for read by read, newest first, until the
        // page is full (the unary plus keeps the planner on the read's own
        // blocks); a rare one through the reads that hold its names.
        const QString pattern = containsPattern(blockNameKey(filter.blockName));
        const QString names =
            QStringLiteral("SELECT n.id FROM block_names n WHERE n.name_key LIKE ? ESCAPE '!'");
        bool common = false;
        if (!commonPart(pattern, &common))
            return false;
        conditions << (common ? QStringLiteral("EXISTS (SELECT 1 FROM read_blocks rb WHERE rb.read_id = r.id "
                                               "AND +rb.name_id IN (%1))")
                                    .arg(names)
                              : QStringLiteral("r.id IN (SELECT rb.read_id FROM read_blocks rb "
                                               "WHERE rb.name_id IN (%1))")
                                    .arg(names));
        values << pattern;
    }
    if (filter.from.isValid()) {
        conditions << QStringLiteral("r.started_at >= ?");
        values << filter.from.toMSecsSinceEpoch();
    }
    if (filter.to.isValid()) {
        conditions << QStringLiteral("r.started_at < ?");
        values << filter.to.toMSecsSinceEpoch();
    }
    if (after) {
        conditions << QStringLiteral("(r.started_at < ? OR (r.started_at = ? AND r.id < ?))");
        const qint64 started = after->startedAt.toMSecsSinceEpoch();
        values << started << started << after->id;
    }
    QString sql = QStringLiteral("SELECT %1 FROM reads r").arg(kReadColumns);
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY r.started_at DESC, r.id DESC LIMIT %1").arg(limit);

    QSqlQuery q = connection.query();
    if (!connection.run(q, sql, values))
        return false;
    reads->clear();
    while (q.next())
        reads->append(storedReadOf(q));
    return true;
}

bool HistoryReader::commonPart(const QString &pattern, bool *common)
{
    QSqlQuery q = connection.query();
    if (!connection.run(
            q,
            QStringLiteral("SELECT count(*), sum(CASE WHEN name_key LIKE ? ESCAPE '!' THEN 1 ELSE 0 END) "
                           "FROM block_names"),
            {pattern})
        || !q.next())
        return false;
    const qint64 all = q.value(0).toLongLong();
    const qint64 matching = q.value(1).toLongLong();
    *common = matching * kCommonShare >= all && matching > 0;
    return true;
}

bool HistoryReader::blocksOf(qint64 readId, QVector<StoredBlock> *blocks)
{
    QSqlQuery q = connection.query();
    if (!connection.run(
            q,
            QStringLiteral("SELECT rb.position, n.name, rb.expected_size, rb.fault, b.value_count "
                           "FROM read_blocks rb JOIN blocks b ON b.id = rb.block_id "
                           "JOIN block_names n ON n.id = rb.name_id "
                           "WHERE rb.read_id = ? ORDER BY rb.position"),
            {readId}))
        return false;
    blocks->clear();
    while (q.next()) {
        StoredBlock block;
        block.position = q.value(0).toInt();
        block.name = nameOf(q.value(1));
        block.expectedSize = q.value(2).toInt();
        block.fault = faultFromCode(q.value(3).toInt());
        block.valueCount = q.value(4).toInt();
        blocks->append(block);
    }
    return true;
}

bool HistoryReader::loadRead(qint64 readId, ReadRecord *read)
{
    QSqlQuery head = connection.query();
    if (!connection.run(head, QStringLiteral("SELECT %1 FROM reads r WHERE r.id = ?").arg(kReadColumns),
                        {readId}))
        return false;
    if (!head.next()) {
        connection.setError(HistoryFailure::Failed,
                            QStringLiteral("The read %1 is not in the history.").arg(readId));
        return false;
    }
    const StoredRead stored = storedReadOf(head);
    head.finish();

    QSqlQuery q = connection.query();
    if (!connection.run(q,
                        QStringLiteral("SELECT n.name, rb.expected_size, rb.fault, rb.read_at, b.value_data "
                                       "FROM read_blocks rb JOIN blocks b ON b.id = rb.block_id "
                                       "JOIN block_names n ON n.id = rb.name_id "
                                       "WHERE rb.read_id = ? ORDER BY rb.position"),
                        {readId}))
        return false;
    ReadRecord record;
    record.uid = stored.uid;
    record.startedAt = stored.startedAt;
    record.portName = stored.portName;
    record.blockCount = stored.blockCount;
    record.outcome = stored.outcome;
    while (q.next()) {
        MemoryBlock block;
        block.name = nameOf(q.value(0));
        block.expectedSize = q.value(1).toInt();
        block.fault = faultFromCode(q.value(2).toInt());
        block.readAt = utcFromMsecs(q.value(3));
        if (!valuesFromBytes(q.value(4).toByteArray(), &block.values)) {
            connection.setError(HistoryFailure::Corrupt,
                                QStringLiteral("The values of block %1 of read %2 are damaged.")
                                    .arg(record.blocks.size())
                                    .arg(readId));
            return false;
        }
        record.blocks.append(block);
    }
    *read = record;
    return true;
}

bool HistoryReader::blocksNamed(const QString &name, int limit, int largestBlock, QVector<NamedBlock> *blocks)
{
    // The name's row first (its unique index), then the blocks of reads through
    // theirs; newest first so that the limit keeps the latest reads. Large
    // blocks' values are not read at all: a thousand of them would fill memory.
    QSqlQuery q = connection.query();
    if (!connection.run(q,
                        QStringLiteral("SELECT r.id, r.started_at, rb.position, b.value_count, "
                                       "CASE WHEN b.value_count <= %2 THEN b.value_data END "
                                       "FROM read_blocks rb JOIN reads r ON r.id = rb.read_id "
                                       "JOIN blocks b ON b.id = rb.block_id "
                                       "WHERE rb.name_id = (SELECT n.id FROM block_names n WHERE n.name = ?) "
                                       "ORDER BY r.started_at DESC, r.id DESC, rb.position DESC LIMIT %1")
                            .arg(limit)
                            .arg(largestBlock),
                        {name.toUtf8()}))
        return false;
    QVector<NamedBlock> found;
    while (q.next()) {
        NamedBlock block;
        block.readId = q.value(0).toLongLong();
        block.readStartedAt = utcFromMsecs(q.value(1));
        block.position = q.value(2).toInt();
        block.valueCount = q.value(3).toInt();
        if (block.valueCount <= largestBlock && !valuesFromBytes(q.value(4).toByteArray(), &block.values)) {
            connection.setError(HistoryFailure::Corrupt,
                                QStringLiteral("The values of block %1 of read %2 are damaged.")
                                    .arg(block.position)
                                    .arg(block.readId));
            return false;
        }
        found.append(block);
    }
    std::reverse(found.begin(), found.end());
    *blocks = found;
    return true;
}

bool HistoryReader::blockNames(const QString &part, int limit, QStringList *names)
{
    // Names left behind by deleted reads are not offered.
    QSqlQuery q = connection.query();
    if (!connection.run(q,
                        QStringLiteral("SELECT n.name FROM block_names n WHERE n.name_key LIKE ? ESCAPE '!' "
                                       "AND EXISTS (SELECT 1 FROM read_blocks rb WHERE rb.name_id = n.id) "
                                       "ORDER BY n.name_key, n.id LIMIT %1")
                            .arg(limit),
                        {containsPattern(blockNameKey(part))}))
        return false;
    names->clear();
    while (q.next())
        names->append(nameOf(q.value(0)));
    return true;
}

bool HistoryReader::pendingReads(QVector<qint64> *readIds)
{
    QSqlQuery q = connection.query();
    if (!connection.run(q, QStringLiteral("SELECT id FROM reads WHERE pending = ? ORDER BY started_at, id"),
                        {kWaitingForServer}))
        return false;
    readIds->clear();
    while (q.next())
        readIds->append(q.value(0).toLongLong());
    return true;
}

bool HistoryReader::waitingReads(QVector<StoredRead> *reads)
{
    QSqlQuery q = connection.query();
    if (!connection.run(
            q,
            QStringLiteral("SELECT %1 FROM reads r WHERE r.pending <> ? ORDER BY r.started_at, r.id")
                .arg(kReadColumns),
            {kStored}))
        return false;
    reads->clear();
    while (q.next())
        reads->append(storedReadOf(q));
    return true;
}
