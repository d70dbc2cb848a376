#include "ui/blockview.h"

#include "report/reportassembly.h"
#include "ui/adaptivebars.h"
#include "ui/adaptivemarkergraph.h"
#include "ui/blockplotitems.h"
#include "ui/decimalschoice.h"
#include "ui/plotcapture.h"
#include "ui/queuedreplot.h"
#include "ui/statisticsbox.h"
#include "ui/valuetable.h"
#include "values/bandsplit.h"
#include "values/plotrange.h"
#include "values/plotseries.h"
#include "values/readingnumbers.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDebug>
#include <QDoubleSpinBox>
#include <QGuiApplication>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

const QColor kValuesColour(Qt::blue);
constexpr double kValuesPenWidth = 2.0;
constexpr double kMarkerSize = 7.0;
constexpr double kOutsidePenWidth = 1.5;
const QColor kOutsideMarkerColour(255, 0, 0, 150);
const QColor kInsideBarColour(0, 0, 255, 100);
const QColor kOutsideBarColour(255, 0, 0, 100);
// Typing a lower end above the upper one (or the reverse) moves the other end
// this far past it.
constexpr double kRangeNudge = 1.0;

} // namespace

BlockView::BlockView(const BlockViewWidgets &widgets, QObject *parent)
    : QObject(parent)
    , w(widgets)
{
    for (QCustomPlot *plot : {w.graph, w.diagram}) {
        plot->setInteraction(QCP::iRangeZoom, true);
        plot->setInteraction(QCP::iRangeDrag, true);
    }
    setWheelZoom(Qt::Horizontal);
    linkAxes();
    // Their width is set once, before the layout first runs.
    for (QDoubleSpinBox *box : {w.minimum, w.maximum, w.mean, w.stdev}) {
        prepareStatisticBox(box);
        box->setDecimals(boxDecimals(valueDecimals()));
    }

    verdictView = new BandVerdictView(w.verdict, this);
    auto *copy = new QShortcut(QKeySequence::Copy, w.table, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(copy, &QShortcut::activated, this, &BlockView::copySelectedRows);

    graphMinLine = new QCPItemStraightLine(w.graph);
    graphMaxLine = new QCPItemStraightLine(w.graph);
    diagramMinLine = new QCPItemStraightLine(w.diagram);
    diagramMaxLine = new QCPItemStraightLine(w.diagram);
    updateLimitLines();
}

void BlockView::linkAxes()
{
    // Range changes replot once the input event is handled, so that a drag
    // that moves both axes of both plots draws each plot once.
    auto *graphReplot = new QueuedReplot(w.graph);
    auto *diagramReplot = new QueuedReplot(w.diagram);
    // The linked axes keep both plots on the same ranges; these go by signature
    // string so that the library's own setRange slot is what receives them.
    connect(w.graph->xAxis, SIGNAL(rangeChanged(const QCPRange &)), w.diagram->xAxis,
            SLOT(setRange(const QCPRange &)));
    connect(w.diagram->xAxis, SIGNAL(rangeChanged(const QCPRange &)), w.graph->xAxis,
            SLOT(setRange(const QCPRange &)));
    connect(w.graph->xAxis, SIGNAL(rangeChanged(const QCPRange &)), graphReplot, SLOT(request()));
    connect(w.diagram->xAxis, SIGNAL(rangeChanged(const QCPRange &)), diagramReplot, SLOT(request()));
    connect(w.graph->yAxis, SIGNAL(rangeChanged(const QCPRange &)), w.diagram->yAxis,
            SLOT(setRange(const QCPRange &)));
    connect(w.diagram->yAxis, SIGNAL(rangeChanged(const QCPRange &)), w.graph->yAxis,
            SLOT(setRange(const QCPRange &)));
    connect(w.graph->yAxis, SIGNAL(rangeChanged(const QCPRange &)), graphReplot, SLOT(request()));
    connect(w.diagram->yAxis, SIGNAL(rangeChanged(const QCPRange &)), diagramReplot, SLOT(request()));
}

void BlockView::setWheelZoom(Qt::Orientation orientation)
{
    w.graph->axisRect(0)->setRangeZoom(orientation);
    w.diagram->axisRect(0)->setRangeZoom(orientation);
}

void BlockView::showBlock(const MemoryBlock &block)
{
    shown = block;
    blockShownOnce = true;
    // The fill marks the cells against the band as it goes.
    fillValueTable(w.table, shown.values, band(), valueDecimals());
    drawPlots();
    showStatistics();
    showVerdict();
    emit blockShown(!shown.values.isEmpty());
}

void BlockView::clearBlock()
{
    shown = MemoryBlock();
    blockShownOnce = false;
    w.table->setRowCount(0);
    w.graph->clearGraphs();
    w.diagram->clearPlottables();
    w.graph->replot();
    w.diagram->replot();
    showStatistics();
    showVerdict();
    emit blockShown(false);
}

bool BlockView::hasBlock() const
{
    return blockShownOnce;
}

const MemoryBlock &BlockView::block() const
{
    return shown;
}

BlockStatistics BlockView::statistics() const
{
    return statisticsAsShown(shownStatistics);
}

ToleranceBand BlockView::band() const
{
    const auto kind =
        w.toleranceKind ? ToleranceKind(w.toleranceKind->currentIndex()) : ToleranceKind::TwoSided;
    return {w.band->isChecked(), w.bandLower->value(), w.bandUpper->value(), kind};
}

int BlockView::valueDecimals() const
{
    return chosenDecimals(w.decimals);
}

void BlockView::decimalsChosen()
{
    const double lower = w.bandLower->value();
    const double upper = w.bandUpper->value();
    for (QDoubleSpinBox *box : {w.bandLower, w.bandUpper, w.minimum, w.maximum, w.mean, w.stdev})
        box->setDecimals(boxDecimals(valueDecimals()));
    if (hasBlock()) {
        fillValueTable(w.table, shown.values, band(), valueDecimals());
        showStatistics();
    }
    // Fewer decimals round the limits: the block is judged against them as they now are.
    if (w.bandLower->value() != lower || w.bandUpper->value() != upper)
        bandEdited();
}

VerdictTexts BlockView::verdict() const
{
    // The band as the boxes hold it now, as the report's tolerance text reads it.
    return BandVerdictView::textsFor(shown.values, band());
}

void BlockView::showVerdict()
{
    verdictView->show(shown.values, band());
}

void BlockView::copySelectedRows()
{
    QVector<int> rows;
    for (const QModelIndex &index : w.table->selectionModel()->selectedIndexes())
        rows.append(index.row());
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QGuiApplication::clipboard()->setText(
        tabSeparatedReadings(shown.values, rows, QLocale::system().decimalPoint()));
}

void BlockView::showStatistics()
{
    shownStatistics = computeStatistics(shown.values);
    showStatistic(w.minimum, shownStatistics.minimum);
    showStatistic(w.maximum, shownStatistics.maximum);
    showStatistic(w.mean, shownStatistics.mean);
    showStatistic(w.stdev, shownStatistics.stdev);
}

void BlockView::updateLimitLines()
{
    placeLimitLines({{graphMinLine, graphMaxLine}, {diagramMinLine, diagramMaxLine}}, band());
    w.graph->replot();
    w.diagram->replot();
}

void BlockView::markTable()
{
    markValueTable(w.table, shown.values, band());
}

void BlockView::drawPlots()
{
    const PlotSeries series = plotSeries(shown.values);
    const ToleranceBand limits = band();

    QCustomPlot *graph = w.graph;
    QCustomPlot *diagram = w.diagram;
    graph->clearGraphs();
    diagram->clearPlottables();

    auto *values =
        new AdaptiveMarkerGraph(graph->xAxis, graph->yAxis, AdaptiveMarkerGraph::DenseMarkers::Omitted);
    values->setData(series.keys, series.values, true);
    values->setPen(QPen(kValuesColour, kValuesPenWidth));
    values->setLineStyle(QCPGraph::lsLine);
    values->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssCircle, kValuesColour, Qt::white, kMarkerSize));

    if (limits.on) {
        const BandSplit split =
            splitByBand(series.keys, series.values, activeLower(limits), activeUpper(limits));
        if (!split.outsideKeys.isEmpty()) {
            auto *outside = new AdaptiveMarkerGraph(graph->xAxis, graph->yAxis,
                                                    AdaptiveMarkerGraph::DenseMarkers::Merged);
            outside->setData(split.outsideKeys, split.outsideValues, true);
            outside->setPen(QPen(Qt::red, kOutsidePenWidth));
            outside->setLineStyle(QCPGraph::lsNone);
            outside->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle,
                                                     QPen(kOutsideMarkerColour, kOutsidePenWidth),
                                                     QBrush(kOutsideMarkerColour), kMarkerSize));
        }
        addBars(diagram, split.insideKeys, split.insideValues, kInsideBarColour);
        addBars(diagram, split.outsideKeys, split.outsideValues, kOutsideBarColour);
    } else {
        addBars(diagram, series.keys, series.values, kInsideBarColour);
    }

    placeLimitLines({{graphMinLine, graphMaxLine}, {diagramMinLine, diagramMaxLine}}, limits);
    setLinkedRanges(graph, diagram, keyAxisRange(shown.values.size()), valueAxisRange(series.values));
    showValueRange(graph->yAxis->range());
    graph->replot();
    diagram->replot();
}

