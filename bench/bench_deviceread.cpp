// Reads a simulated instrument of 10 blocks x 1000 values through the main
// window's read button, at the wire speed of 57600 baud 8N1 and unpaced.
//
// Paced, the figure that matters is the read time over the wire-time limit:
// every byte of every request and answer has to cross the wire at 5760
// bytes/s, one exchange after the other. Unpaced, the time per exchange is
// the program's own overhead. Run with the debug log out of the way:
//   ./bench/bench_deviceread 2>/dev/null

#include "instrumentsimulator.h"
#include "ui/mainwindow.h"
#include "device/port.h"
#include "device/portlisting.h"
#include "sampleblocks.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTextStream>
#include <algorithm>

namespace {

constexpr int kBlocks = 10;
constexpr int kValuesPerBlock = 1000;
constexpr int kPacedRuns = 3;
constexpr int kUnpacedRuns = 20;
constexpr int kSingleExchanges = 2000;
constexpr double kTargetRatio = 1.05;

struct ReadFigures
{
    double seconds = 0;
    qint64 wireBytes = 0;
    int exchanges = 0;
    int blocksListed = 0;
};

ReadFigures timedRead(InstrumentSimulator &instrument, MainWindow &window)
{
    auto *button = window.findChild<QPushButton *>(QStringLiteral("button_read_data"));
    auto *list = window.findChild<QListWidget *>(QStringLiteral("block_names_list"));
    instrument.clearRecords();
    QElapsedTimer clock;
    clock.start();
    button->click();
    ReadFigures figures;
    figures.seconds = clock.nsecsElapsed() / 1e9;
    figures.wireBytes = instrument.receivedBytes().size() + instrument.bytesSent();
    figures.exchanges = instrument.requests().size();
    figures.blocksListed = list->count();
    return figures;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QTextStream out(stdout);

    setSystemPortsListed(false);
    InstrumentSimulator instrument;
    instrument.setBlocks(uniformBlocks(kBlocks, kValuesPerBlock));
    InstrumentBehaviour paced;
    paced.bytesPerSecond = kWireBytesPerSecond;
    instrument.setBehaviour(paced);
    if (!instrument.plugIn()) {
        out << "cannot open a pseudo-terminal" << Qt::endl;
        return 1;
    }
    addVirtualPortPath(instrument.portPath());

    {
        // Single count exchanges, unpaced: the cost of one request and answer.
        instrument.setBehaviour(InstrumentBehaviour());
        Port port;
        if (!QTest::qWaitFor([&port] { return port.isInstrumentConnected(); }, 10000)) {
            out << "the simulated instrument was not found" << Qt::endl;
            return 1;
        }
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < kSingleExchanges; ++i)
            port.getBlocksAmount();
        out << QStringLiteral("Unpaced count exchange: %1 us each (%2 exchanges)")
                   .arg(clock.nsecsElapsed() / 1e3 / kSingleExchanges, 0, 'f', 1)
                   .arg(kSingleExchanges)
            << Qt::endl;
        instrument.setBehaviour(paced);
    }

    MainWindow window;
    auto *button = window.findChild<QPushButton *>(QStringLiteral("button_read_data"));
    if (!QTest::qWaitFor([button] { return button->isEnabled(); }, 10000)) {
        out << "the simulated instrument was not found" << Qt::endl;
        return 1;
    }

    out << "Read of " << kBlocks << " blocks x " << kValuesPerBlock << " values, paced at "
        << kWireBytesPerSecond << " bytes/s (57600 baud 8N1)" << Qt::endl;
    QVector<double> ratios;
    for (int run = 0; run < kPacedRuns; ++run) {
        const ReadFigures f = timedRead(instrument, window);
        const double wireSeconds = double(f.wireBytes) / kWireBytesPerSecond;
        ratios.append(f.seconds / wireSeconds);
        out << QStringLiteral("  run %1: %2 s for %3 bytes in %4 exchanges (%5 blocks listed); "
                              "wire-time limit %6 s; ratio %7")
                   .arg(run + 1)
                   .arg(f.seconds, 0, 'f', 3)
                   .arg(f.wireBytes)
                   .arg(f.exchanges)
                   .arg(f.blocksListed)
                   .arg(wireSeconds, 0, 'f', 3)
                   .arg(ratios.last(), 0, 'f', 4)
            << Qt::endl;
    }
    std::sort(ratios.begin(), ratios.end());
    out << QStringLiteral("  median ratio %1 (target at most %2)")
               .arg(ratios.at(ratios.size() / 2), 0, 'f', 4)
               .arg(kTargetRatio, 0, 'f', 2)
        << Qt::endl;

    instrument.setBehaviour(InstrumentBehaviour());
    QVector<double> perExchange;
    for (int run = 0; run < kUnpacedRuns; ++run) {
        const ReadFigures f = timedRead(instrument, window);
        perExchange.append(f.seconds / f.exchanges * 1e6);
    }
    std::sort(perExchange.begin(), perExchange.end());
    out << QStringLiteral("Unpaced read of the same blocks: median %1 us per exchange (%2 runs, best %3 us)")
               .arg(perExchange.at(perExchange.size() / 2), 0, 'f', 1)
               .arg(kUnpacedRuns)
               .arg(perExchange.first(), 0, 'f', 1)
        << Qt::endl;

    return 0;
}
