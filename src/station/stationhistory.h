#pragma once

#include "station/portreadresult.h"

#include <QString>
#include <QVector>
#include <memory>

class HistoryRecorder;

// Every use of the history for the station: where the reads go (the window's
// store, a SQLite file, a PostgreSQL server, or nowhere) and what became of
// them.
class StationHistory
{
public:
    enum class State {
        Off,         // --history none, or no read to keep
        Stored,      // in the store asked for
        KeptLocally, // the server could not take it; it waits in the local file
        Spooled,     // no store took it; kept in a file of unsaved reads for the next run
        Lost,        // not even that file could be written
    };

    // `target`: default|none|FILE.sqlite|postgresql://…
    explicit StationHistory(const QString &target);
    ~StationHistory();
    StationHistory(const StationHistory &) = delete;
    StationHistory &operator=(const StationHistory &) = delete;

    // False with `why` when the target cannot name a store (a malformed address).
    static bool checkTarget(const QString &target, QString *why);

    // Stores the reads (those with a block count) and tells what became of them.
    State store(const QVector<PortReadResult> &reads);
    // The store's own words for its last failure; empty when there was none.
    QString failureText() const { return failure; }

private:
    State storeWithRecorder(const QVector<PortReadResult> &reads);
    State storeInFile(const QVector<PortReadResult> &reads);

    QString target;
    QString failure;
    std::unique_ptr<HistoryRecorder> recorder;
};

// "stored", "kept locally", "spooled", "not stored"; null text for Off.
QString historyStateName(StationHistory::State state);
