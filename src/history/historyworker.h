#pragma once

#include "history/historyfailure.h"
#include "history/historysettings.h"
#include "history/namedblock.h"
#include "history/readrecord.h"
#include "history/servercheck.h"

#include <QObject>
#include <QStringList>
#include <QVector>
#include <atomic>
#include <memory>

class HistoryConnection;
class HistoryRecorder;

// The history's own thread: it makes and owns the connections (a database
// connection belongs to the thread that made it), the recorder with its queue,
// retry, recovery and spool. Everything reaches it through queued calls; each
// question carries the asker's request number, given back with the answer, so
// that a late answer can be told from the one awaited.
class HistoryWorker : public QObject
{
    Q_OBJECT

public:
    HistoryWorker(const QString &folder, const HistorySettings &settings, const QString &spoolFolder);
    // The asker's latest listing request: older ones still queued are skipped
    // (their answers would be dropped), so that a slow store does not pile up
    // a listing per keystroke.
    void setLatestListing(std::shared_ptr<const std::atomic<quint64>> latest)
    {
        latestListing = std::move(latest);
    }
    ~HistoryWorker() override;

public slots:
    // Makes the recorder, on the worker's thread; spooled reads are stored first.
    void start();
    void recordRead(const ReadRecord &read);
    void storeWaiting();
    void setRetryInterval(int milliseconds);
    // `after.id` < 0: the first page.
    void listReads(quint64 request, const ReadFilter &filter, const StoredRead &after, int limit);
    void listBlocks(quint64 request, qint64 readId);
    void loadRead(quint64 request, qint64 readId);
    void loadBlocksNamed(quint64 request, const QString &name, int limit, int largestBlock);
    void listBlockNames(quint64 request, const QString &part, int limit);
    void deleteReads(quint64 request, const QVector<qint64> &readIds);
    void listWaiting(quint64 request);
    void retrySetAside();
    void checkServer(quint64 request, const HistoryServer &server);
    // Ends the recorder in use (its reads stay in the spool) and takes the new store.
    void switchTo(const HistorySettings &settings);
    // Ends the recorder; the thread may then quit.
    void stop();

signals:
    void readsListed(quint64 request, const QVector<StoredRead> &reads, const HistoryError &error);
    void blocksListed(quint64 request, const QVector<StoredBlock> &blocks, const HistoryError &error);
    void readLoaded(quint64 request, const ReadRecord &read, const HistoryError &error);
    // The blocks of one name, oldest read first.
    void blocksNamedLoaded(quint64 request, const QVector<NamedBlock> &blocks, const HistoryError &error);
    void blockNamesListed(quint64 request, const QStringList &names, const HistoryError &error);
    void readsDeleted(quint64 request, const HistoryError &error);
    // Reads in no store yet, and reads in the local file waiting for the server or set aside.
    void waitingListed(quint64 request, const QVector<ReadRecord> &unsaved,
                       const QVector<StoredRead> &waiting, const HistoryError &error);
    void serverChecked(quint64 request, const ServerCheck &check);
    void switched(const HistorySettings &settings);
    // After every request and every pass over the waiting reads.
    void stateChanged(int unsaved, int waitingForServer, bool storeScheduled);
    // The read is safe: in the spool or in a store.
    void readTaken(const QString &uid);

    // The recorder's news (see HistoryRecorder).
    void readStored();
    void storeFailed(const HistoryError &error, bool server);
    void keptLocally(int waiting);
    void sentToServer(int count);
    void storedAfterFailure(int count);
    void corruptFileKept(const QString &path, int recovered);
    void readSetAside(const QString &refusal);
    void stopped(int unsaved);

private:
    void makeRecorder();
    HistoryConnection *openHistory(HistoryError *error);
    void tellState();

    QString folder;
    HistorySettings settings;
    QString spoolFolder;
    std::unique_ptr<HistoryRecorder> recorder;
    int retryMs = -1;
    std::shared_ptr<const std::atomic<quint64>> latestListing;
};
