#include "history/historyservice.h"

#include "history/historyconnection.h"
#include "history/historyworker.h"
#include "history/querywatch.h"
#include "history/unsavedreads.h"

#include <QMetaObject>

namespace {

constexpr std::chrono::milliseconds kWatchInterval{250};
// The last part of the wait at the end, after the socket of a statement
// still unanswered is cut: the worker then ends at once.
constexpr std::chrono::milliseconds kAfterCut{500};

void registerTypes()
{
    qRegisterMetaType<HistoryError>();
    qRegisterMetaType<ReadRecord>();
    qRegisterMetaType<QVector<ReadRecord>>();
    qRegisterMetaType<ReadFilter>();
    qRegisterMetaType<StoredRead>();
    qRegisterMetaType<QVector<StoredRead>>();
    qRegisterMetaType<QVector<StoredBlock>>();
    qRegisterMetaType<QVector<qint64>>();
    qRegisterMetaType<HistorySettings>();
    qRegisterMetaType<HistoryServer>();
    qRegisterMetaType<ServerCheck>();
}

} // namespace

HistoryService::HistoryService(const QString &folder, const HistorySettings &settings, QObject *parent)
    : HistoryService(folder, settings, ReadSpool::defaultFolder(), parent)
{}

HistoryService::HistoryService(const QString &folder, const HistorySettings &settings,
                               const QString &spoolFolder, QObject *parent)
    : QObject(parent)
    , where(folder)
    , chosen(settings)
    , spool(spoolFolder)
{
    registerTypes();
    thread = new QThread;
    thread->setObjectName(QStringLiteral("zrv-history"));
    work = new HistoryWorker(folder, settings, spoolFolder);
    work->setLatestListing(latestListing);
    work->moveToThread(thread);
    connect(thread, &QThread::finished, work, &QObject::deleteLater);
    connect(work, &HistoryWorker::readTaken, this, [this](const QString &uid) {
        for (int i = 0; i < handedOver.size(); ++i) {
            if (handedOver.at(i).uid == uid) {
                handedOver.remove(i);
                break;
            }
        }
    });
    connect(work, &HistoryWorker::stateChanged, this, [this](int unsavedReads, int waitingReads, bool soon) {
        unsaved = unsavedReads;
        waiting = waitingReads;
        scheduled = soon;
        emit stateChanged();
    });
    connect(work, &HistoryWorker::switched, this, [this](const HistorySettings &now) { chosen = now; });
    watch.setInterval(kWatchInterval);
    connect(&watch, &QTimer::timeout, this,
            [] { QueryWatch::cutOverdue(HistoryConnection::kUnansweredLimit); });
    thread->start();
    watch.start();
    QMetaObject::invokeMethod(work, &HistoryWorker::start, Qt::QueuedConnection);
}

HistoryService::~HistoryService()
{
    finish();
    if (!thread->isRunning())
        delete thread;
}

void HistoryService::recordRead(const ReadRecord &read)
{
    ReadRecord record = read;
    if (record.uid.isEmpty())
        record.uid = newReadUid();
    if (done) {
        // The worker has ended: the read waits in the spool for the next run.
        if (!spool.keep(record))
            keepUnsavedReads(where, {record});
        leftAtEnd = spool.count();
        return;
    }
    handedOver.append(record);
    QMetaObject::invokeMethod(
        work, [w = work, record] { w->recordRead(record); }, Qt::QueuedConnection);
}

void HistoryService::storeWaiting()
{
    if (done)
        return;
    QMetaObject::invokeMethod(work, &HistoryWorker::storeWaiting, Qt::QueuedConnection);
}

void HistoryService::setRetryInterval(std::chrono::milliseconds interval)
{
    if (done)
        return;
    const int ms = int(interval.count());
    QMetaObject::invokeMethod(
        work, [w = work, ms] { w->setRetryInterval(ms); }, Qt::QueuedConnection);
}

quint64 HistoryService::listReads(const ReadFilter &filter, const StoredRead &after, int limit)
{
    const quint64 request = next();
    if (done)
        return request; // never answered: the worker has ended
    latestListing->store(request);
    QMetaObject::invokeMethod(
        work, [w = work, request, filter, after, limit] { w->listReads(request, filter, after, limit); },
        Qt::QueuedConnection);
    return request;
}

quint64 HistoryService::listBlocks(qint64 readId)
{
    const quint64 request = next();
    if (done)
        return request; // never answered: the worker has ended
    QMetaObject::invokeMethod(
        work, [w = work, request, readId] { w->listBlocks(request, readId); }, Qt::QueuedConnection);
    return request;
}

quint64 HistoryService::loadRead(qint64 readId)
{
    const quint64 request = next();
    if (done)
        return request; // never answered: the worker has ended
    QMetaObject::invokeMethod(
        work, [w = work, request, readId] { w->loadRead(request, readId); }, Qt::QueuedConnection);
    return request;
}

quint64 HistoryService::deleteReads(const QVector<qint64> &readIds)
{
    const quint64 request = next();
    if (done)
        return request; // never answered: the worker has ended
    QMetaObject::invokeMethod(
        work, [w = work, request, readIds] { w->deleteReads(request, readIds); }, Qt::QueuedConnection);
    return request;
}

quint64 HistoryService::listWaiting()
{
    const quint64 request = next();
    if (done)
        return request; // never answered: the worker has ended
    QMetaObject::invokeMethod(
        work, [w = work, request] { w->listWaiting(request); }, Qt::QueuedConnection);
    return request;
}

quint64 HistoryService::checkServer(const HistoryServer &server)
{
    const quint64 request = next();
    if (done)
        return request; // never answered: the worker has ended
    QMetaObject::invokeMethod(
        work, [w = work, request, server] { w->checkServer(request, server); }, Qt::QueuedConnection);
    return request;
}

void HistoryService::retrySetAside()
{
    if (done)
        return;
    QMetaObject::invokeMethod(work, &HistoryWorker::retrySetAside, Qt::QueuedConnection);
}

void HistoryService::switchTo(const HistorySettings &settings)
{
    if (done)
        return;
    chosen = settings;
    QMetaObject::invokeMethod(
        work, [w = work, settings] { w->switchTo(settings); }, Qt::QueuedConnection);
}

int HistoryService::finish()
{
    if (done)
        return leftAtEnd;
    done = true;
    watch.stop();
    QMetaObject::invokeMethod(work, &HistoryWorker::stop, Qt::QueuedConnection);
    if (!thread->wait(int((kStopWait - kAfterCut).count()))) {
        // A statement the server does not answer: its connection is cut.
        QueryWatch::cutAll();
        thread->wait(int(kAfterCut.count()));
    }
    // Reads the worker never took: into the spool, else beside the history.
    QVector<ReadRecord> loose;
    for (const ReadRecord &read : qAsConst(handedOver)) {
        if (!spool.holds(read.uid) && !spool.keep(read))
            loose.append(read);
    }
    if (!loose.isEmpty())
        keepUnsavedReads(where, loose);
    handedOver.clear();
    leftAtEnd = spool.count();
    if (thread->isRunning()) {
        // Still held by the store: the thread is left to the end of the process.
        thread->disconnect(work);
        work->disconnect(this);
    }
    return leftAtEnd;
}
