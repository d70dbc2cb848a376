#pragma once

#include "history/readrecord.h"

#include <QString>
#include <QVector>

// Every read is written here first, in a place apart from the history's
// folder ($XDG_STATE_HOME/zrv/spool, else under the user's cache folder), one
// file per read, and removed once a store holds it. A read that no store could
// take survives the run, a full or read-only data folder and a crash.
class ReadSpool
{
public:
    explicit ReadSpool(const QString &folder = defaultFolder());

    static QString defaultFolder();
    QString folder() const { return where; }

    // Writes the read (which has its uid) atomically; false when it could not be.
    bool keep(const ReadRecord &read) const;
    void remove(const QString &uid) const;
    bool holds(const QString &uid) const;
    // The reads kept, oldest first; files that cannot be read are left alone.
    QVector<ReadRecord> reads() const;
    int count() const;

private:
    QString pathOf(const QString &uid) const;

    QString where;
};
