#include "station/portread.h"

#include "station/portreadworker.h"

PortRead::PortRead(int index, const QString &path, int waitMs, const QVector<int> &chosen, QObject *parent)
    : QObject(parent)
    , number(index)
{
    qRegisterMetaType<MemoryBlock>();
    qRegisterMetaType<PortReadResult>();
    outcome.requestedPath = path;
    worker = new PortReadWorker(path, waitMs, chosen);
    worker->moveToThread(&thread);
    connect(&thread, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &PortReadWorker::instrumentFound, this,
            [this](const QString &name) { emit instrumentFound(number, name); });
    connect(worker, &PortReadWorker::countReceived, this,
            [this](int count) { emit countReceived(number, count); });
    connect(worker, &PortReadWorker::blockRead, this, [this](int read, int count, const MemoryBlock &block) {
        emit blockRead(number, read, count, block);
    });
    connect(worker, &PortReadWorker::blockRetried, this,
            [this](int retried, int count, const MemoryBlock &block) {
                emit blockRetried(number, retried, count, block);
            });
    connect(worker, &PortReadWorker::finished, this, &PortRead::workerFinished);
}

PortRead::~PortRead()
{
    cancel();
    thread.quit();
    thread.wait();
}

void PortRead::start()
{
    thread.start();
    QMetaObject::invokeMethod(worker, &PortReadWorker::run, Qt::QueuedConnection);
}

void PortRead::cancel()
{
    // Reaches the worker inside its waits, which serve its thread's events.
    if (!done)
        QMetaObject::invokeMethod(worker, &PortReadWorker::cancel, Qt::QueuedConnection);
}

void PortRead::workerFinished(const PortReadResult &result)
{
    outcome = result;
    done = true;
    // The port closes on its own thread before the thread ends.
    thread.quit();
    thread.wait();
    emit finished(number);
}
