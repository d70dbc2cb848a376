#pragma once

#include "history/historyconnection.h"
#include "history/historyfailure.h"
#include "history/historysettings.h"
#include "history/readrecord.h"
#include "history/readspool.h"

#include <QObject>
#include <QTimer>
#include <QVector>
#include <chrono>
#include <memory>

// Keeps every read in the history. On the local file, a read that cannot be
// written (locked, disk full, folder gone) stays in memory and is written at
// the next read or retry; at the end of the run it goes into a file of its
// own that the next run takes in. With a server, a read it cannot take waits in the
// local file and is sent once the server is back. A damaged local file is
// moved aside and a new one made. Each outage is reported once.
class HistoryRecorder : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::seconds kRetryInterval{30};

    HistoryRecorder(const QString &folder, const HistorySettings &settings, QObject *parent = nullptr);
    // Reads are spooled in `spool` until a store holds them.
    HistoryRecorder(const QString &folder, const HistorySettings &settings, const ReadSpool &spool,
                    QObject *parent = nullptr);
    // Stores what is still waiting, silently; what cannot be stored stays in
    // the spool for the next run, or, when the spool could not take it, in a
    // file of its own beside the history.
    ~HistoryRecorder() override;

    // Takes a finished read into the spool; it is stored once the event loop
    // runs again, so that the read shows before it is written.
    void recordRead(const ReadRecord &read);
    // Reads the server refused are offered to it again.
    void retrySetAside();
    // Reads not in any store yet, reads waiting here for the server, and reads
    // the server refused (with its words).
    QVector<ReadRecord> unsavedReads() const { return queue; }
    bool waitingReads(QVector<StoredRead> *reads);
    const ReadSpool &spool() const { return spooled; }
    // Stores the reads waiting in memory and sends those waiting for the server.
    void storeWaiting();

    // True from a read's arrival until the attempt to store it.
    bool storeScheduled() const { return storeSoon.isActive(); }
    // Reads in memory only, not yet in any store.
    int unsavedCount() const { return queue.size(); }
    // Reads in the local file that wait for the server.
    int waitingForServer() const { return localWaiting; }

    HistoryBackend backend() const { return settings.backend; }
    // The store the history window shows, open; null when it cannot be opened.
    HistoryConnection *openHistory();
    const HistoryError &lastError() const { return error; }

    void setRetryInterval(std::chrono::milliseconds interval) { retryTimer.setInterval(interval); }

signals:
    void readStored();
    // A pass over the reads waiting has ended, whatever came of it.
    void storeAttempted();
    // The first failure of a store since it last worked; `server`: the
    // shared server, whose reads then wait in the local file.
    void storeFailed(const HistoryError &error, bool server);
    // A read waits in the local file because the server cannot take it.
    void keptLocally(int waiting);
    // Reads that had waited in the local file reached the server.
    void sentToServer(int count);
    // Reads that had waited in memory reached the history.
    void storedAfterFailure(int count);
    // A damaged history file was moved to `path`; a new one took its place
    // with the `recovered` reads that could still be read from the old one.
    void corruptFileKept(const QString &path, int recovered);
    // The server refused a read for what it holds: it waits here, set aside.
    void readSetAside(const QString &refusal);

private:
    bool ensureOpen(HistoryConnection &connection);
    // A damaged local file is moved aside and a new one opened in its place;
    // false for any other failure, or when it could not be moved.
    bool recoverCorruptFile(HistoryConnection &connection);
    bool storeInto(HistoryConnection &connection, const ReadRecord &read, bool pending);
    void storeQueueLocally(bool pending);
    void storeQueueOnServer();
    // Sends the reads waiting in the local file; false when the server failed.
    bool sendWaiting(int *sent);
    void countWaiting();
    void localFailed();
    void serverFailed();
    void updateRetry();
    // The read is in a store: its spooled copy goes.
    void unspool(const ReadRecord &read);
    // The server refused the read: kept in the local file, set aside.
    bool setAside(const ReadRecord &read, const QString &refusal);

    QString folder;
    HistorySettings settings;
    HistoryConnection local;
    std::unique_ptr<HistoryConnection> server;
    QVector<ReadRecord> queue;
    QStringList adoptedFiles; // files of unsaved reads whose reads are in the queue
    ReadSpool spooled;
    QStringList unspooled; // uids of queued reads the spool could not take
    QTimer storeSoon;
    QTimer retryTimer;
    HistoryError error;
    int localWaiting = 0;
    bool localFailing = false;
    bool serverFailing = false;
    bool localChecked = false; // the file's integrity, once a run
};
