#pragma once

#include "history/historyconnection.h"
#include "history/historyreader.h"
#include "history/readrecord.h"
#include "postgresserver.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QVariant>
#include <cstring>
#include <limits>
#include <memory>

inline float floatFromBits(quint32 bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline quint32 bitsOf(float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline bool sameBits(const QVector<float> &a, const QVector<float> &b)
{
    return a.size() == b.size()
           && std::memcmp(a.constData(), b.constData(), size_t(a.size()) * sizeof(float)) == 0;
}

// Numbers that a store must give back bit for bit: NaNs with payloads and
// signs, infinities, subnormals, signed zeros, the extremes.
inline QVector<float> awkwardValues()
{
    return {floatFromBits(0x7fc00000),
            floatFromBits(0x7fc12345),
            floatFromBits(0x7f800001),
            floatFromBits(0xffc00000),
            std::numeric_limits<float>::infinity(),
            -std::numeric_limits<float>::infinity(),
            floatFromBits(0x00000001),
            floatFromBits(0x007fffff),
            floatFromBits(0x80000001),
            0.0f,
            -0.0f,
            std::numeric_limits<float>::max(),
            -std::numeric_limits<float>::max(),
            std::numeric_limits<float>::min(),
            0.1f,
            142.5f,
            -99.96f,
            16777217.0f};
}

inline QVector<float> noisyValues(int count, quint32 seed)
{
    QVector<float> values(count);
    quint32 state = seed;
    for (int i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        values[i] = float(int(state >> 8) % 100000) / 100.0f;
    }
    return values;
}

inline MemoryBlock makeBlock(const QString &name, const QVector<float> &values,
                             BlockFault fault = BlockFault::None)
{
    MemoryBlock block;
    block.name = name;
    block.values = values;
    block.expectedSize = fault == BlockFault::Size || fault == BlockFault::Name ? -1 : values.size();
    block.fault = fault;
    return block;
}

inline ReadRecord makeRead(const QDateTime &startedAt, const QVector<MemoryBlock> &blocks,
                           ReadOutcome outcome = ReadOutcome::Complete,
                           const QString &port = QStringLiteral("/dev/ttyUSB0"))
{
    ReadRecord read;
    read.startedAt = startedAt;
    read.portName = port;
    read.blockCount = blocks.size();
    read.outcome = outcome;
    read.blocks = blocks;
    return read;
}

// A read of `blocks` blocks of `values` values, different for each seed.
inline ReadRecord noisyRead(const QDateTime &startedAt, int blocks, int values, quint32 seed)
{
    QVector<MemoryBlock> list;
    for (int i = 0; i < blocks; ++i)
        list.append(makeBlock(QStringLiteral("Блок %1").arg(i + 1, 4, 10, QLatin1Char('0')),
                              noisyValues(values, seed * 131u + quint32(i))));
    return makeRead(startedAt, list);
}

inline qint64 countRows(HistoryConnection &connection, const QString &fromWhere)
{
    QSqlQuery q = connection.query();
    if (!q.exec(QStringLiteral("SELECT count(*) FROM ") + fromWhere) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

// What is wrong with the stored reads as a whole; empty when they are sound:
// every read holds exactly its listed blocks at positions 0..n-1 with its
// value total, and every block belongs to some read.
inline QString inconsistency(HistoryConnection &connection)
{
    const struct
    {
        const char *what;
        const char *rows;
    } checks[] = {
        {"reads whose block count differs from their blocks",
         "reads r WHERE r.stored_blocks <> (SELECT count(*) FROM read_blocks rb WHERE rb.read_id = r.id)"},
        {"reads whose positions have gaps", "reads r WHERE r.stored_blocks > 0 AND (SELECT max(position) "
                                            "FROM read_blocks rb WHERE rb.read_id = r.id) "
                                            "<> r.stored_blocks - 1"},
        {"reads whose value total differs",
         "reads r WHERE r.value_count <> (SELECT COALESCE(sum(b.value_count), 0) FROM read_blocks rb "
         "JOIN blocks b ON b.id = rb.block_id WHERE rb.read_id = r.id)"},
        {"blocks of no read",
         "blocks b WHERE NOT EXISTS (SELECT 1 FROM read_blocks rb WHERE rb.block_id = b.id)"},
        {"read blocks without their name", "read_blocks rb WHERE rb.name_id IS NULL OR NOT EXISTS "
                                           "(SELECT 1 FROM block_names n WHERE n.id = rb.name_id)"},
        {"read blocks of no read",
         "read_blocks rb WHERE NOT EXISTS (SELECT 1 FROM reads r WHERE r.id = rb.read_id)"},
    };
    for (const auto &check : checks) {
        const qint64 rows = countRows(connection, QString::fromLatin1(check.rows));
        if (rows != 0)
            return QStringLiteral("%1: %2").arg(QString::fromLatin1(check.what)).arg(rows);
    }
    if (connection.backend() == HistoryBackend::Sqlite) {
        QSqlQuery q = connection.query();
        if (!q.exec(QStringLiteral("PRAGMA integrity_check")) || !q.next())
            return QStringLiteral("integrity check failed to run");
        if (q.value(0).toString() != QLatin1String("ok"))
            return q.value(0).toString();
    }
    return QString();
}

// Fresh stores for one test case each: a new SQLite file, or a new database
// on the test's own PostgreSQL server.
class HistoryStores
{
public:
    static QString sqlite() { return QStringLiteral("sqlite"); }
    static QString postgres() { return QStringLiteral("postgresql"); }

    // Adds one data row per backend, with the backend's name in column "backend".
    static void addBackendRows(const char *name = "")
    {
        for (const QString &backend : {sqlite(), postgres()})
            QTest::newRow(
                qPrintable(name[0] ? QStringLiteral("%1: %2").arg(backend, QLatin1String(name)) : backend))
                << backend;
    }

    bool startServer(QString *why) { return server.start(why); }

    // A new, unopened connection to an empty store; `where` is the file's
    // path or the server database's name.
    std::unique_ptr<HistoryConnection> fresh(const QString &backend, QString *where = nullptr)
    {
        const QString name = QStringLiteral("history_%1").arg(++count);
        if (backend == sqlite()) {
            const QString path = files.filePath(name + QStringLiteral(".sqlite"));
            if (where)
                *where = path;
            return std::make_unique<HistoryConnection>(path);
        }
        QString why;
        if (!server.createDatabase(name, &why))
            qWarning("no database %s: %s", qPrintable(name), qPrintable(why));
        if (where)
            *where = name;
        return std::make_unique<HistoryConnection>(server.address(name));
    }

    // Another connection to the same store.
    std::unique_ptr<HistoryConnection> again(const QString &backend, const QString &where)
    {
        if (backend == sqlite())
            return std::make_unique<HistoryConnection>(where);
        return std::make_unique<HistoryConnection>(server.address(where));
    }

    PostgresServer server;
    QTemporaryDir files;

private:
    int count = 0;
};

// The start times of the reads in a store, oldest first.
inline QVector<QDateTime> startTimes(HistoryConnection &connection)
{
    QVector<StoredRead> reads;
    QVector<QDateTime> times;
    if (!connection.open() || !HistoryReader(connection).listReads(ReadFilter(), nullptr, 1000, &reads))
        return times;
    for (const StoredRead &read : qAsConst(reads))
        times.prepend(read.startedAt);
    return times;
}
