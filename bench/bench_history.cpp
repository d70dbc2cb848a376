// The measurement history against its goals, on SQLite: storing a read of
// 10 blocks x 65 535 values (goal: 100 ms), opening the history window with
// 10 000 reads stored (goal: 200 ms) and loading a read of one 65 535-value
// block back (goal: 50 ms). Prints the median and the worst of several runs.

#include "../tests/historytestdata.h"
#include "../tests/mainwindowtester.h"
#include "device/pathportlister.h"
#include "figures.h"
#include "history/historyreader.h"
#include "history/historywriter.h"
#include "ui/historydialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTextStream>
#include <algorithm>
#include <functional>

namespace {

constexpr int kRuns = 9;
constexpr int kStoredReads = 10000;
constexpr int kBlocks = 10;
constexpr int kLargestBlock = 65535;
const QDateTime kStart(QDate(2024, 1, 8), QTime(6, 0), Qt::UTC);

// `prepare` runs untimed before each timed `work`.
Figures timed(const std::function<void(int)> &prepare, const std::function<void(int)> &work)
{
    QVector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        prepare(run);
        QElapsedTimer clock;
        clock.start();
        work(run);
        times.append(clock.nsecsElapsed() / 1e6);
    }
    return summary(times);
}

} // namespace

int main(int argc, char **argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir folder;

    // Storing: every run a read with new values, so nothing is shared.
    {
        HistoryConnection store(folder.filePath(QStringLiteral("store.sqlite")));
        if (!store.open()) {
            out << "cannot open the store: " << store.lastError().text << '\n';
            return 1;
        }
        HistoryWriter writer(store);
        ReadRecord read;
        bool ok = true;
        const Figures figures = timed(
            [&](int run) { read = noisyRead(kStart.addSecs(run), kBlocks, kLargestBlock, quint32(run + 1)); },
            [&](int) { ok = writer.storeRead(read) && ok; });
        reportMs(out, QStringLiteral("store a read of %1 x %2 values").arg(kBlocks).arg(kLargestBlock),
                 figures, 100);
        if (!ok)
            out << "a store failed: " << store.lastError().text << '\n';
    }

    // Loading a stored block back.
    {
        HistoryConnection store(folder.filePath(QStringLiteral("load.sqlite")));
        store.open();
        HistoryWriter(store).storeRead(noisyRead(kStart, 1, kLargestBlock, 77));
        QVector<StoredRead> reads;
        HistoryReader(store).listReads(ReadFilter(), nullptr, 1, &reads);
        ReadRecord back;
        const Figures figures =
            timed([](int) {}, [&](int) { HistoryReader(store).loadRead(reads.value(0).id, &back); });
        reportMs(out, QStringLiteral("load a read of one %1-value block").arg(kLargestBlock), figures, 50);
    }

    // Opening the history window, a new window each run.
    {
        freshSettingsFolder();
        const QString path =
            historyDatabasePath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        {
            HistoryConnection store(path);
            store.open();
            store.exec(QStringLiteral("PRAGMA synchronous = OFF")); // only to fill it quickly
            HistoryWriter writer(store);
            for (int i = 0; i < kStoredReads; ++i) {
                QVector<MemoryBlock> blocks;
                for (int b = 0; b < 3; ++b)
                    blocks.append(
                        makeBlock(QStringLiteral("Блок %1").arg(b), noisyValues(200, quint32(i * 3 + b))));
                writer.storeRead(makeRead(kStart.addSecs(i * 60), blocks));
            }
        }
        std::unique_ptr<MainWindow> window;
        HistoryDialog *dialog = nullptr;
        bool listed = true;
        const Figures figures = timed(
            [&](int) {
                window = std::make_unique<MainWindow>(noPorts());
                window->show();
                QApplication::processEvents();
            },
            [&](int) {
                MainWindowTester::ui(*window)->action_history->trigger();
                dialog = window->findChild<HistoryDialog *>();
                // The list comes from the history's worker: until it is shown.
                listed = QTest::qWaitFor([dialog] { return dialog && !dialog->isBusy(); }, 30000) && listed;
                QApplication::processEvents();
            });
        reportMs(out, QStringLiteral("open the history window with %1 reads").arg(kStoredReads), figures,
                 200);
        if (!dialog || !dialog->isVisible() || !listed)
            out << "the history window did not open\n";
    }
    return 0;
}
