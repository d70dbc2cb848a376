// zrv-demo: the ZRV window with a simulated instrument plugged in.
//
//   zrv-demo [--no-simulator] [PORT_PATH ...]
//
// Every PORT_PATH (a separately run zrv-instrument-sim, any pseudo-terminal)
// is watched like a serial port as well.

#include "app/startup.h"
#include "device/pathportlister.h"
#include "instrumentsimulator.h"
#include "sampleblocks.h"
#include "simulatorpanel.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ZRV with a simulated instrument."));
    parser.addHelpOption();
    const QCommandLineOption noSimulator(QStringLiteral("no-simulator"),
                                         QStringLiteral("Do not start the built-in simulated instrument."));
    parser.addOption(noSimulator);
    parser.addPositionalArgument(QStringLiteral("PORT_PATH"),
                                 QStringLiteral("Further device paths to watch as serial ports."),
                                 QStringLiteral("[PORT_PATH...]"));
    parser.process(app);

    QTextStream err(stderr);
    // The system's serial ports, and the simulated instrument's besides.
    const auto ports = std::make_shared<PathPortLister>(PathPortLister::SystemPorts::Included);
    QTemporaryDir linkFolder;
    std::unique_ptr<InstrumentSimulator> simulator;
    std::unique_ptr<SimulatorPanel> panel;
    if (!parser.isSet(noSimulator)) {
        simulator = std::make_unique<InstrumentSimulator>();
        simulator->setBlocks(sampleBlocks());
        InstrumentBehaviour behaviour;
        behaviour.bytesPerSecond = kWireBytesPerSecond;
        simulator->setBehaviour(behaviour);
        // One path for the instrument, however often it is unplugged.
        if (linkFolder.isValid())
            simulator->setLinkPath(linkFolder.filePath(QStringLiteral("instrument")));
        QString problem;
        if (simulator->plugIn(&problem)) {
            ports->addPath(simulator->portPath());
            err << "simulated instrument at " << simulator->portPath() << " (" << simulator->devicePath()
                << ")" << Qt::endl;
            panel = std::make_unique<SimulatorPanel>(simulator.get());
            panel->show();
        } else {
            err << "the simulated instrument cannot be plugged in: " << problem << Qt::endl;
        }
    }
    for (const QString &path : parser.positionalArguments())
        ports->addPath(QDir::cleanPath(QDir::current().absoluteFilePath(path)));

    const int status = zrv::runApplication(app, ports);
    panel.reset();
    simulator.reset();
    return status;
}
