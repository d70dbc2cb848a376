#pragma once

#include <QMetaType>
#include <QString>

// Why the history store could not do what was asked.
enum class HistoryFailure {
    None,
    Unreachable, // the file or the server cannot be opened
    Locked,      // another program holds the database
    DiskFull,
    Corrupt,  // the file is not a sound database
    Failed,   // any other refusal
    Rejected, // the server refused this one read (its data, a constraint, a privilege)
    Newer,    // written by a newer program: left untouched
};

struct HistoryError
{
    HistoryFailure failure = HistoryFailure::None;
    QString text; // the driver's own words

    bool isError() const { return failure != HistoryFailure::None; }
};

Q_DECLARE_METATYPE(HistoryError)
