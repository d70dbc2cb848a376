#pragma once

#include "instrumentsimulator.h"
#include "simulatedlink.h"
#include "testtime.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
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
        return QTest::qWaitFor(
                   [&] { return stderrText.contains(text) || process.state() == QProcess::NotRunning; },
                   testMs(timeoutMs))
               && stderrText.contains(text);
    }

    bool finish()
    {
        if (!QTest::qWaitFor([this] { return process.state() == QProcess::NotRunning; }, testMs(kFinishMs)))
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
    QString errors() const { return stderrText; }
    QByteArray stdoutBytes() const { return output; }
    qint64 pid() const { return process.processId(); }

private:
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
