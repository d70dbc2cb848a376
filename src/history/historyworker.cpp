#include "history/historyworker.h"

#include "history/historyconnection.h"
#include "history/historyreader.h"
#include "history/historyrecorder.h"
#include "history/historywriter.h"
#include "history/readspool.h"

#include <QThread>

HistoryWorker::HistoryWorker(const QString &folder, const HistorySettings &settings,
                             const QString &spoolFolder)
    : folder(folder)
    , settings(settings)
    , spoolFolder(spoolFolder)
{}

HistoryWorker::~HistoryWorker() = default;

void HistoryWorker::start()
{
    makeRecorder();
}

void HistoryWorker::makeRecorder()
{
    recorder = std::make_unique<HistoryRecorder>(folder, settings, ReadSpool(spoolFolder));
    if (retryMs >= 0)
        recorder->setRetryInterval(std::chrono::milliseconds(retryMs));
    HistoryRecorder *r = recorder.get();
    connect(r, &HistoryRecorder::readStored, this, &HistoryWorker::readStored);
    connect(r, &HistoryRecorder::storeFailed, this, &HistoryWorker::storeFailed);
    connect(r, &HistoryRecorder::keptLocally, this, &HistoryWorker::keptLocally);
    connect(r, &HistoryRecorder::sentToServer, this, &HistoryWorker::sentToServer);
    connect(r, &HistoryRecorder::storedAfterFailure, this, &HistoryWorker::storedAfterFailure);
    connect(r, &HistoryRecorder::corruptFileKept, this, &HistoryWorker::corruptFileKept);
    connect(r, &HistoryRecorder::readSetAside, this, &HistoryWorker::readSetAside);
    connect(r, &HistoryRecorder::storeAttempted, this, &HistoryWorker::tellState);
    tellState();
}

void HistoryWorker::tellState()
{
    if (recorder)
        emit stateChanged(recorder->unsavedCount(), recorder->waitingForServer(), recorder->storeScheduled());
}

void HistoryWorker::recordRead(const ReadRecord &read)
{
    if (!recorder)
        makeRecorder();
    recorder->recordRead(read);
    emit readTaken(read.uid);
    tellState();
}

void HistoryWorker::storeWaiting()
{
    if (recorder)
        recorder->storeWaiting();
}

void HistoryWorker::setRetryInterval(int milliseconds)
{
    retryMs = milliseconds;
    if (recorder)
        recorder->setRetryInterval(std::chrono::milliseconds(milliseconds));
}

HistoryConnection *HistoryWorker::openHistory(HistoryError *error)
{
    if (!recorder)
        makeRecorder();
    HistoryConnection *connection = recorder->openHistory();
    if (!connection)
        *error = recorder->lastError().isError() ? recorder->lastError()
                                                 : HistoryError{HistoryFailure::Unreachable, QString()};
    return connection;
}

void HistoryWorker::listReads(quint64 request, const ReadFilter &filter, const StoredRead &after, int limit)
{
    if (latestListing && request < latestListing->load())
        return;
    HistoryError error;
    QVector<StoredRead> reads;
    HistoryConnection *connection = openHistory(&error);
    if (connection
        && !HistoryReader(*connection).listReads(filter, after.id < 0 ? nullptr : &after, limit, &reads))
        error = connection->lastError();
    emit readsListed(request, reads, error);
}

void HistoryWorker::listBlocks(quint64 request, qint64 readId)
{
    HistoryError error;
    QVector<StoredBlock> blocks;
    HistoryConnection *connection = openHistory(&error);
    if (connection && !HistoryReader(*connection).blocksOf(readId, &blocks))
        error = connection->lastError();
    emit blocksListed(request, blocks, error);
}

void HistoryWorker::loadRead(quint64 request, qint64 readId)
{
    HistoryError error;
    ReadRecord read;
    HistoryConnection *connection = openHistory(&error);
    if (connection && !HistoryReader(*connection).loadRead(readId, &read))
        error = connection->lastError();
    emit readLoaded(request, read, error);
}

void HistoryWorker::loadBlocksNamed(quint64 request, const QString &name, int limit, int largestBlock)
{
    HistoryError error;
    QVector<NamedBlock> blocks;
    HistoryConnection *connection = openHistory(&error);
    if (connection && !HistoryReader(*connection).blocksNamed(name, limit, largestBlock, &blocks))
        error = connection->lastError();
    emit blocksNamedLoaded(request, blocks, error);
}

void HistoryWorker::listBlockNames(quint64 request, const QString &part, int limit)
{
    HistoryError error;
    QStringList names;
    HistoryConnection *connection = openHistory(&error);
    if (connection && !HistoryReader(*connection).blockNames(part, limit, &names))
        error = connection->lastError();
    emit blockNamesListed(request, names, error);
}

void HistoryWorker::deleteReads(quint64 request, const QVector<qint64> &readIds)
{
    HistoryError error;
    HistoryConnection *connection = openHistory(&error);
    if (connection && !HistoryWriter(*connection).deleteReads(readIds))
        error = connection->lastError();
    emit readsDeleted(request, error);
}

void HistoryWorker::listWaiting(quint64 request)
{
    if (!recorder)
        makeRecorder();
    QVector<StoredRead> waiting;
    HistoryError error;
    // The local file holds waiting reads only when a server is the store.
    if (settings.backend == HistoryBackend::Postgres && !recorder->waitingReads(&waiting))
        error = recorder->lastError();
    emit waitingListed(request, recorder->unsavedReads(), waiting, error);
}

void HistoryWorker::retrySetAside()
{
    if (!recorder)
        makeRecorder();
    recorder->retrySetAside();
    tellState();
}

void HistoryWorker::checkServer(quint64 request, const HistoryServer &server)
{
    emit serverChecked(request, checkHistoryServer(server));
}

void HistoryWorker::switchTo(const HistorySettings &newSettings)
{
    // The old recorder's reads stay in the spool, where the new one finds them.
    recorder.reset();
    settings = newSettings;
    makeRecorder();
    emit switched(settings);
}

void HistoryWorker::stop()
{
    const int unsaved = recorder ? recorder->unsavedCount() : 0;
    recorder.reset();
    emit stopped(unsaved);
    thread()->quit();
}
