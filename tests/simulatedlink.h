#pragma once

#include "device/pathportlister.h"
#include "device/port.h"
#include "instrumentsimulator.h"
#include "testports.h"
#include "testtime.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

// A path of this test process only. Device numbers of pseudo-terminals are
// reused at once by other processes (tests running in parallel); a link that
// the simulator removes on unplugging never leads to someone else's device.
inline QString privateLinkPath()
{
    static QTemporaryDir folder;
    static int count = 0;
    return folder.filePath(QStringLiteral("instrument-%1").arg(++count));
}

// Plugs a simulator in and lists its path.
inline bool plugInWatched(InstrumentSimulator &simulator, PathPortLister &ports)
{
    if (simulator.linkPath().isEmpty())
        simulator.setLinkPath(privateLinkPath());
    if (!simulator.plugIn())
        return false;
    ports.addPath(simulator.portPath());
    return true;
}

// A port that has found the simulated instrument: the simulator is plugged
// in first, then the port's monitor finds it at its first poll.
struct SimulatedLink
{
    std::shared_ptr<PathPortLister> ports = noPorts();
    InstrumentSimulator simulator;
    std::unique_ptr<Port> port;

    explicit SimulatedLink(const QVector<SimulatedBlock> &blocks = {},
                           const InstrumentBehaviour &behaviour = InstrumentBehaviour())
    {
        simulator.setBlocks(blocks);
        simulator.setBehaviour(behaviour);
    }

    // Plugs in, builds the port and waits for the handshake's verdict.
    bool connect(int timeoutMs = 5000)
    {
        if (!plugInWatched(simulator, *ports))
            return false;
        port = std::make_unique<Port>(ports);
        QSignalSpy found(port.get(), &Port::validPortFound);
        return found.wait(testMs(timeoutMs));
    }
};

// Counts how often the event loop goes back to sleep over a stretch of time:
// an idle program does so a few times, a busy loop hundreds of thousands.
inline int eventLoopWakeUps(int durationMs)
{
    int wakeUps = 0;
    auto *dispatcher = QAbstractEventDispatcher::instance();
    const QMetaObject::Connection counting = QObject::connect(
        dispatcher, &QAbstractEventDispatcher::aboutToBlock, dispatcher, [&wakeUps] { ++wakeUps; });
    QEventLoop loop;
    QTimer::singleShot(durationMs, &loop, &QEventLoop::quit);
    loop.exec();
    QObject::disconnect(counting);
    return wakeUps;
}
