#pragma once

#include "history/historyfailure.h"
#include "history/historysettings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

// What the window and the history dialog say about the history.
class HistoryTexts
{
    Q_DECLARE_TR_FUNCTIONS(HistoryTexts)

public:
    // A store failed; `server`: the shared server, whose reads then wait on this computer.
    static QString failure(const HistoryError &error, bool server);
    static QString keptLocally(int waiting);
    static QString sentToServer(int count);
    static QString storedAfterFailure(int count);
    static QString corruptFileKept(const QString &path);
    // The same, with the number of reads taken over from the damaged file.
    static QString corruptFileKept(const QString &path, int recovered);
    // The file was written by a newer program; reads wait in the spool.
    static QString newerStore(const QString &spoolFolder);
    // The server refused one read; it waits on this computer, set aside.
    static QString setAside(const QString &refusal);
    // The program ends with reads in no store.
    static QString unsavedAtExit(int count, const QString &spoolFolder);
    static QString openedFromHistory(const QDateTime &startedAt);
    static QString readInProgress();
    // The store the history now uses, after a switch.
    static QString storeInUse(const HistorySettings &settings, const QString &folder);
    static QString title();
    // What went wrong, in a few words.
    static QString cause(HistoryFailure failure, bool server);
};
