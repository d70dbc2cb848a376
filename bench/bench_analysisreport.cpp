// The process analysis for a report of a full block (65 535 readings): worked
// out and its three charts drawn off-screen, and what it adds to writing the
// PDF and the workbook. Run by hand:
//   QT_QPA_PLATFORM=offscreen ./bench_analysisreport
#include "figures.h"
#include "report/excelreport.h"
#include "report/pdfreport.h"
#include "report/reportassembly.h"
#include "ui/reportanalysiscapture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <cmath>
#include <functional>

namespace {

constexpr int kReadings = 65535;
constexpr int kRuns = 9;
constexpr int kWriterRuns = 3;
constexpr double kCapturedGoalMs = 100.0;
const QSize kChartSize(600, 280);
const ToleranceBand kBand{true, 19.985, 20.015};

QVector<float> readings()
{
    QVector<float> values(kReadings);
    quint32 state = 1;
    for (int i = 0; i < kReadings; ++i) {
        state = state * 1664525u + 1013904223u;
        const double noise = (state >> 8) / double(1 << 24) - 0.5;
        values[i] = float(20.0 + 0.01 * std::sin(i * 0.37) + 0.004 * noise);
    }
    return values;
}

} // namespace

int main(int argc, char **argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QVector<float> values = readings();

    int checksum = 0;
    const Figures computed = timedMs(
        [&] {
            checksum += analyseProcess(values, {kBand.lower, kBand.upper}).capability.n;
        },
        kRuns);
    ReportAnalysis captured;
    const Figures total =
        timedMs([&] { captured = captureReportAnalysis(values, kBand, kChartSize); }, kRuns);
    out << QStringLiteral("analysis of %1 readings for a report: computed %2 ms, computed and three charts "
                          "drawn %3 ms (worst %4 ms), goal %5 ms: %6; on the window's thread (drawing) "
                          "about %7 ms (checksum %8)\n")
               .arg(kReadings)
               .arg(computed.median, 0, 'f', 1)
               .arg(total.median, 0, 'f', 1)
               .arg(total.worst, 0, 'f', 1)
               .arg(kCapturedGoalMs)
               .arg(total.median <= kCapturedGoalMs ? QStringLiteral("ok") : QStringLiteral("MISSED"))
               .arg(total.median - computed.median, 0, 'f', 1)
               .arg(checksum);

    ReportSource source;
    source.hasBlock = true;
    source.block = {QStringLiteral("Вал 0001"), values};
    source.content.values = values;
    source.band = kBand;
    source.captions = defaultReportCaptions();
    source.reportDate = QDate(2024, 2, 1);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    const QString xlsx = dir.filePath(QStringLiteral("report.xlsx"));
    for (bool with : {false, true}) {
        source.analysis = with ? captured : ReportAnalysis();
        const ReportData pdfData = pdfReportData(source, false);
        const ReportData excelData = excelReportData(source, false);
        const Figures pdfTime = timedMs([&] { writePdfReportFile(pdf, pdfData); }, kWriterRuns);
        const Figures excelTime = timedMs([&] { writeExcelReportFile(xlsx, excelData); }, kWriterRuns);
        out << QStringLiteral("%1 the analysis: PDF %2 ms, workbook %3 ms\n")
                   .arg(with ? QStringLiteral("with") : QStringLiteral("without"))
                   .arg(pdfTime.median, 0, 'f', 0)
                   .arg(excelTime.median, 0, 'f', 0);
    }
    return 0;
}
