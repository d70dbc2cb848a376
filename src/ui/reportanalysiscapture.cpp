#include "ui/reportanalysiscapture.h"

#include "report/analysissection.h"
#include "ui/analysischarts.h"
#include "ui/analysisrunner.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPainter>
#include <functional>
#include <qcustomplot.h>

namespace {

// The charts carry the analysis window's words.
QString dialogText(const char *source)
{
    return QCoreApplication::translate("ProcessAnalysisDialog", source);
}

ChartTexts chartTexts()
{
    return {dialogText("ЦЛ"),
            dialogText("ВКГ"),
            dialogText("НКГ"),
            dialogText("Номер значения"),
            dialogText("Значение"),
            dialogText("Число значений"),
            dialogText("Скользящий размах")};
}

ProcessAnalysis analysedOnThread(const QVector<float> &readings, const SpecLimits &spec)
{
    AnalysisRunner runner;
    QEventLoop loop;
    ProcessAnalysis result;
    QObject::connect(&runner, &AnalysisRunner::analysed, &loop,
                     [&result, &loop](const ProcessAnalysis &done) {
                         result = done;
                         loop.quit();
                     });
    runner.request(readings, spec, kAllRules);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return result;
}

QImage chartImage(const QSize &size, const std::function<void(QCustomPlot *)> &draw)
{
    QCustomPlot plot;
    plot.resize(size);
    draw(&plot);
    plot.replot(QCustomPlot::rpImmediateRefresh);
    const QImage drawn = plot.toPixmap(size.width(), size.height(), 1.0).toImage();
    // PDF/A allows no transparency; the translucent bars are flattened on white.
    QImage opaque(drawn.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, drawn);
    painter.end();
    return opaque;
}

} // namespace

ReportAnalysis captureReportAnalysis(const QVector<float> &readings, const ToleranceBand &band,
                                     const QSize &chartSize)
{
    ReportAnalysis report;
    report.included = true;
    const SpecLimits spec = analysisSpecLimits(band);
    report.analysis = analysedOnThread(readings, spec);
    const ChartTexts texts = chartTexts();
    const ProcessAnalysis &analysis = report.analysis;
    report.histogram =
        chartImage(chartSize, [&](QCustomPlot *plot) { drawHistogram(plot, analysis, spec, texts); });
    report.individuals =
        chartImage(chartSize, [&](QCustomPlot *plot) { drawIndividuals(plot, analysis, texts); });
    report.movingRange =
        chartImage(chartSize, [&](QCustomPlot *plot) { drawMovingRange(plot, analysis, texts); });
    return report;
}
