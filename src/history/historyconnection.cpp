#include "history/historyconnection.h"

#include "history/historyschema.h"
#include "history/querywatch.h"

#include <QAtomicInt>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QThread>
#include <QVariant>
#include <libpq-fe.h>

namespace {

const QString kSqliteDriver = QStringLiteral("QSQLITE");

// SQLite's primary result codes.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteFull = 13;
constexpr int kSqliteCantOpen = 14;
constexpr int kSqliteNotADatabase = 26;

// Pages of a new file: a 65 535-value block fills 16 of these instead of 64
// of the default size, which keeps storing a large read quick; small reads
// still write little. A file keeps the size it was made with.
constexpr int kSqlitePageSize = 16384;

constexpr unsigned long kWalRetryPauseMs = 20;

QString uniqueConnectionName()
{
    static QAtomicInt count;
    return QStringLiteral("zrv-history-%1").arg(count.fetchAndAddRelaxed(1));
}

HistoryFailure sqliteFailure(int code)
{
    switch (code) {
    case kSqliteBusy:
    case kSqliteLocked:
        return HistoryFailure::Locked;
    case kSqliteCorrupt:
    case kSqliteNotADatabase:
        return HistoryFailure::Corrupt;
    case kSqliteFull:
        return HistoryFailure::DiskFull;
    case kSqliteCantOpen:
        return HistoryFailure::Unreachable;
    default:
        return HistoryFailure::Failed;
    }
}

// SQLSTATE classes and codes of the server. What concerns the connection or
// the server as a whole is waited out; what concerns the statement's own data
// (22 data, 23 constraints, 42 syntax and privileges, ...) belongs to one read.
HistoryFailure serverFailure(const QSqlError &sqlError)
{
    const QString state = sqlError.nativeErrorCode();
    // 57: cancelled (a statement timeout) or the server shutting down.
    if (sqlError.type() == QSqlError::ConnectionError || state.startsWith(QLatin1String("08"))
        || state.startsWith(QLatin1String("57")) || state.isEmpty())
        return HistoryFailure::Unreachable;
    if (state.startsWith(QLatin1String("53")))
        return HistoryFailure::DiskFull;
    if (state == QLatin1String("55P03") || state == QLatin1String("40P01")
        || state.startsWith(QLatin1String("40")))
        return HistoryFailure::Locked;
    if (state.startsWith(QLatin1String("XX")) || state.startsWith(QLatin1String("58")))
        return HistoryFailure::Corrupt;
    return HistoryFailure::Rejected;
}

// The server connection's socket, for the watch over statements in flight.
int serverSocket(const QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "PGconn*") != 0)
        return -1;
    auto *connection = *static_cast<PGconn *const *>(handle.data());
    return connection ? PQsocket(connection) : -1;
}

} // namespace

HistoryConnection::HistoryConnection(const QString &sqlitePath)
    : kind(HistoryBackend::Sqlite)
    , path(sqlitePath)
    , connectionName(uniqueConnectionName())
{}

HistoryConnection::HistoryConnection(const HistoryServer &server)
    : kind(HistoryBackend::Postgres)
    , server(server)
    , connectionName(uniqueConnectionName())
{}

HistoryConnection::~HistoryConnection()
{
    close();
}

bool HistoryConnection::isOpen() const
{
    return QSqlDatabase::contains(connectionName) && QSqlDatabase::database(connectionName, false).isOpen();
}

void HistoryConnection::close()
{
    migratedTo = -1;
    socket = -1;
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

bool HistoryConnection::open(int schemaVersion)
{
    clearError();
    const int target = schemaVersion < 0 ? kLatestSchemaVersion : schemaVersion;
    if (isOpen() && migratedTo == target)
        return true;
    // A connection the driver itself closed (a cut socket) is made anew.
    if (!isOpen())
        close();
    if ((!isOpen() && !openDriver()) || !migrateSchema(*this, target)) {
        close();
        return false;
    }
    migratedTo = target;
    return true;
}

bool HistoryConnection::openDriver()
{
    const QString driver = kind == HistoryBackend::Sqlite ? kSqliteDriver : serverDriver();
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        setError(HistoryFailure::Unreachable,
                 QStringLiteral("The %1 database driver is missing.").arg(driver));
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, connectionName);
    if (kind == HistoryBackend::Sqlite) {
        const QFileInfo file(path);
        if (!QDir().mkpath(file.absolutePath())) {
            setError(HistoryFailure::Unreachable,
                     QStringLiteral("The folder %1 cannot be made.").arg(file.absolutePath()));
            return false;
        }
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeout.count()));
    } else {
        db.setHostName(server.host);
        db.setPort(server.port);
        db.setDatabaseName(server.database);
        db.setUserName(server.user);
        // Without one, libpq looks in ~/.pgpass or PGPASSFILE.
        if (!server.password.isEmpty())
            db.setPassword(server.password);
        // Keepalives notice a network that went silent under an idle or waiting session.
        db.setConnectOptions(QStringLiteral("connect_timeout=%1;keepalives=1;keepalives_idle=%2;"
                                            "keepalives_interval=%3;keepalives_count=%4")
                                 .arg(kServerConnectTimeoutSeconds)
                                 .arg(kKeepaliveIdleSeconds)
                                 .arg(kKeepaliveIntervalSeconds)
                                 .arg(kKeepaliveCount));
    }
    if (!db.open()) {
        fail(db.lastError());
        if (error.failure == HistoryFailure::Failed)
            error.failure = HistoryFailure::Unreachable;
        return false;
    }
    if (kind == HistoryBackend::Sqlite) {
        // These read the file: one that is no database shows here.
        if (!exec(QStringLiteral("PRAGMA page_size = %1").arg(kSqlitePageSize))
            || !exec(QStringLiteral("PRAGMA foreign_keys = ON")) || !switchToWal())
            return false;
        // Every committed read survives a power loss, not only a crash.
        if (!exec(QStringLiteral("PRAGMA synchronous = FULL")))
            return false;
    } else {
        socket = serverSocket(db);
        // The server ends a statement or a lock wait that outlives these.
        if (!exec(QStringLiteral("SET statement_timeout = %1").arg(kStatementTimeout.count()))
            || !exec(QStringLiteral("SET lock_timeout = %1").arg(kLockTimeout.count())))
            return false;
    }
    return true;
}

