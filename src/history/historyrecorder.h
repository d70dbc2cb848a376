#pragma once

#include "history/historyconnection.h"
#include "history/historyfailure.h"
#include "history/historysettings.h"
#include "history/readrecord.h"

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
    // Stores what is still waiting in memory, silently; what cannot be
    // stored is kept in a file of its own for the next run.
    ~HistoryRecorder() override;

    // Takes a finished read; it is stored once the event loop runs again, so
    // that the read shows before it is written.
    void recordRead(const ReadRecord &read);
    // Stores the reads waiting in memory and sends those waiting for the server.
    void storeWaiting();

    // True from a read's arrival until the attempt to store it.
    bool storeScheduled() const { return storeSoon.isActive() || dueWhileHeld; }
    // Reads in memory only, not yet in any store.
    int unsavedCount() const { return queue.size(); }
    // Reads in the local file that wait for the server.
    int waitingForServer() const { return localWaiting; }

    HistoryBackend backend() const { return settings.backend; }
    // The store the history window shows, open; null when it cannot be opened.
    HistoryConnection *openHistory();
    const HistoryError &lastError() const { return error; }

    void setRetryInterval(std::chrono::milliseconds interval) { retryTimer.setInterval(interval); }

    // While the instrument is read, nothing is stored: the read's waits serve
    // the timers, and a store (a server's connect may take seconds) would run
    // out an exchange's timeout. A store that fell due meanwhile runs after.
    void holdStores(bool hold);

signals:
    void readStored();
    // The first failure of a store since it last worked; `server`: the
    // shared server, whose reads then wait in the local file.
    void storeFailed(const HistoryError &error, bool server);
    // A read waits in the local file because the server cannot take it.
    void keptLocally(int waiting);
    // Reads that had waited in the local file reached the server.
    void sentToServer(int count);
    // Reads that had waited in memory reached the history.
    void storedAfterFailure(int count);
    // A damaged history file was moved to `path`; a new one took its place.
    void corruptFileKept(const QString &path);

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
    void storeWhenFree();

    QString folder;
    HistorySettings settings;
    HistoryConnection local;
    std::unique_ptr<HistoryConnection> server;
    QVector<ReadRecord> queue;
    QStringList adoptedFiles; // files of unsaved reads whose reads are in the queue
    QTimer storeSoon;
    QTimer retryTimer;
    HistoryError error;
    int localWaiting = 0;
    bool localFailing = false;
    bool serverFailing = false;
    bool held = false;
    bool dueWhileHeld = false;
};
