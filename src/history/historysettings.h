#pragma once

#include <QLatin1String>
#include <QMetaType>
#include <QString>

// Where the history is kept: the local file, or a server shared by several
// stations. history.json beside config.json holds the choice; a password is
// never written there (the server's own password file provides it, or the
// operator types it for one run).

enum class HistoryBackend { Sqlite, Postgres };

struct HistoryServer
{
    static constexpr int kDefaultPort = 5432;

    QString host; // a name, an address, or the folder of a Unix socket
    int port = kDefaultPort;
    QString database;
    QString user;
    // Typed for this run only; empty: the server's password file. Never saved.
    QString password;
};

struct HistorySettings
{
    HistoryBackend backend = HistoryBackend::Sqlite;
    HistoryServer server;
};

namespace HistoryKeys {
inline constexpr QLatin1String kBackend("backend");
inline constexpr QLatin1String kHost("host");
inline constexpr QLatin1String kPort("port");
inline constexpr QLatin1String kDatabase("database");
inline constexpr QLatin1String kUser("user");
inline constexpr QLatin1String kSqlite("sqlite");
inline constexpr QLatin1String kPostgres("postgresql");
} // namespace HistoryKeys

// history.json and history.sqlite in `folder`.
QString historySettingsPath(const QString &folder);
QString historyDatabasePath(const QString &folder);

// The settings of the file; the defaults (the local file) when it is missing
// or unreadable.
HistorySettings loadHistorySettings(const QString &folder);

// Replaces the file atomically; false when it cannot be written.
bool saveHistorySettings(const QString &folder, const HistorySettings &settings);

Q_DECLARE_METATYPE(HistoryServer)
Q_DECLARE_METATYPE(HistorySettings)
