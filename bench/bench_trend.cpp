// The trend across reads against its goal, on SQLite: the blocks of one name
// from the newest 1 000 reads that hold it (among as many reads of other
// blocks), fetched through the history's worker and drawn by the trend widget
// (goal: 300 ms from the click to the charts replotted). Prints the median and
// the worst of several runs, and the first run (the store opened) apart.

#include "../tests/historytestdata.h"
#include "figures.h"
#include "history/historyservice.h"
#include "history/historywriter.h"
#include "ui/processtrend.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <cmath>

namespace {

constexpr int kRuns = 9;
constexpr int kTrendReads = 1000;
constexpr int kSubgroupSize = 5;
constexpr int kOtherBlockValues = 200;
constexpr int kAnswerWaitMs = 60000;
constexpr double kGoalMs = 300.0;
const QDateTime kStart(QDate(2024, 3, 4), QTime(6, 0), Qt::UTC);
const QString kName = QStringLiteral("Вал 20h6");

QVector<float> subgroup(int i)
{
    QVector<float> values(kSubgroupSize);
    for (int j = 0; j < kSubgroupSize; ++j)
        values[j] = float(20.0 + 0.004 * std::sin(i * 0.37 + j * 1.3) + 0.001 * std::cos(i * 0.05));
    return values;
}

} // namespace

int main(int argc, char **argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir folder;
    {
        HistoryConnection store(historyDatabasePath(folder.path()));
        if (!store.open()) {
            out << "cannot open the store: " << store.lastError().text << '\n';
            return 1;
        }
        store.exec(QStringLiteral("PRAGMA synchronous = OFF")); // only to fill it quickly
        HistoryWriter writer(store);
        for (int i = 0; i < kTrendReads; ++i) {
            const QVector<MemoryBlock> named = {
                makeBlock(QStringLiteral("Корпус"), noisyValues(kOtherBlockValues, quint32(2 * i))),
                makeBlock(kName, subgroup(i))};
            const QVector<MemoryBlock> other = {makeBlock(
                QStringLiteral("Шов %1").arg(i % 50), noisyValues(kOtherBlockValues, quint32(2 * i + 1)))};
            if (!writer.storeRead(makeRead(kStart.addSecs(i * 120), named))
                || !writer.storeRead(makeRead(kStart.addSecs(i * 120 + 60), other))) {
                out << "cannot store: " << store.lastError().text << '\n';
                return 1;
            }
        }
    }

    HistoryService service(folder.path(), HistorySettings(), folder.filePath(QStringLiteral("spool")));
    ProcessTrend trend(&service);
    trend.resize(1000, 700);
    trend.show();
    trend.setBlockName(kName);
    auto *button = trend.findChild<QPushButton *>(QStringLiteral("trend_load_button"));
    QSignalSpy drawn(&trend, &ProcessTrend::drawn);
    QVector<double> times;
    double first = 0.0;
    for (int run = 0; run <= kRuns; ++run) {
        QApplication::processEvents();
        QElapsedTimer clock;
        clock.start();
        button->click();
        if (!drawn.wait(kAnswerWaitMs)) {
            out << "no answer from the history\n";
            return 1;
        }
        const double ms = clock.nsecsElapsed() / 1e6;
        if (run == 0)
            first = ms;
        else
            times.append(ms);
    }
    if (trend.analysis().chart.points.size() != kTrendReads) {
        out << "the trend holds " << trend.analysis().chart.points.size() << " subgroups, not " << kTrendReads
            << '\n';
        return 1;
    }
    reportMs(out,
             QStringLiteral("trend of %1 reads (subgroups of %2) fetched and drawn")
                 .arg(kTrendReads)
                 .arg(kSubgroupSize),
             summary(times), kGoalMs);
    out << "the first, with the store opened: " << QString::number(first, 'f', 1) << " ms\n";
    return 0;
}
