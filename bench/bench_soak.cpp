// Soak: one process, one main window, a simulated instrument plugged in and
// unplugged 200 times, then read completely 100 times. Resident memory and
// open file descriptors are printed before and after (and along the way);
// both should stay flat apart from noise.
//
//   ./bench/bench_soak 2>/dev/null

#include "device/pathportlister.h"
#include "instrumentsimulator.h"
#include "sampleblocks.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <malloc.h>

namespace {

// Defaults; `bench_soak CYCLES READS` runs other counts.
constexpr int kDefaultPlugCycles = 200;
constexpr int kDefaultFullReads = 100;
constexpr int kWarmUpCycles = 3;
constexpr int kWarmUpReads = 20;
constexpr int kReportEvery = 50;
constexpr int kFoundTimeoutMs = 10000;
constexpr int kLostTimeoutMs = 5000;

// Resident set size in kB, from /proc/self/status.
long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// Bytes handed out by malloc and not yet freed: unlike the resident size,
// this does not move with the allocator's fragmentation.
long heapInUseKb()
{
    return long(mallinfo2().uordblks / 1024);
}

int openDescriptors()
{
    // The listing itself holds one descriptor while it runs.
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size()
           - 1;
}

// Counts the monitor's "port removed" log lines and keeps the log quiet.
int &portsRemoved()
{
    static int count = 0;
    return count;
}

void quietLog(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg) {
        if (message.startsWith(QLatin1String("Serial port removed:")))
            ++portsRemoved();
        return;
    }
    QTextStream(stderr) << message << Qt::endl;
}

QString signedKb(long kb)
{
    return (kb >= 0 ? QStringLiteral("+") : QString()) + QString::number(kb) + QStringLiteral(" kB");
}

struct Soak
{
    InstrumentSimulator &instrument;
    MainWindow &window;
    QPushButton *readButton;
    QListWidget *list;
    QTextStream &out;
    int failures = 0;

    // Plugs in until the window offers the read, unplugs until it no longer
    // does and the monitor has seen the port go (so the next plug is new).
    bool plugCycle()
    {
        instrument.clearRecords();
        if (!instrument.plugIn())
            return false;
        if (!QTest::qWaitFor([this] { return readButton->isEnabled(); }, kFoundTimeoutMs))
            return false;
        const int removedBefore = portsRemoved();
        instrument.unplug();
        return QTest::qWaitFor(
            [this, removedBefore] { return !readButton->isEnabled() && portsRemoved() > removedBefore; },
            kLostTimeoutMs);
    }

    bool fullRead()
    {
        // The simulator keeps a record of every request; that is not the program's memory.
        instrument.clearRecords();
        readButton->click();
        if (list->count() != instrument.blocks().size() || !readButton->isEnabled())
            return false;
        // Each block shown once, as the user goes through them.
        for (int row = 0; row < list->count(); ++row)
            QMetaObject::invokeMethod(&window, "on_block_names_list_itemDoubleClicked",
                                      Q_ARG(QListWidgetItem *, list->item(row)));
        return true;
    }

