#include "history/historyrecorder.h"

#include "history/corruptfile.h"
#include "history/historyreader.h"
#include "history/historywriter.h"
#include "history/unsavedreads.h"

#include <QFileInfo>
#include <QSignalBlocker>
#include <QSqlQuery>
#include <QVariant>

HistoryRecorder::HistoryRecorder(const QString &folder, const HistorySettings &settings, QObject *parent)
    : HistoryRecorder(folder, settings, ReadSpool(), parent)
{}

HistoryRecorder::HistoryRecorder(const QString &folder, const HistorySettings &settings,
                                 const ReadSpool &spool, QObject *parent)
    : QObject(parent)
    , folder(folder)
    , settings(settings)
    , local(historyDatabasePath(folder))
    , spooled(spool)
{
    qRegisterMetaType<HistoryError>();
    if (settings.backend == HistoryBackend::Postgres)
        server = std::make_unique<HistoryConnection>(settings.server);
    storeSoon.setSingleShot(true);
    storeSoon.setInterval(0);
    connect(&storeSoon, &QTimer::timeout, this, &HistoryRecorder::storeWaiting);
    retryTimer.setInterval(kRetryInterval);
    connect(&retryTimer, &QTimer::timeout, this, &HistoryRecorder::storeWaiting);

    // Reads of an earlier run may still wait for the server, in the spool
    // (stored first), or in a file of their own that an older run left.
    if (server && QFileInfo::exists(local.sqlitePath()))
        countWaiting();
    queue = spooled.reads();
    QStringList uids;
    for (const ReadRecord &read : qAsConst(queue))
        uids.append(read.uid);
    for (const ReadRecord &read : ::unsavedReads(folder, &adoptedFiles)) {
        if (!uids.contains(read.uid))
            queue.append(read);
    }
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
    // What the spool holds waits there for the next run; a read it could not
    // take goes into a file of its own beside the history.
    QVector<ReadRecord> loose;
    for (const ReadRecord &read : qAsConst(queue)) {
        if (unspooled.contains(read.uid) || !spooled.holds(read.uid))
            loose.append(read);
    }
    if (loose.isEmpty() || keepUnsavedReads(folder, loose))
        removeUnsavedFiles(adoptedFiles);
}

void HistoryRecorder::recordRead(const ReadRecord &read)
{
    ReadRecord record = read;
    if (record.uid.isEmpty())
        record.uid = newReadUid();
    if (!spooled.keep(record))
        unspooled.append(record.uid);
    queue.append(record);
    storeSoon.start();
}

void HistoryRecorder::unspool(const ReadRecord &read)
{
    spooled.remove(read.uid);
    unspooled.removeAll(read.uid);
}

void HistoryRecorder::retrySetAside()
{
    if (ensureOpen(local) && HistoryWriter(local).retrySetAside())
        countWaiting();
    storeSoon.start();
    updateRetry();
}

bool HistoryRecorder::waitingReads(QVector<StoredRead> *reads)
{
    reads->clear();
    if (!QFileInfo::exists(local.sqlitePath()))
        return true;
    if (!ensureOpen(local)) {
        error = local.lastError();
        return false;
    }
    return HistoryReader(local).waitingReads(reads);
}

bool HistoryRecorder::setAside(const ReadRecord &read, const QString &refusal)
{
    if (!storeInto(local, read, true))
        return false;
    QSqlQuery q = local.query();
    // The read just stored is found by its uid.
    if (!local.run(q, QStringLiteral("SELECT id FROM reads WHERE uid = ?"), {read.uid}) || !q.next())
        return false;
    const qint64 id = q.value(0).toLongLong();
    q.finish();
    if (!HistoryWriter(local).setAside(id, refusal))
        return false;
    emit readSetAside(refusal);
    return true;
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
    emit storeAttempted();
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
    if (!connection.open())
        return recoverCorruptFile(connection);
    if (&connection != &local || localChecked)
        return true;
    // Once a run, the file's pages are checked: a damaged page that no
    // statement happens to touch would otherwise go unnoticed.
    localChecked = true;
    QString verdict;
    {
        QSqlQuery check = local.query();
        if (!local.run(check, QStringLiteral("PRAGMA quick_check")))
            return local.lastError().failure != HistoryFailure::Corrupt || recoverCorruptFile(connection);
        verdict = check.next() ? check.value(0).toString() : QString();
    }
    if (verdict == QLatin1String("ok"))
        return true;
    local.setError(HistoryFailure::Corrupt, verdict);
    return recoverCorruptFile(connection);
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
    if (!connection.open())
        return false;
    // What can still be read of the old file goes into the new one.
    int recovered = 0;
    for (const ReadRecord &read : salvageReads(aside)) {
        if (HistoryWriter(connection).storeRead(read, server != nullptr))
            ++recovered;
    }
    if (server)
        countWaiting();
    emit corruptFileKept(aside, recovered);
    return true;
}

bool HistoryRecorder::storeInto(HistoryConnection &connection, const ReadRecord &read, bool pending)
{
    if (!ensureOpen(connection)) {
        // A refusal while connecting or making the tables is the store's, not the read's.
        if (connection.lastError().failure == HistoryFailure::Rejected)
            connection.setError(HistoryFailure::Failed, connection.lastError().text);
        return false;
    }
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
        unspool(queue.takeFirst());
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
            unspool(queue.takeFirst());
            emit readStored();
        } else if (server->lastError().failure == HistoryFailure::Rejected) {
            // This read's own fault: it waits here, set aside, and the others go on.
            const QString refusal = server->lastError().text;
            if (!setAside(queue.first(), refusal)) {
                localFailed();
                break;
            }
            unspool(queue.takeFirst());
            up = true;
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
        if (!storeInto(*server, read, false)) {
            if (server->lastError().failure != HistoryFailure::Rejected)
                return false;
            if (!HistoryWriter(local).setAside(id, server->lastError().text)) {
                localFailed();
                return true;
            }
            localWaiting = qMax(0, localWaiting - 1);
            emit readSetAside(server->lastError().text);
            continue;
        }
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
