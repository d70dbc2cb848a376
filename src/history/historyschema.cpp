#include "history/historyschema.h"

#include "history/historyconnection.h"
#include "history/readrecord.h"

#include <QHash>
#include <QStringList>
#include <QVariant>

namespace {

// Serialises schema changes of several stations that connect at once.
constexpr qint64 kSchemaLockKey = 0x7a72765f68697374; // "zrv_hist"

struct Dialect
{
    QString id;   // an auto-numbered key
    QString blob; // bytes
};

Dialect dialectOf(const HistoryConnection &connection)
{
    if (connection.backend() == HistoryBackend::Sqlite)
        return {QStringLiteral("INTEGER PRIMARY KEY"), QStringLiteral("BLOB")};
    return {QStringLiteral("BIGSERIAL PRIMARY KEY"), QStringLiteral("BYTEA")};
}

bool execAll(HistoryConnection &connection, const QStringList &statements)
{
    for (const QString &sql : statements) {
        if (!connection.exec(sql))
            return false;
    }
    return true;
}

bool toVersion1(HistoryConnection &connection)
{
    const Dialect d = dialectOf(connection);
    return execAll(
        connection,
        {QStringLiteral("CREATE TABLE schema_version (version INTEGER NOT NULL)"),
         QStringLiteral("CREATE TABLE reads (id %1, started_at BIGINT NOT NULL, port TEXT NOT NULL, "
                        "block_count INTEGER NOT NULL, outcome INTEGER NOT NULL)")
             .arg(d.id),
         QStringLiteral("CREATE TABLE blocks (id %1, block_key BIGINT NOT NULL, name TEXT NOT NULL, "
                        "value_count INTEGER NOT NULL, value_data %2 NOT NULL)")
             .arg(d.id, d.blob),
         QStringLiteral("CREATE INDEX blocks_by_key ON blocks (block_key)"),
         QStringLiteral("CREATE TABLE read_blocks ("
                        "read_id BIGINT NOT NULL REFERENCES reads (id) ON DELETE CASCADE, "
                        "position INTEGER NOT NULL, "
                        "block_id BIGINT NOT NULL REFERENCES blocks (id), "
                        "expected_size INTEGER NOT NULL, fault INTEGER NOT NULL, read_at BIGINT, "
                        "PRIMARY KEY (read_id, position))")});
}

// Fills a new text column row by row from values computed here.
bool fillColumn(HistoryConnection &connection, const QString &table, const QString &column,
                const QString &source, QString (*valueOf)(const QVariant &))
{
    QSqlQuery rows = connection.query();
    if (!connection.run(rows, QStringLiteral("SELECT id, %1 FROM %2").arg(source, table)))
        return false;
    QVector<QPair<qint64, QString>> values;
    while (rows.next())
        values.append({rows.value(0).toLongLong(), valueOf(rows.value(1))});
    rows.finish();
    QSqlQuery update = connection.query();
    if (!connection.prepare(update, QStringLiteral("UPDATE %1 SET %2 = ? WHERE id = ?").arg(table, column)))
        return false;
    for (const auto &row : values) {
        update.bindValue(0, row.second);
        update.bindValue(1, row.first);
        if (!connection.exec(update))
            return false;
    }
    return true;
}

QString newUid(const QVariant &)
{
    return newReadUid();
}

QString nameKeyOf(const QVariant &name)
{
    return blockNameKey(name.toString());
}

bool toVersion2(HistoryConnection &connection)
{
    return execAll(connection,
                   {QStringLiteral("ALTER TABLE reads ADD COLUMN uid TEXT"),
                    QStringLiteral("ALTER TABLE reads ADD COLUMN stored_blocks INTEGER NOT NULL DEFAULT 0"),
                    QStringLiteral("ALTER TABLE reads ADD COLUMN value_count BIGINT NOT NULL DEFAULT 0"),
                    QStringLiteral("ALTER TABLE reads ADD COLUMN pending INTEGER NOT NULL DEFAULT 0"),
                    QStringLiteral("ALTER TABLE blocks ADD COLUMN name_key TEXT NOT NULL DEFAULT ''"),
                    QStringLiteral(
                        "UPDATE reads SET "
                        "stored_blocks = (SELECT count(*) FROM read_blocks rb WHERE rb.read_id = reads.id), "
                        "value_count = (SELECT COALESCE(sum(b.value_count), 0) FROM read_blocks rb "
                        "JOIN blocks b ON b.id = rb.block_id WHERE rb.read_id = reads.id)")})
           && fillColumn(connection, QStringLiteral("reads"), QStringLiteral("uid"), QStringLiteral("id"),
                         newUid)
           && fillColumn(connection, QStringLiteral("blocks"), QStringLiteral("name_key"),
                         QStringLiteral("name"), nameKeyOf)
           && execAll(connection,
                      {QStringLiteral("CREATE UNIQUE INDEX reads_by_uid ON reads (uid)"),
                       QStringLiteral("CREATE INDEX reads_by_start ON reads (started_at, id)"),
                       QStringLiteral("CREATE INDEX reads_pending ON reads (pending)"),
                       QStringLiteral("CREATE INDEX read_blocks_by_block ON read_blocks (block_id)")});
}

// Each distinct name once, as bytes (a decoded name may hold NUL characters,
// which a server's text column cannot), with the key the filter compares.
// Blocks and the blocks of reads refer to it, so that the filter never reads
// a row that holds values.
bool toVersion3(HistoryConnection &connection)
{
    const Dialect d = dialectOf(connection);
    if (!execAll(
            connection,
            {QStringLiteral("CREATE TABLE block_names (id %1, name %2 NOT NULL, name_key TEXT NOT NULL)")
                 .arg(d.id, d.blob),
             QStringLiteral("CREATE UNIQUE INDEX block_names_by_name ON block_names (name)"),
             QStringLiteral("CREATE INDEX block_names_by_key ON block_names (name_key)"),
             QStringLiteral("ALTER TABLE blocks ADD COLUMN name_id BIGINT REFERENCES block_names (id)"),
             QStringLiteral("ALTER TABLE read_blocks ADD COLUMN name_id BIGINT REFERENCES block_names (id)"),
             QStringLiteral("ALTER TABLE reads ADD COLUMN refusal TEXT")}))
        return false;
    QSqlQuery rows = connection.query();
    if (!connection.run(rows, QStringLiteral("SELECT id, name FROM blocks")))
        return false;
    QVector<QPair<qint64, QString>> blocks;
    while (rows.next())
        blocks.append({rows.value(0).toLongLong(), rows.value(1).toString()});
    rows.finish();
    QHash<QString, qint64> ids;
    QSqlQuery update = connection.query();
    if (!connection.prepare(update, QStringLiteral("UPDATE blocks SET name_id = ? WHERE id = ?")))
        return false;
    for (const auto &block : qAsConst(blocks)) {
        qint64 nameId = ids.value(block.second, -1);
        if (nameId < 0) {
            QSqlQuery insert = connection.query();
            if (!connection.run(
                    insert,
                    QStringLiteral("INSERT INTO block_names (name, name_key) VALUES (?, ?) RETURNING id"),
                    {block.second.toUtf8(), blockNameKey(block.second)})
                || !insert.next())
                return false;
            nameId = insert.value(0).toLongLong();
            ids.insert(block.second, nameId);
        }
        update.bindValue(0, nameId);
        update.bindValue(1, block.first);
        if (!connection.exec(update))
            return false;
    }
    return execAll(connection,
                   {QStringLiteral("UPDATE read_blocks SET name_id = "
                                   "(SELECT b.name_id FROM blocks b WHERE b.id = read_blocks.block_id)"),
                    QStringLiteral("CREATE INDEX read_blocks_by_name ON read_blocks (name_id, read_id)"),
                    QStringLiteral("CREATE INDEX blocks_by_name ON blocks (block_key, name_id)")});
}

bool migrateTo(HistoryConnection &connection, int version)
{
    switch (version) {
    case 1:
        return toVersion1(connection);
    case 2:
        return toVersion2(connection);
    case 3:
        return toVersion3(connection);
    default:
        return false;
    }
}

} // namespace

