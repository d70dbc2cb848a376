#pragma once

#include "history/historysettings.h"

#include <QMetaType>
#include <QString>

// What a trial connection to a history server found.
enum class ServerCheckOutcome {
    Ready,          // connected, the history's tables are in place
    NoServer,       // nothing answers at that address
    UnknownHost,    // the host name does not resolve
    Authentication, // user or password refused
    NoDatabase,     // the server has no such database
    SchemaFailed,   // connected, but the tables cannot be made or read
    DriverMissing,  // the program's PostgreSQL driver is not installed
    Other,
};

struct ServerCheck
{
    ServerCheckOutcome outcome = ServerCheckOutcome::Other;
    QString driverText; // the driver's own words; empty when ready
};

// Connects with the given values (the password too), brings the schema up
// to date and closes again.
ServerCheck checkHistoryServer(const HistoryServer &server);

// The outcome a failed connection's driver text and SQLSTATE point to.
ServerCheckOutcome connectFailureOutcome(const QString &driverText);

Q_DECLARE_METATYPE(ServerCheck)
