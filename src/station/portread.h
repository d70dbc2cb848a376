#pragma once

#include "station/portreadresult.h"

#include <QObject>
#include <QThread>
#include <memory>

class PortReadWorker;

// Reads one port on a thread of its own: the port's waits are nested event
// loops, so two ports on one thread would each wait for the other's answers.
// The worker finds the instrument (within the wait), then reads every block.
class PortRead : public QObject
{
    Q_OBJECT

public:
    // `path` empty: the system's serial ports, the first instrument that answers.
    // `chosen`: the block numbers whose failed reads are tried again; empty: all.
    PortRead(int index, const QString &path, int waitMs, const QVector<int> &chosen,
             QObject *parent = nullptr);
    ~PortRead() override;

    void start();
    // Ends the wait for the instrument or the read after its current exchange.
    void cancel();

    int index() const { return number; }
    bool isFinished() const { return done; }
    const PortReadResult &result() const { return outcome; }

signals:
    void instrumentFound(int index, const QString &portName);
    void countReceived(int index, int count);
    void blockRead(int index, int done, int count, const MemoryBlock &block);
    void blockRetried(int index, int number, int count, const MemoryBlock &block);
    void finished(int index);

private:
    void workerFinished(const PortReadResult &result);

    const int number;
    QThread thread;
    PortReadWorker *worker = nullptr;
    PortReadResult outcome;
    bool done = false;
};
