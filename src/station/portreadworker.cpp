#include "station/portreadworker.h"

#include "device/blockreader.h"
#include "device/pathportlister.h"
#include "device/port.h"
#include "device/systemportlister.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

QString portOutcomeName(PortOutcome outcome)
{
    switch (outcome) {
    case PortOutcome::Complete:
        return QStringLiteral("complete");
    case PortOutcome::Cancelled:
        return QStringLiteral("cancelled");
    case PortOutcome::InstrumentLost:
        return QStringLiteral("instrument lost");
    case PortOutcome::CountFailed:
        return QStringLiteral("count failed");
    case PortOutcome::NotFound:
        break;
    }
    return QStringLiteral("not found");
}

namespace {

PortOutcome fromReader(BlockReader::Outcome outcome)
{
    switch (outcome) {
    case BlockReader::Outcome::Complete:
        return PortOutcome::Complete;
    case BlockReader::Outcome::Cancelled:
        return PortOutcome::Cancelled;
    case BlockReader::Outcome::InstrumentLost:
        return PortOutcome::InstrumentLost;
    case BlockReader::Outcome::CountFailed:
        break;
    }
    return PortOutcome::CountFailed;
}

std::shared_ptr<const PortLister> listerFor(const QString &path)
{
    if (path.isEmpty())
        return systemPortLister();
    auto lister = std::make_shared<PathPortLister>();
    lister->addPath(path);
    return lister;
}

} // namespace

PortReadWorker::PortReadWorker(const QString &path, int waitMs, const QVector<int> &chosen)
    : path(path)
    , waitMs(waitMs)
    , chosen(chosen)
{}

void PortReadWorker::cancel()
{
    cancelled = true;
    if (waiting)
        waiting->quit();
    if (reader)
        reader->cancel();
}

void PortReadWorker::run()
{
    PortReadResult result;
    result.requestedPath = path;
    {
        Port port(listerFor(path));
        // The port's monitor finds the instrument at its polls, inside this wait.
        if (!cancelled && !port.isInstrumentConnected()) {
            QEventLoop loop;
            QTimer deadline;
            deadline.setSingleShot(true);
            connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
            connect(&port, &Port::validPortFound, &loop, &QEventLoop::quit);
            deadline.start(waitMs);
            waiting = &loop;
            loop.exec();
            waiting = nullptr;
        }
        if (!port.isInstrumentConnected()) {
            result.outcome = cancelled ? PortOutcome::Cancelled : PortOutcome::NotFound;
            emit finished(result);
            return;
        }
        result.portName = port.instrumentPortName();
        emit instrumentFound(result.portName);

        BlockReader blockReader(port);
        connect(&blockReader, &BlockReader::countReceived, this, &PortReadWorker::countReceived);
        connect(&blockReader, &BlockReader::blockRead, this, &PortReadWorker::blockRead);
        result.startedAt = QDateTime::currentDateTimeUtc();
        QElapsedTimer clock;
        clock.start();
        if (cancelled) {
            result.outcome = PortOutcome::Cancelled;
        } else {
            reader = &blockReader;
            result.outcome = fromReader(blockReader.read());
            if (result.outcome == PortOutcome::Complete)
                result.outcome = retryFailedBlocks(blockReader, port);
            reader = nullptr;
        }
        result.readMs = clock.elapsed();
        result.blockCount = blockReader.blockCount();
        // As the window keeps them: blocks after a loss keep their rows, with their faults.
        result.blocks = blockReader.blocks();
        result.blocksRead = blockReader.blocksRead();
    }
    emit finished(result);
}

PortOutcome PortReadWorker::retryFailedBlocks(BlockReader &blockReader, const Port &port)
{
    // A request that timed out on a busy line often answers the next time;
    // nobody is there to press "read" again.
    const int count = blockReader.blockCount();
    for (int i = 0; i < blockReader.blocks().size(); ++i) {
        if (blockReader.blocks().at(i).fault == BlockFault::None
            || !(chosen.isEmpty() || chosen.contains(i + 1)))
            continue;
        if (cancelled || !blockReader.readBlockAgain(i))
            return PortOutcome::Cancelled;
        if (!port.isInstrumentConnected() || blockReader.blocks().at(i).miss == BlockMiss::InstrumentLost)
            return PortOutcome::InstrumentLost;
        emit blockRetried(i + 1, count, blockReader.blocks().at(i));
    }
    return PortOutcome::Complete;
}
