#pragma once

#include "history/historyfailure.h"
#include "history/historysettings.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <chrono>

class QSqlError;

// One connection to a history store: the SQLite file or the server. It opens
// on demand, brings the schema up to date, runs statements and keeps the last
// failure in the store's own terms. Every connection has its own name, so
// several may be open at once (the local file and the server, tests).
class HistoryConnection
{
public:
    // How long a write waits for another program's write to the same file.
    static constexpr std::chrono::milliseconds kBusyTimeout{2000};
    static constexpr int kServerConnectTimeoutSeconds = 5;
    // The server cancels a statement, or a wait for a lock, that runs longer.
    static constexpr std::chrono::milliseconds kStatementTimeout{10000};
    static constexpr std::chrono::milliseconds kLockTimeout{5000};
    // A statement still unanswered after this has its socket cut (see QueryWatch):
    // the server's own timeouts did not end it, so the server is not answering.
    static constexpr std::chrono::milliseconds kUnansweredLimit{15000};
    static constexpr int kKeepaliveIdleSeconds = 10;
    static constexpr int kKeepaliveIntervalSeconds = 5;
    static constexpr int kKeepaliveCount = 3;
    // Qt's driver for the shared server.
    static QString serverDriver() { return QStringLiteral("QPSQL"); }

    explicit HistoryConnection(const QString &sqlitePath);
    explicit HistoryConnection(const HistoryServer &server);
    ~HistoryConnection();
    HistoryConnection(const HistoryConnection &) = delete;
    HistoryConnection &operator=(const HistoryConnection &) = delete;

    HistoryBackend backend() const { return kind; }
    QString sqlitePath() const { return path; }

    // Opens unless already open and migrates the schema forward to
    // `schemaVersion` (the latest by default); false with lastError() set.
    bool open(int schemaVersion = -1);
    bool isOpen() const;
    // Closes; the next open() connects anew.
    void close();

    // Transactions: a SQLite one takes the write lock at once, so that the
    // check for a stored block and its insertion happen under one lock.
    bool begin();
    bool commit();
    void rollback();

    QSqlQuery query() const;
    bool prepare(QSqlQuery &query, const QString &sql);
    bool exec(QSqlQuery &query);
    bool exec(const QString &sql);
    // prepare(), the values bound in order, exec().
    bool run(QSqlQuery &query, const QString &sql, const QVariantList &values = {});

    // The schema version the store holds (0: none yet); -1 on failure.
    int storedSchemaVersion();

    const HistoryError &lastError() const { return error; }
    void setError(HistoryFailure failure, const QString &text);
    void clearError() { error = HistoryError(); }

private:
    bool openDriver();
    bool switchToWal();
    void fail(const QSqlError &sqlError);
    void watchStarted() const;
    void watchEnded() const;

    HistoryBackend kind;
    QString path;
    HistoryServer server;
    QString connectionName;
    HistoryError error;
    int migratedTo = -1; // the schema version of the open connection
    int socket = -1;     // the server connection's, while open
};
