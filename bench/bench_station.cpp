// zrv-station's reads of four instruments at once, each port on a thread of
// its own, against four paced simulators (57600 baud 8N1, 5760 bytes/s).
//
// The figure that matters: the time from the first port's count request to
// the last port's last block, over the slowest single read's wire time
// (every byte of its requests and answers crossing the wire at 5760 bytes/s,
// one exchange after the other); the goal is at most 1.05. The same ratio
// against the slowest read measured alone is printed beside it.
//   ./bench/bench_station 2>/dev/null

#include "figures.h"
#include "instrumentbehaviour.h"
#include "instrumentsimulator.h"
#include "station/portread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kPorts = 4;
constexpr int kBlocks = 8;
constexpr int kValuesPerBlock = 300;
constexpr int kRuns = 3;
constexpr double kGoalRatio = 1.05;
constexpr int kWaitMs = 10000;
// The handshake's requests and answers are no part of the read.
constexpr int kIdentifyBytes = 8;

QVector<SimulatedBlock> blocksOfPort(int port)
{
    QVector<SimulatedBlock> blocks;
    for (int b = 0; b < kBlocks; ++b) {
        SimulatedBlock block{QStringLiteral("P%1 %2").arg(port).arg(b + 1, 4, 10, QLatin1Char('0')), {}};
        // A few more values on each port, so that one read is the slowest.
        for (int v = 0; v < kValuesPerBlock + 10 * port; ++v)
            block.values.append(float(port * 100 + v % 7));
        blocks.append(block);
    }
    return blocks;
}

double readWireSeconds(const InstrumentSimulator &simulator)
{
    int identify = 0;
    for (const quint32 word : simulator.requests())
        identify += (word & 0xff) == quint32(instrumentcode::kIdentify) ? 1 : 0;
    const qint64 bytes = simulator.receivedBytes().size() + simulator.bytesSent() - kIdentifyBytes * identify;
    return double(bytes) / kWireBytesPerSecond;
}

struct Together
{
    double spanSeconds = 0;      // first read's start to last read's end
    QVector<double> readSeconds; // each port's own read
    QVector<double> wireSeconds;
    bool complete = true;
};

Together readTogether(const std::vector<InstrumentSimulator *> &simulators)
{
    std::vector<std::unique_ptr<PortRead>> reads;
    QEventLoop loop;
    int running = int(simulators.size());
    for (size_t i = 0; i < simulators.size(); ++i) {
        simulators.at(i)->clearRecords();
        reads.push_back(
            std::make_unique<PortRead>(int(i), simulators.at(i)->portPath(), kWaitMs, QVector<int>()));
        QObject::connect(reads.back().get(), &PortRead::finished, &loop, [&] {
            if (--running == 0)
                loop.quit();
        });
    }
    for (auto &read : reads)
        read->start();
    loop.exec();

    Together together;
    qint64 first = std::numeric_limits<qint64>::max();
    qint64 last = 0;
    for (size_t i = 0; i < reads.size(); ++i) {
        const PortReadResult &result = reads.at(i)->result();
        together.complete =
            together.complete && result.outcome == PortOutcome::Complete && result.blocksRead == kBlocks;
        const qint64 start = result.startedAt.toMSecsSinceEpoch();
        first = std::min(first, start);
        last = std::max(last, start + result.readMs);
        together.readSeconds.append(result.readMs / 1000.0);
        together.wireSeconds.append(readWireSeconds(*simulators.at(i)));
    }
    together.spanSeconds = (last - first) / 1000.0;
    return together;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir links;
    InstrumentBehaviour paced;
    paced.bytesPerSecond = kWireBytesPerSecond;
    std::vector<std::unique_ptr<InstrumentSimulator>> simulators;
    std::vector<InstrumentSimulator *> all;
    for (int port = 0; port < kPorts; ++port) {
        simulators.push_back(std::make_unique<InstrumentSimulator>());
        simulators.back()->setBlocks(blocksOfPort(port));
        simulators.back()->setBehaviour(paced);
        simulators.back()->setLinkPath(links.filePath(QStringLiteral("instrument-%1").arg(port)));
        if (!simulators.back()->plugIn()) {
            out << "a simulator could not be plugged in" << Qt::endl;
            return 1;
        }
        all.push_back(simulators.back().get());
    }

    out << kPorts << " paced simulators, " << kBlocks << " blocks of about " << kValuesPerBlock
        << " values each, " << kWireBytesPerSecond << " bytes/s" << Qt::endl;
    double slowestWire = 0;
    double slowestAlone = 0;
    for (InstrumentSimulator *simulator : all) {
        const Together alone = readTogether({simulator});
        slowestWire = std::max(slowestWire, alone.wireSeconds.first());
        slowestAlone = std::max(slowestAlone, alone.readSeconds.first());
        out << QStringLiteral("alone: read %1 s, wire time %2 s%3")
                   .arg(alone.readSeconds.first(), 0, 'f', 3)
                   .arg(alone.wireSeconds.first(), 0, 'f', 3)
                   .arg(alone.complete ? QString() : QStringLiteral(" (INCOMPLETE)"))
            << Qt::endl;
    }

    QVector<double> ratios;
    for (int run = 0; run < kRuns; ++run) {
        const Together together = readTogether(all);
        const double ratio = together.spanSeconds / slowestWire;
        ratios.append(ratio);
        out << QStringLiteral("together: %1 s; over the slowest single read's wire time %2 s: %3; "
                              "over the slowest read alone %4 s: %5%6")
                   .arg(together.spanSeconds, 0, 'f', 3)
                   .arg(slowestWire, 0, 'f', 3)
                   .arg(ratio, 0, 'f', 3)
                   .arg(slowestAlone, 0, 'f', 3)
                   .arg(together.spanSeconds / slowestAlone, 0, 'f', 3)
                   .arg(together.complete ? QString() : QStringLiteral(" (INCOMPLETE)"))
            << Qt::endl;
    }
    const Figures figures = summary(ratios);
    out << QStringLiteral("ratio median %1, worst %2; goal <= %3: %4")
               .arg(figures.median, 0, 'f', 3)
               .arg(figures.worst, 0, 'f', 3)
               .arg(kGoalRatio, 0, 'f', 2)
               .arg(figures.median <= kGoalRatio ? QStringLiteral("met") : QStringLiteral("NOT met"))
        << Qt::endl;
    return 0;
}
