#pragma once

#include "station/portreadresult.h"

#include <QObject>
#include <QString>
#include <atomic>

class BlockReader;
class QEventLoop;

// The part of PortRead that lives on the read's thread.
class PortReadWorker : public QObject
{
    Q_OBJECT

public:
    PortReadWorker(const QString &path, int waitMs);

    void run();
    void cancel();

signals:
    void instrumentFound(const QString &portName);
    void countReceived(int count);
    void blockRead(int done, int count, const MemoryBlock &block);
    void finished(const PortReadResult &result);

private:
    const QString path;
    const int waitMs;
    bool cancelled = false;
    QEventLoop *waiting = nullptr;
    BlockReader *reader = nullptr;
};
