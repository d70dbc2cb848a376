#include "ui/analysischarts.h"

#include "report/analysissection.h"
#include "ui/adaptivemarkergraph.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <qcustomplot.h>

namespace {

const QColor kPointsColour(Qt::blue);
const QColor kBreakColour(220, 0, 0);
const QColor kCentreColour(0, 128, 0);
const QColor kControlColour(200, 80, 0);
const QColor kBandColour(Qt::red);
const QColor kBarColour(0, 0, 255, 90);
const QColor kBarOutline(0, 0, 0, 150);
const QColor kCurveColour(Qt::black);
constexpr double kPointsPenWidth = 1.0;
constexpr double kMarkerSize = 5.0;
constexpr double kBreakMarkerSize = 8.0;
constexpr double kLineWidth = 1.5;
constexpr int kCurvePoints = 200;
constexpr double kCurveSigmas = 4.0; // the curve spans the mean ± this many σ
constexpr double kSqrtTwoPi = 2.5066282746310002;
constexpr double kRangeMargin = 0.05;
constexpr double kEmptyRangeHalf = 1.0;
constexpr int kLimitDecimals = 3;
// Straight lines are given by two points; any two on the line do.
constexpr double kLinePoint1 = 0.0;
constexpr double kLinePoint2 = 1.0;

QPen linePen(const QColor &colour, Qt::PenStyle style = Qt::SolidLine)
{
    QPen pen(colour, kLineWidth);
    pen.setStyle(style);
    return pen;
}

void startPlot(QCustomPlot *plot, const QString &keyLabel, const QString &valueLabel)
{
    plot->clearPlottables();
    plot->clearItems();
    plot->xAxis->setLabel(keyLabel);
    plot->yAxis->setLabel(valueLabel);
}

// A horizontal line at `value`, its label ("ВКГ = 20.012") at the right end above it.
void levelLine(QCustomPlot *plot, double value, const QPen &pen, const QString &name)
{
    if (!std::isfinite(value))
        return;
    auto *line = new QCPItemStraightLine(plot);
    line->point1->setCoords(kLinePoint1, value);
    line->point2->setCoords(kLinePoint2, value);
    line->setPen(pen);
    auto *label = new QCPItemText(plot);
    label->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
    label->position->setTypeY(QCPItemPosition::ptPlotCoords);
    label->position->setCoords(1.0, value);
    label->setPositionAlignment(Qt::AlignRight | Qt::AlignBottom);
    label->setColor(pen.color());
    label->setText(QStringLiteral("%1 = %2").arg(name, analysisFigureText(value, kLimitDecimals)));
}

void verticalLine(QCustomPlot *plot, double key, const QPen &pen)
{
    if (!std::isfinite(key))
        return;
    auto *line = new QCPItemStraightLine(plot);
    line->point1->setCoords(key, kLinePoint1);
    line->point2->setCoords(key, kLinePoint2);
    line->setPen(pen);
}

QCPRange withMargin(QCPRange range)
{
    if (!(range.size() > 0.0))
        return QCPRange(range.lower - kEmptyRangeHalf, range.upper + kEmptyRangeHalf);
    const double margin = range.size() * kRangeMargin;
    return QCPRange(range.lower - margin, range.upper + margin);
}

// The axis shows the data and every line that is drawn.
void fitAxis(QCPAxis *axis, const QVector<double> &data, std::initializer_list<double> lines)
{
    QCPRange range(qQNaN(), qQNaN());
    bool any = false;
    auto take = [&](double v) {
        if (!std::isfinite(v))
            return;
        range = any ? QCPRange(std::min(range.lower, v), std::max(range.upper, v)) : QCPRange(v, v);
        any = true;
    };
    if (!data.isEmpty()) {
        const auto [low, high] = std::minmax_element(data.cbegin(), data.cend());
        take(*low);
        take(*high);
    }
    for (double v : lines)
        take(v);
    if (any)
        axis->setRange(withMargin(range));
}

QCPGraph *pointsGraph(QCustomPlot *plot, const QVector<double> &keys, const QVector<double> &values)
{
    auto *graph =
        new AdaptiveMarkerGraph(plot->xAxis, plot->yAxis, AdaptiveMarkerGraph::DenseMarkers::Omitted);
    graph->setData(keys, values, true);
    graph->setPen(QPen(kPointsColour, kPointsPenWidth));
    graph->setLineStyle(QCPGraph::lsLine);
    graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, kPointsColour, kMarkerSize));
    return graph;
}

