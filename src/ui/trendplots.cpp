#include "ui/trendplots.h"

#include "values/trendanalysis.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <qcustomplot.h>

namespace {

const QColor kPointsColour(Qt::blue);
const QColor kCentreColour(0, 128, 0);
const QColor kLimitColour(Qt::red);
const QColor kBreakColour(Qt::red);
const QColor kFrozenColour(Qt::darkGray);
constexpr double kPointSize = 5.0;
constexpr double kBreakSize = 11.0;
constexpr double kBreakPenWidth = 2.0;
constexpr double kRangeMargin = 0.08; // of the values' span, above and below

// Each subgroup's limit held across its own place, x - 0.5 … x + 0.5; a gap
// (reads left out) breaks the line rather than joining across it.
void setSteps(QCPGraph *graph, const QVector<double> &x, const QVector<double> &limit)
{
    QVector<double> keys, values;
    for (int i = 0; i < x.size(); ++i) {
        if (i > 0 && x[i] - x[i - 1] > 1.0) {
            keys << x[i - 1] + 0.5;
            values << qQNaN();
        }
        keys << x[i] - 0.5 << x[i] + 0.5;
        values << limit[i] << limit[i];
    }
    graph->setAdaptiveSampling(false);
    graph->setData(keys, values, true);
}

} // namespace

TrendPlots::TrendPlots(QCustomPlot *means, QCustomPlot *spread, QObject *parent)
    : QObject(parent)
    , means(means)
    , spread(spread)
{}

void TrendPlots::clear()
{
    for (QCustomPlot *plot : {means, spread}) {
        plot->clearGraphs();
        plot->clearItems();
        plot->yAxis2->setVisible(false);
        plot->replot();
    }
}

void TrendPlots::draw(const TrendAnalysis &trend)
{
    const SubgroupChart &chart = trend.chart;
    Lines m, s;
    m.valueName = QStringLiteral("X̄");
    s.valueName = chart.usesRange ? QStringLiteral("R") : QStringLiteral("S");
    for (int i = 0; i < chart.points.size(); ++i) {
        const SubgroupPoint &p = chart.points[i];
        const double x = trend.source[i] + 1;
        m.x << x;
        m.value << p.mean;
        m.centre << chart.grandMean;
        m.lower << p.meanLower;
        m.upper << p.meanUpper;
        s.x << x;
        s.value << p.spread;
        s.centre << p.spreadCentre;
        s.lower << p.spreadLower;
        s.upper << p.spreadUpper;
    }
    for (const QVector<int> &rule : trend.meanBreaks.points)
        m.breaks += rule;
    s.breaks = trend.spreadBreaks;

    // The marker stands after the last subgroup the limits come from, when later ones follow.
    const double frozenAfter =
        chart.frozen > 0 && chart.frozen < m.x.size() ? m.x[chart.frozen - 1] + 0.5 : qQNaN();
    // Enough decimals to tell limits a tenth of σ apart.
    const int decimals =
        chart.sigma > 0.0 ? std::clamp(1 - int(std::floor(std::log10(chart.sigma))), 0, 8) : 3;
    drawChart(means, m, frozenAfter, decimals);
    drawChart(spread, s, frozenAfter, decimals);
}

void TrendPlots::drawChart(QCustomPlot *plot, const Lines &lines, double frozenAfter, int decimals)
{
    plot->clearGraphs();
    plot->clearItems();
    plot->xAxis->setLabel(tr("Считывание"));
    plot->yAxis->setLabel(lines.valueName);

    // The limits' names and last values beside the chart, on the right axis,
    // where they never cover a point.
    auto labels = QSharedPointer<QCPAxisTickerText>::create();
    const struct
    {
        const char *object;
        QString name;
        const QVector<double> &values;
        QColor colour;
        Qt::PenStyle style;
    } limits[] = {
        {"trend_centre", tr("ЦЛ"), lines.centre, kCentreColour, Qt::SolidLine},
        {"trend_upper", tr("ВКГ"), lines.upper, kLimitColour, Qt::DashLine},
        {"trend_lower", tr("НКГ"), lines.lower, kLimitColour, Qt::DashLine},
    };
    for (const auto &limit : limits) {
        QCPGraph *graph = plot->addGraph();
        graph->setObjectName(QLatin1String(limit.object));
        graph->setName(limit.name);
        graph->setPen(QPen(limit.colour, 1.0, limit.style));
        setSteps(graph, lines.x, limit.values);
        const double last = limit.values.isEmpty() ? qQNaN() : limit.values.last();
        if (std::isfinite(last))
            labels->addTick(last,
                            QStringLiteral("%1 %2").arg(limit.name, QLocale().toString(last, 'f', decimals)));
    }

    QCPGraph *points = plot->addGraph();
    points->setObjectName(QStringLiteral("trend_points"));
    points->setName(lines.valueName);
    points->setPen(QPen(kPointsColour, 1.0));
    points->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, kPointsColour, kPointSize));
    points->setData(lines.x, lines.value, true);

    QCPGraph *breaks = plot->addGraph();
    breaks->setObjectName(QStringLiteral("trend_breaks"));
    breaks->setLineStyle(QCPGraph::lsNone);
    breaks->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(kBreakColour, kBreakPenWidth),
                                            Qt::NoBrush, kBreakSize));
    QVector<int> broken = lines.breaks;
    std::sort(broken.begin(), broken.end());
    broken.erase(std::unique(broken.begin(), broken.end()), broken.end());
    QVector<double> bx, by;
    for (int i : qAsConst(broken)) {
        bx << lines.x[i];
        by << lines.value[i];
    }
    breaks->setData(bx, by, true);

    if (std::isfinite(frozenAfter)) {
        auto *marker = new QCPItemStraightLine(plot);
        marker->setObjectName(QStringLiteral("trend_frozen_marker"));
        marker->setPen(QPen(kFrozenColour, 1.0, Qt::DashDotLine));
        marker->point1->setCoords(frozenAfter, 0.0);
        marker->point2->setCoords(frozenAfter, 1.0);
    }

    double low = qInf(), high = -qInf();
    for (const QVector<double> *v : {&lines.value, &lines.lower, &lines.upper}) {
        for (double y : *v) {
            if (std::isfinite(y)) {
                low = std::min(low, y);
                high = std::max(high, y);
            }
        }
    }
    if (low <= high) {
        const double margin =
            high > low ? (high - low) * kRangeMargin : std::max(std::abs(low), 1.0) * kRangeMargin;
        plot->yAxis->setRange(low - margin, high + margin);
        plot->xAxis->setRange(lines.x.first() - 1.0, lines.x.last() + 1.0);
    }
    plot->yAxis2->setTicker(labels);
    plot->yAxis2->setSubTicks(false);
    plot->yAxis2->setTickLabels(true);
    plot->yAxis2->setVisible(true);
    plot->yAxis2->setRange(plot->yAxis->range());
    plot->replot();
}
