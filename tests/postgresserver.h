#pragma once

#include "history/historysettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <pwd.h>
#include <unistd.h>

// A PostgreSQL server of the test's own: a new cluster in a temporary folder,
// listening only on a Unix socket in that folder, stopped with the object.
// The server refuses to run as root; under root the cluster belongs to the
// "postgres" system user and its tools run as that user.
class PostgresServer
{
public:
    PostgresServer()
        : folder(QDir::tempPath() + QStringLiteral("/zrv-pg-XXXXXX"))
    {}
    ~PostgresServer() { stop(); }
    PostgresServer(const PostgresServer &) = delete;
    PostgresServer &operator=(const PostgresServer &) = delete;

    // Makes the cluster on first use and starts the server; `why` on failure.
    bool start(QString *why)
    {
        if (running)
            return true;
        if (!folder.isValid()) {
            *why = QStringLiteral("no temporary folder");
            return false;
        }
        if (!QFileInfo::exists(dataFolder()) && !makeCluster(why))
            return false;
        const QString options = QStringLiteral("-c listen_addresses='' -c unix_socket_directories='%1' "
                                               "-c fsync=off -c max_connections=40")
                                    .arg(folder.path());
        if (!runServerTool(QStringLiteral("pg_ctl"),
                           {QStringLiteral("-D"), dataFolder(), QStringLiteral("-l"),
                            folder.filePath(QStringLiteral("log")), QStringLiteral("-w"),
                            QStringLiteral("-t"), QStringLiteral("120"), QStringLiteral("-o"), options,
                            QStringLiteral("start")},
                           why))
            return false;
        running = true;
        return true;
    }

    // Stops the server; the cluster stays for a later start().
    void stop()
    {
        if (!running)
            return;
        QString ignored;
        runServerTool(QStringLiteral("pg_ctl"),
                      {QStringLiteral("-D"), dataFolder(), QStringLiteral("-m"), QStringLiteral("fast"),
                       QStringLiteral("-w"), QStringLiteral("stop")},
                      &ignored);
        running = false;
    }

    bool isRunning() const { return running; }

    // A new, empty database on the server, named for the caller.
    bool createDatabase(const QString &name, QString *why)
    {
        return runAsAdmin({QStringLiteral("CREATE DATABASE \"%1\"").arg(name)}, why);
    }

    // A role that must give its password (the others stay trusted), owner
    // of `database` so that it may make the history's tables there.
    bool addPasswordUser(const QString &role, const QString &password, const QString &database, QString *why)
    {
        if (!runAsAdmin({QStringLiteral("CREATE ROLE \"%1\" LOGIN PASSWORD '%2'").arg(role, password),
                         QStringLiteral("ALTER DATABASE \"%1\" OWNER TO \"%2\"").arg(database, role)},
                        why))
            return false;
        QFile rules(dataFolder() + QStringLiteral("/pg_hba.conf"));
        if (!rules.open(QIODevice::ReadWrite)) {
            *why = rules.errorString();
            return false;
        }
        const QByteArray before = rules.readAll();
        rules.seek(0);
        rules.write(QStringLiteral("local all \"%1\" scram-sha-256\n").arg(role).toUtf8() + before);
        rules.close();
        return runServerTool(QStringLiteral("pg_ctl"),
                             {QStringLiteral("-D"), dataFolder(), QStringLiteral("reload")}, why);
    }

    HistoryServer address(const QString &database) const
    {
        HistoryServer server;
        server.host = folder.path();
        server.database = database;
        server.user = user();
        return server;
    }

    static QString user()
    {
        if (geteuid() == 0)
            return QStringLiteral("postgres");
        const passwd *entry = getpwuid(geteuid());
        return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
    }

private:
    QString dataFolder() const { return folder.filePath(QStringLiteral("data")); }

    // Runs the statements as the cluster's owner, in the "postgres" database.
    bool runAsAdmin(const QStringList &statements, QString *why)
    {
        const QString connection = QUuid::createUuid().toString();
        bool done = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
            db.setHostName(folder.path());
            db.setUserName(user());
            db.setDatabaseName(QStringLiteral("postgres"));
            if (db.open()) {
                QSqlQuery q(db);
                done = true;
                for (const QString &statement : statements) {
                    if (!q.exec(statement)) {
                        *why = q.lastError().text();
                        done = false;
                        break;
                    }
                }
            } else {
                *why = db.lastError().text();
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(connection);
        return done;
    }

    bool makeCluster(QString *why)
    {
        if (geteuid() == 0) {
            const passwd *owner = getpwnam("postgres");
            if (!owner
                || chown(QFile::encodeName(folder.path()).constData(), owner->pw_uid, owner->pw_gid) != 0) {
                *why = QStringLiteral("the postgres system user cannot own %1").arg(folder.path());
                return false;
            }
        }
        return runServerTool(QStringLiteral("initdb"),
                             {QStringLiteral("-D"), dataFolder(), QStringLiteral("-A"),
                              QStringLiteral("trust"), QStringLiteral("-U"), user(), QStringLiteral("-E"),
                              QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8"),
                              QStringLiteral("--no-sync")},
                             why);
    }

    // The newest installed server's tool.
    static QString toolPath(const QString &tool)
    {
        QDir versions(QStringLiteral("/usr/lib/postgresql"));
        QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        std::sort(found.begin(), found.end(),
                  [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
        for (const QString &version : found) {
            const QString path = versions.filePath(version + QStringLiteral("/bin/") + tool);
            if (QFileInfo(path).isExecutable())
                return path;
        }
        return QString();
    }

    bool runServerTool(const QString &tool, const QStringList &arguments, QString *why)
    {
        const QString path = toolPath(tool);
        if (path.isEmpty()) {
            *why = QStringLiteral("%1 is not installed (the postgresql package)").arg(tool);
            return false;
        }
        QProcess process;
        // The tools change to the current folder, which the postgres user may not enter.
        process.setWorkingDirectory(folder.path());
        if (geteuid() == 0)
            process.start(
                QStringLiteral("runuser"),
                QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), path}
                    + arguments);
        else
            process.start(path, arguments);
        constexpr int kToolTimeoutMs = 180000;
        if (!process.waitForFinished(kToolTimeoutMs) || process.exitStatus() != QProcess::NormalExit
            || process.exitCode() != 0) {
            *why = QStringLiteral("%1 failed: %2 %3")
                       .arg(tool, QString::fromLocal8Bit(process.readAllStandardError()),
                            QString::fromLocal8Bit(process.readAllStandardOutput()));
            return false;
        }
        return true;
    }

    QTemporaryDir folder;
    bool running = false;
};
