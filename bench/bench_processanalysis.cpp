// Process analysis of a full block (65 535 readings): histogram bins, I-MR
// limits, the five rules and the capability table. Drawing is not measured yet.
#include "figures.h"
#include "values/capability.h"
#include "values/controlrules.h"
#include "values/histogrambins.h"

#include <QElapsedTimer>
#include <QTextStream>
#include <QtTest>
#include <cmath>

namespace {

constexpr int kReadings = 65535;
constexpr int kRuns = 15;
constexpr double kGoalMs = 100.0;

} // namespace

class BenchProcessAnalysis : public QObject
{
    Q_OBJECT

private slots:
    void computeFullBlock()
    {
        QVector<float> readings(kReadings);
        for (int i = 0; i < kReadings; ++i)
            readings[i] = float(20.0 + 0.01 * std::sin(i * 0.37) + 0.002 * std::cos(i * 1.91));
        QVector<double> times;
        int broken = 0;
        for (int run = 0; run < kRuns; ++run) {
            QElapsedTimer timer;
            timer.start();
            const HistogramBins bins = histogramBins(readings);
            QVector<double> values;
            values.reserve(kReadings);
            for (float r : readings)
                if (std::isfinite(r))
                    values.append(r);
            const ImrLimits limits = imrLimits(values);
            const RuleBreaks breaks = ruleBreaks(values, limits.centre, limits.sigma);
            const ProcessCapability capability = processCapability(readings, {19.98, 20.02});
            times.append(timer.nsecsElapsed() / 1e6);
            broken = breaks.points[0].size() + bins.counts.size() + capability.n;
        }
        const Figures f = summary(times);
        QTextStream(stdout) << QStringLiteral("process analysis of %1 readings, computed (not drawn): "
                                              "median %2 ms, worst %3 ms, goal %4 ms with drawing: %5 (checksum %6)\n")
                                   .arg(kReadings)
                                   .arg(f.median, 0, 'f', 1)
                                   .arg(f.worst, 0, 'f', 1)
                                   .arg(kGoalMs)
                                   .arg(f.median <= kGoalMs ? QStringLiteral("ok") : QStringLiteral("MISSED"))
                                   .arg(broken);
    }
};

QTEST_APPLESS_MAIN(BenchProcessAnalysis)
#include "bench_processanalysis.moc"