void markBreaks(QCustomPlot *plot, const ProcessAnalysis &analysis)
{
    QVector<int> numbers;
    for (const QVector<int> &rule : analysis.breaking)
        numbers += rule;
    if (numbers.isEmpty())
        return;
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    QVector<double> keys, values;
    keys.reserve(numbers.size());
    values.reserve(numbers.size());
    for (int number : numbers) {
        const auto at = std::lower_bound(analysis.numbers.cbegin(), analysis.numbers.cend(), double(number));
        keys.append(number);
        values.append(analysis.values.at(int(at - analysis.numbers.cbegin())));
    }
    auto *marks =
        new AdaptiveMarkerGraph(plot->xAxis, plot->yAxis, AdaptiveMarkerGraph::DenseMarkers::Merged);
    marks->setData(keys, values, true);
    marks->setLineStyle(QCPGraph::lsNone);
    marks->setPen(QPen(kBreakColour, kLineWidth));
    marks->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(kBreakColour, kLineWidth),
                                           QBrush(Qt::NoBrush), kBreakMarkerSize));
}

} // namespace

void drawHistogram(QCustomPlot *plot, const ProcessAnalysis &analysis, const SpecLimits &spec,
                   const ChartTexts &texts)
{
    startPlot(plot, texts.value, texts.count);
    const HistogramBins &bins = analysis.bins;
    const int binCount = bins.counts.size();
    QVector<double> keys(binCount), counts(binCount);
    for (int i = 0; i < binCount; ++i) {
        keys[i] = bins.start + (i + 0.5) * bins.width;
        counts[i] = bins.counts.at(i);
    }
    if (binCount > 0) {
        auto *bars = new QCPBars(plot->xAxis, plot->yAxis);
        bars->setWidth(bins.width);
        bars->setData(keys, counts, true);
        bars->setPen(QPen(kBarOutline));
        bars->setBrush(kBarColour);
    }

    const ProcessCapability &c = analysis.capability;
    QVector<double> curveKeys, curveValues;
    if (c.sigmaOverall > 0.0) {
        // The density scaled to counts: n readings in bins of this width.
        const double scale = c.n * bins.width / (c.sigmaOverall * kSqrtTwoPi);
        const double from = c.mean - kCurveSigmas * c.sigmaOverall;
        const double step = 2.0 * kCurveSigmas * c.sigmaOverall / (kCurvePoints - 1);
        for (int i = 0; i < kCurvePoints; ++i) {
            const double x = from + i * step;
            const double z = (x - c.mean) / c.sigmaOverall;
            curveKeys.append(x);
            curveValues.append(scale * std::exp(-0.5 * z * z));
        }
        auto *curve = plot->addGraph();
        curve->setData(curveKeys, curveValues, true);
        curve->setPen(linePen(kCurveColour));
    }
    verticalLine(plot, spec.lower, linePen(kBandColour));
    verticalLine(plot, spec.upper, linePen(kBandColour));
    verticalLine(plot, c.mean, linePen(kCentreColour, Qt::DashLine));

    const double binsEnd = bins.start + binCount * bins.width;
    fitAxis(plot->xAxis, curveKeys,
            {bins.start, binCount > 0 ? binsEnd : qQNaN(), spec.lower, spec.upper, c.mean});
    counts.append(0.0);
    fitAxis(plot->yAxis, counts, {});
    plot->yAxis->setRangeLower(0.0);
}

void drawIndividuals(QCustomPlot *plot, const ProcessAnalysis &analysis, const ChartTexts &texts)
{
    startPlot(plot, texts.number, texts.value);
    pointsGraph(plot, analysis.numbers, analysis.values);
    markBreaks(plot, analysis);
    const ImrLimits &l = analysis.limits;
    levelLine(plot, l.centre, linePen(kCentreColour), texts.centre);
    levelLine(plot, l.upper, linePen(kControlColour, Qt::DashLine), texts.upper);
    levelLine(plot, l.lower, linePen(kControlColour, Qt::DashLine), texts.lower);
    fitAxis(plot->xAxis, analysis.numbers, {});
    fitAxis(plot->yAxis, analysis.values, {l.upper, l.lower});
}

void drawMovingRange(QCustomPlot *plot, const ProcessAnalysis &analysis, const ChartTexts &texts)
{
    startPlot(plot, texts.number, texts.movingRange);
    pointsGraph(plot, analysis.rangeNumbers, analysis.movingRanges);
    const ImrLimits &l = analysis.limits;
    levelLine(plot, l.rangeCentre, linePen(kCentreColour), texts.centre);
    levelLine(plot, l.rangeUpper, linePen(kControlColour, Qt::DashLine), texts.upper);
    levelLine(plot, l.rangeLower, linePen(kControlColour, Qt::DashLine), texts.lower);
    // Keys as the individuals chart has them, so that both read alike.
    fitAxis(plot->xAxis, analysis.numbers, {});
    fitAxis(plot->yAxis, analysis.movingRanges, {l.rangeUpper, 0.0});
}