bool HistoryConnection::switchToWal()
{
    // Two programs turning a new file to WAL at once may deadlock on its
    // locks; SQLite then answers "locked" at once instead of waiting, so the
    // wait is ours.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QSqlQuery journal(QSqlDatabase::database(connectionName, false));
        if (journal.exec(QStringLiteral("PRAGMA journal_mode = WAL")) && journal.next()) {
            clearError();
            return true;
        }
        fail(journal.lastError());
        if (error.failure != HistoryFailure::Locked || waited.elapsed() >= kBusyTimeout.count())
            return false;
        QThread::msleep(kWalRetryPauseMs);
    }
}

void HistoryConnection::watchStarted() const
{
    if (kind == HistoryBackend::Postgres)
        QueryWatch::started(this, socket);
}

void HistoryConnection::watchEnded() const
{
    if (kind == HistoryBackend::Postgres)
        QueryWatch::ended(this);
}

bool HistoryConnection::begin()
{
    return exec(kind == HistoryBackend::Sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
}

bool HistoryConnection::commit()
{
    return exec(QStringLiteral("COMMIT"));
}

void HistoryConnection::rollback()
{
    // Keeps the failure that made the rollback necessary.
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    watchStarted();
    q.exec(QStringLiteral("ROLLBACK"));
    watchEnded();
}

QSqlQuery HistoryConnection::query() const
{
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    q.setForwardOnly(true);
    return q;
}

bool HistoryConnection::prepare(QSqlQuery &q, const QString &sql)
{
    watchStarted();
    const bool prepared = q.prepare(sql);
    watchEnded();
    if (prepared)
        return true;
    fail(q.lastError());
    return false;
}

bool HistoryConnection::exec(QSqlQuery &q)
{
    watchStarted();
    const bool done = q.exec();
    watchEnded();
    if (done)
        return true;
    fail(q.lastError());
    return false;
}

bool HistoryConnection::run(QSqlQuery &q, const QString &sql, const QVariantList &values)
{
    if (!prepare(q, sql))
        return false;
    for (const QVariant &value : values)
        q.addBindValue(value);
    return exec(q);
}

bool HistoryConnection::exec(const QString &sql)
{
    QSqlQuery q = query();
    watchStarted();
    const bool done = q.exec(sql);
    watchEnded();
    if (done)
        return true;
    fail(q.lastError());
    return false;
}

int HistoryConnection::storedSchemaVersion()
{
    QSqlQuery q = query();
    const QString table =
        kind == HistoryBackend::Sqlite
            ? QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                             "AND name = 'schema_version'")
            : QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE "
                             "table_schema = current_schema() AND table_name = 'schema_version'");
    if (!q.exec(table) || !q.next()) {
        fail(q.lastError());
        return -1;
    }
    if (q.value(0).toInt() == 0)
        return 0;
    if (!q.exec(QStringLiteral("SELECT max(version) FROM schema_version")) || !q.next()) {
        fail(q.lastError());
        return -1;
    }
    return q.value(0).toInt();
}

void HistoryConnection::setError(HistoryFailure failure, const QString &text)
{
    error.failure = failure;
    error.text = text;
}

void HistoryConnection::fail(const QSqlError &sqlError)
{
    const HistoryFailure failure = kind == HistoryBackend::Sqlite
                                       ? sqliteFailure(sqlError.nativeErrorCode().toInt())
                                       : serverFailure(sqlError);
    setError(failure, sqlError.text());
}
