// zrv-instrument-sim: a simulated instrument on a pseudo-terminal.

#include "instrumentsimulator.h"
#include "simulatoroptions.h"
#include "stopsignals.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QTimer>

namespace {

constexpr int kUsageExitStatus = 2;
constexpr int kPlugInExitStatus = 1;

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    SimulatorOptions options;
    QString problem;
    if (!parseSimulatorOptions(app.arguments(), &options, &problem)) {
        const bool help = app.arguments().contains(QStringLiteral("-h"))
                          || app.arguments().contains(QStringLiteral("--help"));
        (help ? out : err) << problem << Qt::endl;
        return help ? 0 : kUsageExitStatus;
    }

    InstrumentSimulator simulator;
    simulator.setBlocks(options.blocks);
    simulator.setBehaviour(options.behaviour);
    simulator.setLinkPath(options.linkPath);

    QObject::connect(&simulator, &InstrumentSimulator::pluggedIn, &app,
                     [&out](const QString &path) { out << path << Qt::endl; });
    QObject::connect(&simulator, &InstrumentSimulator::unplugged, &app, [&] {
        err << "unplugged" << Qt::endl;
        if (options.replugAfterMs >= 0) {
            QTimer::singleShot(options.replugAfterMs, &simulator, [&] {
                QString replugProblem;
                if (!simulator.plugIn(&replugProblem))
                    err << replugProblem << Qt::endl;
            });
        } else {
            app.quit();
        }
    });
    if (options.verbose) {
        QObject::connect(&simulator, &InstrumentSimulator::requestReceived, &app, [&err](quint32 word) {
            err << QStringLiteral("request %1").arg(word, 8, 16, QLatin1Char('0')) << Qt::endl;
        });
    }

    quitOnStopSignals(app);
    if (!simulator.plugIn(&problem)) {
        err << problem << Qt::endl;
        return kPlugInExitStatus;
    }
    return app.exec();
}
