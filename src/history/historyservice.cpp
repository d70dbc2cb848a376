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
    qRegisterMetaType<NamedBlock>();
    qRegisterMetaType<QVector<NamedBlock>>();
    qRegisterMetaType<QVector<qint64>>();
    qRegisterMetaType<HistorySettings>();
    qRegisterMetaType<HistoryServer>();
    qRegisterMetaType<ServerCheck>();
}

} // namespace

template <typename Call>
bool HistoryService::post(Call call)
{
    if (done)
        return false;
    QMetaObject::invokeMethod(
        work, [w = work, call] { call(w); }, Qt::QueuedConnection);
    return true;
}

template <typename Call>
quint64 HistoryService::ask(Call call)
{
    const quint64 request = next();
    post([request, call](HistoryWorker *w) { call(w, request); });
    return request;
}

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
    post([record](HistoryWorker *w) { w->recordRead(record); });
}

void HistoryService::storeWaiting()
{
    post([](HistoryWorker *w) { w->storeWaiting(); });
}

void HistoryService::setRetryInterval(std::chrono::milliseconds interval)
{
    const int ms = int(interval.count());
    post([ms](HistoryWorker *w) { w->setRetryInterval(ms); });
}

quint64 HistoryService::listReads(const ReadFilter &filter, const StoredRead &after, int limit)
{
    if (!done)
        latestListing->store(lastRequest + 1);
    return ask([filter, after, limit](HistoryWorker *w, quint64 request) {
        w->listReads(request, filter, after, limit);
    });
}

quint64 HistoryService::listBlocks(qint64 readId)
{
    return ask([readId](HistoryWorker *w, quint64 request) { w->listBlocks(request, readId); });
}

quint64 HistoryService::loadRead(qint64 readId)
{
    return ask([readId](HistoryWorker *w, quint64 request) { w->loadRead(request, readId); });
}

quint64 HistoryService::loadBlocksNamed(const QString &name, int limit, int largestBlock)
{
    return ask([name, limit, largestBlock](HistoryWorker *w, quint64 request) {
        w->loadBlocksNamed(request, name, limit, largestBlock);
    });
}

quint64 HistoryService::listBlockNames(const QString &part, int limit)
{
    return ask([part, limit](HistoryWorker *w, quint64 request) { w->listBlockNames(request, part, limit); });
}

quint64 HistoryService::deleteReads(const QVector<qint64> &readIds)
{
    return ask([readIds](HistoryWorker *w, quint64 request) { w->deleteReads(request, readIds); });
}

quint64 HistoryService::listWaiting()
{
    return ask([](HistoryWorker *w, quint64 request) { w->listWaiting(request); });
}

quint64 HistoryService::checkServer(const HistoryServer &server)
{
    return ask([server](HistoryWorker *w, quint64 request) { w->checkServer(request, server); });
}

void HistoryService::retrySetAside()
{
    post([](HistoryWorker *w) { w->retrySetAside(); });
}

void HistoryService::switchTo(const HistorySettings &settings)
{
    if (post([settings](HistoryWorker *w) { w->switchTo(settings); }))
        chosen = settings;
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