    void figures(const QString &when, long rss = residentKb(), int fds = openDescriptors(),
                 long heap = heapInUseKb())
    {
        out << QStringLiteral("  %1: VmRSS %2 kB, heap in use %3 kB, open descriptors %4")
                   .arg(when)
                   .arg(rss)
                   .arg(heap)
                   .arg(fds)
            << Qt::endl;
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    qInstallMessageHandler(quietLog);
    QTextStream out(stdout);
    const QStringList arguments = QCoreApplication::arguments();
    const int kPlugCycles = arguments.size() > 1 ? arguments.at(1).toInt() : kDefaultPlugCycles;
    const int kFullReads = arguments.size() > 2 ? arguments.at(2).toInt() : kDefaultFullReads;

    QTemporaryDir folder;
    InstrumentSimulator instrument;
    instrument.setBlocks(sampleBlocks());
    instrument.setLinkPath(folder.filePath(QStringLiteral("instrument")));
    const auto ports = std::make_shared<PathPortLister>();
    ports->addPath(instrument.linkPath());

    MainWindow window(ports);
    Soak soak{instrument, window, window.findChild<QPushButton *>(QStringLiteral("button_read_data")),
              window.findChild<QListWidget *>(QStringLiteral("block_names_list")), out};
    int valueCount = 0;
    for (const SimulatedBlock &block : instrument.blocks())
        valueCount += block.values.size();

    out << "Plug and unplug cycles: " << kPlugCycles << " (after " << kWarmUpCycles << " to warm up)"
        << Qt::endl;
    for (int i = 0; i < kWarmUpCycles; ++i)
        soak.failures += soak.plugCycle() ? 0 : 1;
    const long rssBefore = residentKb();
    const int fdsBefore = openDescriptors();
    const long heapBefore = heapInUseKb();
    soak.figures(QStringLiteral("before"), rssBefore, fdsBefore, heapBefore);
    QElapsedTimer clock;
    clock.start();
    for (int i = 1; i <= kPlugCycles; ++i) {
        if (!soak.plugCycle()) {
            ++soak.failures;
            out << "  cycle " << i << " failed" << Qt::endl;
        }
        if (i % kReportEvery == 0)
            soak.figures(QStringLiteral("after %1 cycles").arg(i));
    }
    out << QStringLiteral("  %1 s per cycle").arg(clock.elapsed() / 1000.0 / qMax(1, kPlugCycles), 0, 'f', 3)
        << Qt::endl;
    const long rssAfterCycles = residentKb();
    const int fdsAfterCycles = openDescriptors();
    const long heapAfterCycles = heapInUseKb();

    out << "Full reads, each block shown after each: " << kFullReads << " of " << instrument.blocks().size()
        << " blocks, " << valueCount << " values (after " << kWarmUpReads << " to warm up)" << Qt::endl;
    instrument.plugIn();
    if (!QTest::qWaitFor([&soak] { return soak.readButton->isEnabled(); }, kFoundTimeoutMs)) {
        out << "the simulated instrument was not found" << Qt::endl;
        return 1;
    }
    for (int i = 0; i < kWarmUpReads; ++i)
        soak.failures += soak.fullRead() ? 0 : 1;
    const long rssBeforeReads = residentKb();
    const int fdsBeforeReads = openDescriptors();
    const long heapBeforeReads = heapInUseKb();
    soak.figures(QStringLiteral("before"), rssBeforeReads, fdsBeforeReads, heapBeforeReads);
    clock.restart();
    for (int i = 1; i <= kFullReads; ++i) {
        if (!soak.fullRead()) {
            ++soak.failures;
            out << "  read " << i << " failed" << Qt::endl;
        }
        if (i % kReportEvery == 0)
            soak.figures(QStringLiteral("after %1 reads").arg(i));
    }
    out << QStringLiteral("  %1 s per read").arg(clock.elapsed() / 1000.0 / qMax(1, kFullReads), 0, 'f', 3)
        << Qt::endl;

    out << "Summary" << Qt::endl;
    out << QStringLiteral(
               "  plug cycles: VmRSS %1 -> %2 kB (%3), heap in use %4 -> %5 kB (%6), descriptors %7 -> %8")
               .arg(rssBefore)
               .arg(rssAfterCycles)
               .arg(signedKb(rssAfterCycles - rssBefore))
               .arg(heapBefore)
               .arg(heapAfterCycles)
               .arg(signedKb(heapAfterCycles - heapBefore))
               .arg(fdsBefore)
               .arg(fdsAfterCycles)
        << Qt::endl;
    const long rssAfterReads = residentKb();
    const int fdsAfterReads = openDescriptors();
    const long heapAfterReads = heapInUseKb();
    out << QStringLiteral(
               "  full reads:  VmRSS %1 -> %2 kB (%3), heap in use %4 -> %5 kB (%6), descriptors %7 -> %8")
               .arg(rssBeforeReads)
               .arg(rssAfterReads)
               .arg(signedKb(rssAfterReads - rssBeforeReads))
               .arg(heapBeforeReads)
               .arg(heapAfterReads)
               .arg(signedKb(heapAfterReads - heapBeforeReads))
               .arg(fdsBeforeReads)
               .arg(fdsAfterReads)
        << Qt::endl;
    out << "  failed cycles or reads: " << soak.failures << Qt::endl;
    return soak.failures == 0 ? 0 : 1;
}
