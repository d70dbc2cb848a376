#include "report/analysissection.h"

#include "report/reporttexts.h"

#include <QCoreApplication>
#include <cmath>

namespace {

constexpr int kCountDecimals = 0;
constexpr int kMeanDecimals = 3;
constexpr int kSigmaDecimals = 4;
constexpr int kIndexDecimals = 2;
constexpr int kPpmDecimals = 1;
// Past this many runs a rule's line ends in "… ещё N": tens of thousands of
// points may break a rule, and nobody reads them one by one.
constexpr int kMostListedRuns = 50;

// The texts belong to the analysis window's catalogue contexts, where they were written first.
QString dialogText(const char *source)
{
    return QCoreApplication::translate("ProcessAnalysisDialog", source);
}

QString tableText(const char *source)
{
    return QCoreApplication::translate("CapabilityTable", source);
}

QString reportText(const char *source)
{
    return QCoreApplication::translate("AnalysisReport", source);
}

AnalysisRow figureRow(const QString &label, double value, int decimals)
{
    AnalysisRow row;
    row.label = label;
    row.value = value;
    row.decimals = decimals;
    return row;
}

AnalysisRow indexRow(const QString &label, const IndexEstimate &estimate)
{
    AnalysisRow row = figureRow(label, estimate.value, kIndexDecimals);
    row.lower = estimate.lower;
    row.upper = estimate.upper;
    row.interval = true;
    return row;
}

} // namespace

QVector<AnalysisRow> analysisCapabilityRows(const ProcessCapability &c)
{
    return {figureRow(tableText("n"), c.n, kCountDecimals),
            figureRow(tableText("исключено (не числа)"), c.excluded, kCountDecimals),
            figureRow(tableText("среднее"), c.mean, kMeanDecimals),
            figureRow(tableText("σ внутренняя (MR̄ / 1.128)"), c.sigmaWithin, kSigmaDecimals),
            figureRow(tableText("σ общая"), c.sigmaOverall, kSigmaDecimals),
            indexRow(QStringLiteral("Cp"), c.cp),
            indexRow(QStringLiteral("Cpk"), c.cpk),
            indexRow(QStringLiteral("Pp"), c.pp),
            indexRow(QStringLiteral("Ppk"), c.ppk),
            figureRow(tableText("ожидаемая доля вне допуска, ppm"), c.expectedPpmOutside, kPpmDecimals),
            figureRow(tableText("наблюдаемая доля вне допуска, ppm"), c.observedPpmOutside, kPpmDecimals)};
}

QStringList analysisCapabilityColumns()
{
    return {tableText("Показатель"), tableText("Значение"), tableText("95 % ДИ, от"),
            tableText("95 % ДИ, до")};
}

QString analysisSmallSampleNote()
{
    return tableText("малая выборка (n < %1)").arg(kCapabilitySmallSample);
}

AnalysisSection analysisSection(const ReportAnalysis &analysis)
{
    AnalysisSection section;
    if (!analysis.included)
        return section;
    section.included = true;
    section.heading = dialogText("Анализ процесса");
    section.sheetName = reportText("Анализ");
    section.charts = {{dialogText("Гистограмма"), analysis.histogram},
                      {reportText("Карта индивидуальных значений (I)"), analysis.individuals},
                      {reportText("Карта скользящих размахов (MR)"), analysis.movingRange}};
    section.tableHeading = dialogText("Пригодность");
    section.columns = analysisCapabilityColumns();
    const ProcessCapability &capability = analysis.analysis.capability;
    section.rows = analysisCapabilityRows(capability);
    if (capability.n > 0 && capability.smallSample)
        section.note = analysisSmallSampleNote();
    section.rulesHeading = reportText("Нарушения правил");
    section.rules = analysisRuleLines(analysis.analysis);
    if (section.rules.isEmpty())
        section.rules.append(dialogText("правила не проверены: σ не определена или равна 0"));
    return section;
}

QStringList analysisRuleLines(const ProcessAnalysis &analysis)
{
    QStringList lines;
    if (analysis.values.isEmpty())
        return lines;
    if (!(analysis.limits.sigma > 0.0)) {
        lines.append(dialogText("правила не проверены: σ не определена или равна 0"));
        return lines;
    }
    for (int rule = 0; rule < kRuleCount; ++rule) {
        const QVector<NumberRun> runs = numberRuns(analysis.breaking[rule]);
        if (runs.isEmpty())
            continue;
        QStringList parts;
        for (int i = 0; i < runs.size() && i < kMostListedRuns; ++i) {
            const NumberRun &run = runs.at(i);
            parts.append(run.first == run.last ? QString::number(run.first)
                                               : QStringLiteral("%1–%2").arg(run.first).arg(run.last));
        }
        QString numbers = parts.join(QStringLiteral(", "));
        if (runs.size() > kMostListedRuns)
            numbers += dialogText(" … ещё %1").arg(runs.size() - kMostListedRuns);
        const bool single = runs.size() == 1 && runs.first().first == runs.first().last;
        lines.append((single ? dialogText("правило %1: значение %2") : dialogText("правило %1: значения %2"))
                         .arg(rule + 1)
                         .arg(numbers));
    }
    if (lines.isEmpty())
        lines.append(dialogText("правила не нарушены"));
    return lines;
}

SpecLimits analysisSpecLimits(const ToleranceBand &band)
{
    if (!band.on)
        return {};
    const auto limit = [](double value) { return std::isfinite(value) ? value : qQNaN(); };
    return {limit(activeLower(band)), limit(activeUpper(band))};
}

QString analysisFigureText(double value, int decimals)
{
    if (!std::isfinite(value))
        return kNoNumberText;
    return QString::number(value, 'f', decimals);
}