void BlockView::showValueRange(const QCPRange &range)
{
    w.rangeLower->setValue(range.lower);
    w.rangeUpper->setValue(range.upper);
}

void BlockView::bandToggled()
{
    updateLimitLines();
    if (hasBlock()) {
        drawPlots();
        markTable();
        showVerdict();
    }
    emit bandChanged();
}

void BlockView::bandEdited()
{
    // The lines always stand at the limits; the block shown is redrawn against them.
    if (!hasBlock()) {
        updateLimitLines();
    } else {
        drawPlots();
        markTable();
        showVerdict();
    }
    emit bandChanged();
}

void BlockView::rangeLowerEdited()
{
    QCPRange range = w.graph->yAxis->range();
    const double typedLower = w.rangeLower->value();
    if (typedLower > w.rangeUpper->value()) {
        range.upper = typedLower + kRangeNudge;
        w.rangeUpper->setValue(range.upper);
    }
    range.lower = typedLower;
    w.graph->yAxis->setRange(range);
    w.diagram->yAxis->setRange(range);
    // A range the axis refused (both ends equal) must not stay in the boxes.
    showValueRange(w.graph->yAxis->range());
}

void BlockView::rangeUpperEdited()
{
    QCPRange range = w.graph->yAxis->range();
    const double typedUpper = w.rangeUpper->value();
    if (w.rangeLower->value() > typedUpper)
        range.lower = typedUpper - kRangeNudge;
    range.upper = typedUpper;
    w.graph->yAxis->setRange(range);
    w.diagram->yAxis->setRange(range);
    showValueRange(w.graph->yAxis->range());
}

void BlockView::setUnit(const QString &unit)
{
    for (QCustomPlot *plot : {w.graph, w.diagram}) {
        plot->yAxis->setLabel(unit.trimmed());
        plot->replot();
    }
}

QImage BlockView::capturePlot(Plot plot, const QSize &size)
{
    return capturePlotForReport(plot == Plot::Graph ? w.graph : w.diagram, size);
}
