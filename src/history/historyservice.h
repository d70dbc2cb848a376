#pragma once

#include "history/historysettings.h"
#include "history/readrecord.h"
#include "history/readspool.h"

#include <QObject>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <limits>
#include <memory>

class HistoryWorker;

// The window's side of the history: starts the worker on its own thread and
// asks it through queued calls only, so that nothing the store does (a server
// that does not answer, a locked file) holds up the window. Questions get
// numbers (the worker's answers carry them back). A server statement left
// unanswered past HistoryConnection::kUnansweredLimit has its socket cut from
// here, which the worker then takes for a lost connection.
class HistoryService : public QObject
{
    Q_OBJECT

public:
    // How long the end of the program waits for the worker.
    static constexpr std::chrono::milliseconds kStopWait{2000};
    static constexpr int kNamedBlocksLimit = 1000;
    static constexpr int kBlockNamesLimit = 500;

    HistoryService(const QString &folder, const HistorySettings &settings, QObject *parent = nullptr);
    HistoryService(const QString &folder, const HistorySettings &settings, const QString &spoolFolder,
                   QObject *parent = nullptr);
    // finish()
    ~HistoryService() override;

    // Its signals are to be connected to; its slots are called through this class.
    HistoryWorker *worker() const { return work; }
    QString folder() const { return where; }
    const HistorySettings &settings() const { return chosen; }
    QString spoolFolder() const { return spool.folder(); }

    void recordRead(const ReadRecord &read);
    void storeWaiting();
    void setRetryInterval(std::chrono::milliseconds interval);
    // Only the answer to the latest listing is given; earlier ones may be skipped.
    quint64 listReads(const ReadFilter &filter, const StoredRead &after, int limit);
    quint64 listBlocks(qint64 readId);
    quint64 loadRead(qint64 readId);
    // The newest `limit` blocks named exactly `name`, oldest read first, the
    // values only of blocks of at most `largestBlock` (HistoryWorker::blocksNamedLoaded).
    quint64 loadBlocksNamed(const QString &name, int limit = kNamedBlocksLimit,
                            int largestBlock = std::numeric_limits<int>::max());
    // Distinct stored block names containing `part`, any case (HistoryWorker::blockNamesListed).
    quint64 listBlockNames(const QString &part, int limit = kBlockNamesLimit);
    quint64 deleteReads(const QVector<qint64> &readIds);
    quint64 listWaiting();
    quint64 checkServer(const HistoryServer &server);
    void retrySetAside();
    void switchTo(const HistorySettings &settings);

    // As the worker last told, and reads handed to it that it has not taken yet.
    int unsavedCount() const { return unsaved + int(handedOver.size()); }
    int waitingForServer() const { return waiting; }
    bool storeScheduled() const { return scheduled || !handedOver.isEmpty(); }

    // Ends the worker, waiting kStopWait at most (a server statement still
    // running is cut then); reads it had not taken yet go into the spool here.
    // The number of reads not in any store (kept in the spool); idempotent.
    int finish();
    bool finished() const { return done; }

signals:
    void stateChanged();

private:
    quint64 next() { return ++lastRequest; }
    // Runs call(worker) on the worker's thread; false once the worker has ended.
    template <typename Call>
    bool post(Call call);
    // A numbered question: call(worker, number) on the worker's thread. Once
    // the worker has ended the number is never answered.
    template <typename Call>
    quint64 ask(Call call);

    QString where;
    HistorySettings chosen;
    ReadSpool spool;
    QThread *thread = nullptr; // left running past the end when a store holds it
    HistoryWorker *work = nullptr;
    QTimer watch;
    QVector<ReadRecord> handedOver; // not yet taken by the worker
    quint64 lastRequest = 0;
    std::shared_ptr<std::atomic<quint64>> latestListing = std::make_shared<std::atomic<quint64>>(0);
    int unsaved = 0;
    int waiting = 0;
    bool scheduled = false;
    bool done = false;
    int leftAtEnd = 0;
};
