#pragma once

#include "instrumentsimulator.h"
#include "simulatedlink.h"
#include "testtime.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

// The built zrv-station as a child process, in a home of its own (its
// config.json and default history under the test's folder), with no display
// and no platform chosen. Simulators of the test process answer it, so the
// test's event loop runs while it waits.
class StationProcess
{
public:
    static constexpr int kFinishMs = 120000;

    explicit StationProcess(const QString &home)
        : home(home)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("HOME"), home);
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
        process.setProcessEnvironment(environment);
    }

    // The window's folder: config.json, history.json and history.sqlite.
    QString windowFolder() const { return home + QStringLiteral("/data/zrv"); }

    void start(const QStringList &arguments)
    {
        stderrText.clear();
        QObject::connect(&process, &QProcess::readyReadStandardError, &process,
                         [this] { stderrText += QString::fromUtf8(process.readAllStandardError()); });
        process.start(QStringLiteral(ZRV_STATION_PROGRAM), arguments);
    }

    // Waits (serving the simulators) until the station's stderr holds `text`.
    bool waitForProgress(const QString &text, int timeoutMs = 60000)
    {
        serveUntil([&] { return stderrText.contains(text); }, timeoutMs);
        return stderrText.contains(text);
    }

    bool finish()
    {
        if (!serveUntil([] { return false; }, kFinishMs))
            return false;
        stderrText += QString::fromUtf8(process.readAllStandardError());
        output = process.readAllStandardOutput();
        return process.exitStatus() == QProcess::NormalExit;
    }

    // Runs to the end; false when it did not end by itself.
    bool run(const QStringList &arguments)
    {
        start(arguments);
        return finish();
    }

    int exitCode() const { return process.exitCode(); }
    QJsonObject json() const { return QJsonDocument::fromJson(output).object(); }
    // The first port's part of the JSON document, and its blocks.
    QJsonObject firstPort() const { return json().value(QStringLiteral("ports")).toArray().at(0).toObject(); }
    QJsonArray firstPortBlocks() const { return firstPort().value(QStringLiteral("blocks")).toArray(); }
    QString errors() const { return stderrText; }
    QByteArray stdoutBytes() const { return output; }
    qint64 pid() const { return process.processId(); }

private:
    // Runs the event loop until `done` holds or the station has ended (true
    // then), or the time is up. A loop that sleeps between turns, as
    // QTest::qWaitFor does for 10 ms, would answer the station's requests
    // late by as much, beyond a one-value block's 10 ms data wait.
    template <typename Done>
    bool serveUntil(Done done, int timeoutMs)
    {
        const auto ended = [&] { return done() || process.state() == QProcess::NotRunning; };
        if (ended())
            return true;
        QEventLoop loop;
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        const auto check = [&] {
            if (ended())
                loop.quit();
        };
        QObject::connect(&process, &QProcess::readyReadStandardError, &loop, check, Qt::QueuedConnection);
        QObject::connect(&process, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), &loop,
                         check, Qt::QueuedConnection);
        QObject::connect(&process, &QProcess::errorOccurred, &loop, check, Qt::QueuedConnection);
        deadline.start(testMs(timeoutMs));
        loop.exec();
        return ended();
    }

    QString home;
    QProcess process;
    QString stderrText;
    QByteArray output;
};

// A simulator plugged in at a path of the test's own.
inline std::unique_ptr<InstrumentSimulator> pluggedSimulator(const QVector<SimulatedBlock> &blocks,
                                                             const InstrumentBehaviour &behaviour = {})
{
    auto simulator = std::make_unique<InstrumentSimulator>();
    simulator->setBlocks(blocks);
    simulator->setBehaviour(behaviour);
    simulator->setLinkPath(privateLinkPath());
    if (!simulator->plugIn())
        return nullptr;
    return simulator;
}