QString blockNameKey(const QString &name)
{
    // Padding NULs are not typed into a filter, and a text column cannot hold them.
    return QString(name).remove(QChar(0)).toCaseFolded();
}

bool migrateSchema(HistoryConnection &connection, int targetVersion)
{
    // The usual case, a store already up to date, takes no write lock: on a
    // shared file that lock may wait for another program's write.
    const int seen = connection.storedSchemaVersion();
    if (seen >= targetVersion && seen <= kLatestSchemaVersion)
        return true;
    // Anything else is decided under the lock, where the version is read again.
    connection.clearError();
    if (!connection.begin())
        return false;
    if (connection.backend() == HistoryBackend::Postgres
        && !connection.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kSchemaLockKey))) {
        connection.rollback();
        return false;
    }
    const int stored = connection.storedSchemaVersion();
    if (stored < 0) {
        connection.rollback();
        return false;
    }
    if (stored > kLatestSchemaVersion) {
        connection.setError(
            HistoryFailure::Newer,
            QStringLiteral("The history was written by a newer program (schema %1).").arg(stored));
        connection.rollback();
        return false;
    }
    for (int version = stored + 1; version <= targetVersion; ++version) {
        if (!migrateTo(connection, version)) {
            connection.rollback();
            return false;
        }
    }
    if (targetVersion > stored) {
        const QString record = stored == 0
                                   ? QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)")
                                   : QStringLiteral("UPDATE schema_version SET version = %1");
        if (!connection.exec(record.arg(targetVersion))) {
            connection.rollback();
            return false;
        }
    }
    return connection.commit();
}
