#pragma once

#include "values/toleranceband.h"

#include <QString>
#include <QStringList>
#include <QVector>

// What the command line asks of one run of the station.
struct StationOptions
{
    static constexpr int kDefaultWaitMs = 30000;

    QStringList ports;           // empty: watch the system's serial ports
    int waitMs = kDefaultWaitMs; // for an instrument to answer the handshake
    QVector<int> blocks;         // numbers from 1; empty: all
    ToleranceBand band;          // one-sided: the other limit is infinite
    int decimals = -1;           // of the values in the reports; -1: auto
    bool pdf = true;
    bool xlsx = false;
    QString outFolder;                           // empty: the window's proposed folder
    QString formPath;                            // empty: config.json
    QString history = QStringLiteral("default"); // default|none|FILE.sqlite|postgresql://…
    QString signCertificate;                     // PKCS#12 file; empty: the PDFs are not signed
    QString signPasswordFile;                    // its password on the first line
    bool json = false;
    bool quiet = false;
    bool help = false;
};

struct ParsedOptions
{
    StationOptions options;
    QString error; // empty: the command line is sound
};

// Reads the arguments after the program's name. Each option may be given as
// "--name value" or "--name=value".
ParsedOptions parseStationOptions(const QStringList &arguments);

// The --help text.
QString stationUsage();
