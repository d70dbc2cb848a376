#include "history/servercheck.h"

#include "history/historyconnection.h"

#include <QSqlDatabase>

namespace {

bool mentions(const QString &text, const char *words)
{
    return text.contains(QLatin1String(words), Qt::CaseInsensitive);
}

} // namespace

ServerCheckOutcome connectFailureOutcome(const QString &driverText)
{
    // libpq reports a failed connection in words only, without a SQLSTATE.
    if (mentions(driverText, "password authentication failed") || mentions(driverText, "no password supplied")
        || mentions(driverText, "authentication failed") || mentions(driverText, "no pg_hba.conf entry"))
        return ServerCheckOutcome::Authentication;
    if (mentions(driverText, "role \"") && mentions(driverText, "does not exist"))
        return ServerCheckOutcome::Authentication;
    if (mentions(driverText, "database \"") && mentions(driverText, "does not exist"))
        return ServerCheckOutcome::NoDatabase;
    if (mentions(driverText, "could not translate host name"))
        return ServerCheckOutcome::UnknownHost;
    if (mentions(driverText, "could not connect") || mentions(driverText, "connection refused")
        || mentions(driverText, "no such file or directory") || mentions(driverText, "timeout expired")
        || mentions(driverText, "connection to server")
        || mentions(driverText, "server closed the connection"))
        return ServerCheckOutcome::NoServer;
    return ServerCheckOutcome::Other;
}

ServerCheck checkHistoryServer(const HistoryServer &server)
{
    ServerCheck check;
    if (!QSqlDatabase::isDriverAvailable(HistoryConnection::serverDriver())) {
        check.outcome = ServerCheckOutcome::DriverMissing;
        return check;
    }
    HistoryConnection connection(server);
    if (connection.open()) {
        check.outcome = ServerCheckOutcome::Ready;
        return check;
    }
    check.driverText = connection.lastError().text.trimmed();
    // A connection that came up but could not make or read the tables.
    const bool connected = connection.lastError().failure != HistoryFailure::Unreachable;
    check.outcome = connected ? ServerCheckOutcome::SchemaFailed : connectFailureOutcome(check.driverText);
    return check;
}
