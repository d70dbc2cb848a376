#pragma once

#include "station/portreadresult.h"

#include <QObject>
#include <QString>
#include <QVector>
#include <atomic>

class BlockReader;
class Port;
class QEventLoop;

// The part of PortRead that lives on the read's thread.
class PortReadWorker : public QObject
{
    Q_OBJECT

public:
    // `chosen`: the block numbers (from 1) whose failed reads are tried once
    // more; empty: every block.
    PortReadWorker(const QString &path, int waitMs, const QVector<int> &chosen);

    void run();
    void cancel();

signals:
    void instrumentFound(const QString &portName);
    void countReceived(int count);
    void blockRead(int done, int count, const MemoryBlock &block);
    // Block `number` (from 1) read once more after its read failed.
    void blockRetried(int number, int count, const MemoryBlock &block);
    void finished(const PortReadResult &result);

private:
    // The read ended complete; how it ends after the failed blocks' second try.
    PortOutcome retryFailedBlocks(BlockReader &blockReader, const Port &port);

    const QString path;
    const int waitMs;
    const QVector<int> chosen;
    bool cancelled = false;
    QEventLoop *waiting = nullptr;
    BlockReader *reader = nullptr;
};
