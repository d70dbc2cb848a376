#include "history/historyrecorder.h"

#include "history/corruptfile.h"
#include "history/historyreader.h"
#include "history/historywriter.h"
#include "history/unsavedreads.h"

#include <QFileInfo>
#include <QSignalBlocker>

HistoryRecorder::HistoryRecorder(const QString &folder, const HistorySettings &settings, QObject *parent)
    : QObject(parent)
    , folder(folder)
    , settings(settings)
    , local(historyDatabasePath(folder))
{
    qRegisterMetaType<HistoryError>();
    if (settings.backend == HistoryBackend::Postgres)
        server = std::make_unique<HistoryConnection>(settings.server);
    storeSoon.setSingleShot(true);
    storeSoon.setInterval(0);
    connect(&storeSoon, &QTimer::timeout, this, &HistoryRecorder::storeWhenFree);
    retryTimer.setInterval(kRetryInterval);
    connect(&retryTimer, &QTimer::timeout, this, &HistoryRecorder::storeWhenFree);

    // Reads of an earlier run may still wait for the server, or in a file of their own.
    if (server && QFileInfo::exists(local.sqlitePath()))
        countWaiting();
    queue = unsavedReads(folder, &adoptedFiles);
    if (!queue.isEmpty())
        storeSoon.start();
    updateRetry();
}

HistoryRecorder::~HistoryRecorder()
{
    // Those who listen may be going too (the window's children die before it).
    const QSignalBlocker quiet(this);
    if (!queue.isEmpty())
        storeWaiting();
    if (!queue.isEmpty() && keepUnsavedReads(folder, queue))
        removeUnsavedFiles(adoptedFiles);
}

void HistoryRecorder::recordRead(const ReadRecord &read)
{
    ReadRecord record = read;
    if (record.uid.isEmpty())
        record.uid = newReadUid();
    queue.append(record);
    storeSoon.start();
}

void HistoryRecorder::holdStores(bool hold)
{
    held = hold;
    if (!held && dueWhileHeld) {
        dueWhileHeld = false;
        storeSoon.start();
    }
}

void HistoryRecorder::storeWhenFree()
{
    if (held) {
        dueWhileHeld = true;
        return;
    }
    storeWaiting();
}

void HistoryRecorder::storeWaiting()
{
    storeSoon.stop();
    if (server)
        storeQueueOnServer();
    else
        storeQueueLocally(false);
    // Files of unsaved reads go once their reads are in the history.
    if (queue.isEmpty() && !adoptedFiles.isEmpty()) {
        removeUnsavedFiles(adoptedFiles);
        adoptedFiles.clear();
    }
    updateRetry();
}

HistoryConnection *HistoryRecorder::openHistory()
{
    HistoryConnection &history = server ? *server : local;
    if (ensureOpen(history))
        return &history;
    error = history.lastError();
    return nullptr;
}

bool HistoryRecorder::ensureOpen(HistoryConnection &connection)
{
    return connection.open() || recoverCorruptFile(connection);
}

bool HistoryRecorder::recoverCorruptFile(HistoryConnection &connection)
{
    if (connection.backend() != HistoryBackend::Sqlite
        || connection.lastError().failure != HistoryFailure::Corrupt)
        return false;
    connection.close();
    const QString aside = keepCorruptFileAside(connection.sqlitePath());
    if (aside.isEmpty())
        return false;
    emit corruptFileKept(aside);
    return connection.open();
}

bool HistoryRecorder::storeInto(HistoryConnection &connection, const ReadRecord &read, bool pending)
{
    if (!ensureOpen(connection))
        return false;
    if (HistoryWriter(connection).storeRead(read, pending))
        return true;
    if (recoverCorruptFile(connection))
        return HistoryWriter(connection).storeRead(read, pending);
    // A connection that failed is made anew next time (a server may have gone);
    // closing keeps its last error.
    connection.close();
    return false;
}

void HistoryRecorder::storeQueueLocally(bool pending)
{
    int stored = 0;
    while (!queue.isEmpty()) {
        if (!storeInto(local, queue.first(), pending)) {
            localFailed();
            return;
        }
        queue.removeFirst();
        ++stored;
        if (pending)
            emit keptLocally(++localWaiting);
        else
            emit readStored();
    }
    if (localFailing) {
        localFailing = false;
        emit storedAfterFailure(stored);
    }
}

void HistoryRecorder::storeQueueOnServer()
{
    int sent = 0;
    bool up = ensureOpen(*server) && sendWaiting(&sent);
    while (up && !queue.isEmpty()) {
        up = storeInto(*server, queue.first(), false);
        if (up) {
            queue.removeFirst();
            emit readStored();
        }
    }
    if (!up) {
        serverFailed();
        storeQueueLocally(true);
        return;
    }
    if (serverFailing || sent > 0) {
        serverFailing = false;
        emit sentToServer(sent);
    }
}

bool HistoryRecorder::sendWaiting(int *sent)
{
    *sent = 0;
    if (localWaiting == 0 && !QFileInfo::exists(local.sqlitePath()))
        return true;
    QVector<qint64> waiting;
    if (!ensureOpen(local) || !HistoryReader(local).pendingReads(&waiting)) {
        localFailed();
        return true; // the server itself still takes new reads
    }
    for (const qint64 id : qAsConst(waiting)) {
        ReadRecord read;
        if (!HistoryReader(local).loadRead(id, &read)) {
            localFailed();
            return true;
        }
        if (!storeInto(*server, read, false))
            return false;
        // Sent twice at worst, after a crash right here: the server keeps a uid once.
        if (!HistoryWriter(local).deleteReads({id})) {
            localFailed();
            return true;
        }
        ++*sent;
        localWaiting = qMax(0, localWaiting - 1);
        emit readStored();
    }
    localWaiting = 0;
    return true;
}

void HistoryRecorder::countWaiting()
{
    QVector<qint64> waiting;
    if (ensureOpen(local) && HistoryReader(local).pendingReads(&waiting))
        localWaiting = waiting.size();
}

void HistoryRecorder::localFailed()
{
    error = local.lastError();
    if (!localFailing) {
        localFailing = true;
        emit storeFailed(error, false);
    }
}

void HistoryRecorder::serverFailed()
{
    error = server->lastError();
    if (!serverFailing) {
        serverFailing = true;
        emit storeFailed(error, true);
    }
}

void HistoryRecorder::updateRetry()
{
    const bool waiting = !queue.isEmpty() || localWaiting > 0;
    if (waiting && !retryTimer.isActive())
        retryTimer.start();
    else if (!waiting)
        retryTimer.stop();
}
