// Reads a simulated instrument through the main window's read button, at the
// wire speed of 57600 baud 8N1 and unpaced, for three shapes of memory:
// 10 blocks x 1000 values, 100 blocks x 10 values and 1 block x 65535 values.
//
// Paced, the figure that matters is the read time over the wire-time limit:
// every byte of every request and answer has to cross the wire at 5760
// bytes/s, one exchange after the other; the goal is at most 1.02 for each
// shape. Unpaced, the time per exchange is the program's own overhead. Run
// with the debug log out of the way:
//   ./bench/bench_deviceread 2>/dev/null
// or name the shapes to read, paced only: ./bench/bench_deviceread 100x10

#include "figures.h"
#include "device/pathportlister.h"
#include "device/port.h"
#include "instrumentsimulator.h"
#include "sampleblocks.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTextStream>
#include <algorithm>
#include <ctime>

namespace {

struct Shape
{
    int blocks;
    int valuesPerBlock;
    int pacedRuns;
};

constexpr Shape kShapes[] = {{10, 1000, 3}, {100, 10, 3}, {1, 65535, 1}};
constexpr int kUnpacedRuns = 20;
constexpr int kSingleExchanges = 2000;
constexpr double kGoalRatio = 1.02;
constexpr int kFoundTimeoutMs = 10000;

// CPU time of the whole process (the window and the simulator run in it).
double processCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

struct ReadFigures
{
    double seconds = 0;
    double cpuSeconds = 0;
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
    const double cpuBefore = processCpuSeconds();
    clock.start();
    button->click();
    ReadFigures figures;
    figures.seconds = clock.nsecsElapsed() / 1e9;
    figures.cpuSeconds = processCpuSeconds() - cpuBefore;
    figures.wireBytes = instrument.receivedBytes().size() + instrument.bytesSent();
    figures.exchanges = instrument.requests().size();
    figures.blocksListed = list->count();
    return figures;
}

// The paced reads of one shape; returns the median ratio to the wire time.
double pacedReads(InstrumentSimulator &instrument, MainWindow &window, const Shape &shape, QTextStream &out)
{
    instrument.setBlocks(uniformBlocks(shape.blocks, shape.valuesPerBlock));
    InstrumentBehaviour paced;
    paced.bytesPerSecond = kWireBytesPerSecond;
    instrument.setBehaviour(paced);

    out << "Read of " << shape.blocks << " blocks x " << shape.valuesPerBlock << " values, paced at "
        << kWireBytesPerSecond << " bytes/s (57600 baud 8N1)" << Qt::endl;
    QVector<double> ratios;
    for (int run = 0; run < shape.pacedRuns; ++run) {
        const ReadFigures f = timedRead(instrument, window);
        const double wireSeconds = double(f.wireBytes) / kWireBytesPerSecond;
        ratios.append(f.seconds / wireSeconds);
        out << QStringLiteral("  run %1: %2 s for %3 bytes in %4 exchanges (%5 blocks listed); "
                              "wire-time limit %6 s; ratio %7; CPU %8 us per exchange")
                   .arg(run + 1)
                   .arg(f.seconds, 0, 'f', 3)
                   .arg(f.wireBytes)
                   .arg(f.exchanges)
                   .arg(f.blocksListed)
                   .arg(wireSeconds, 0, 'f', 3)
                   .arg(ratios.last(), 0, 'f', 4)
                   .arg(f.cpuSeconds / f.exchanges * 1e6, 0, 'f', 0)
            << Qt::endl;
    }
    const double ratio = summary(ratios).median;
    out << QStringLiteral("  median ratio %1 (goal at most %2): %3")
               .arg(ratio, 0, 'f', 4)
               .arg(kGoalRatio, 0, 'f', 2)
               .arg(ratio <= kGoalRatio ? QStringLiteral("met") : QStringLiteral("NOT MET"))
        << Qt::endl;
    return ratio;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QTextStream out(stdout);

    InstrumentSimulator instrument;
    if (!instrument.plugIn()) {
        out << "cannot open a pseudo-terminal" << Qt::endl;
        return 1;
    }
    const auto ports = std::make_shared<PathPortLister>();
    ports->addPath(instrument.portPath());

    {
        // Single count exchanges, unpaced: the cost of one request and answer.
        Port port(ports);
        if (!QTest::qWaitFor([&port] { return port.isInstrumentConnected(); }, kFoundTimeoutMs)) {
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
    }

    MainWindow window(ports);
    auto *button = window.findChild<QPushButton *>(QStringLiteral("button_read_data"));
    if (!QTest::qWaitFor([button] { return button->isEnabled(); }, kFoundTimeoutMs)) {
        out << "the simulated instrument was not found" << Qt::endl;
        return 1;
    }

    // Shapes named on the command line ("100x10") run alone, e.g. under a profiler.
    const QStringList chosen = app.arguments().mid(1);
    bool allMet = true;
    for (const Shape &shape : kShapes) {
        const QString name = QStringLiteral("%1x%2").arg(shape.blocks).arg(shape.valuesPerBlock);
        if (chosen.isEmpty() || chosen.contains(name))
            allMet = pacedReads(instrument, window, shape, out) <= kGoalRatio && allMet;
    }
    if (!chosen.isEmpty())
        return allMet ? 0 : 1;
    out << (allMet ? "Every shape meets the goal." : "Not every shape meets the goal.") << Qt::endl;

    const Shape &first = kShapes[0];
    instrument.setBlocks(uniformBlocks(first.blocks, first.valuesPerBlock));
    instrument.setBehaviour(InstrumentBehaviour());
    QVector<double> perExchange;
    for (int run = 0; run < kUnpacedRuns; ++run) {
        const ReadFigures f = timedRead(instrument, window);
        perExchange.append(f.seconds / f.exchanges * 1e6);
    }
    std::sort(perExchange.begin(), perExchange.end());
    out << QStringLiteral(
               "Unpaced read of %1 blocks x %2 values: median %3 us per exchange (%4 runs, best %5 us)")
               .arg(first.blocks)
               .arg(first.valuesPerBlock)
               .arg(perExchange.at(perExchange.size() / 2), 0, 'f', 1)
               .arg(kUnpacedRuns)
               .arg(perExchange.first(), 0, 'f', 1)
        << Qt::endl;

    return 0;
}
