#include "mainwindow.h"

#include "adaptivebars.h"
#include "adaptivemarkergraph.h"
#include "bandsplit.h"
#include "plotrange.h"
#include "plotseries.h"
#include "statisticsbox.h"
#include "ui_mainwindow.h"
#include "valuetable.h"

#include <QDebug>
#include <QSignalBlocker>
#include <optional>

namespace {

const QColor kValuesColour(Qt::blue);
constexpr double kValuesPenWidth = 2.0;
constexpr double kMarkerSize = 7.0;
constexpr double kOutsidePenWidth = 1.5;
const QColor kOutsideMarkerColour(255, 0, 0, 150);
const QColor kBarOutlineColour(0, 0, 0, 150);
constexpr double kBarOutlineWidth = 1.0;
const QColor kInsideBarColour(0, 0, 255, 100);
const QColor kOutsideBarColour(255, 0, 0, 100);
constexpr double kBarBase = 0.0;
constexpr double kLimitLineWidth = 2.0;

void placeLine(QCPItemStraightLine *line, const QPen &pen, double value)
{
    line->setPen(pen);
    line->setVisible(true);
    line->point1->setCoords(1, value);
    line->point2->setCoords(2, value);
}

// The lower and upper line of each plot, shown at the limits while the band is
// on, hidden (keeping pen and place) while it is off.
void placeLimitLines(const QList<QPair<QCPItemStraightLine *, QCPItemStraightLine *>> &lines, bool bandOn,
                     double lower, double upper)
{
    QPen pen(Qt::red);
    pen.setWidthF(kLimitLineWidth);
    for (const auto &pair : lines) {
        if (bandOn) {
            placeLine(pair.first, pen, lower);
            placeLine(pair.second, pen, upper);
        } else {
            pair.first->setVisible(false);
            pair.second->setVisible(false);
        }
    }
}

// Sets the ranges of both linked plots at once: each plot then draws once
// instead of once for every axis that changes.
void setLinkedRanges(QCustomPlot *graph, QCustomPlot *diagram, const QCPRange &keyRange,
                     const std::optional<QCPRange> &valueRange)
{
    const QSignalBlocker graphKeys(graph->xAxis);
    const QSignalBlocker diagramKeys(diagram->xAxis);
    const QSignalBlocker graphValues(graph->yAxis);
    const QSignalBlocker diagramValues(diagram->yAxis);
    graph->xAxis->setRange(keyRange);
    diagram->xAxis->setRange(keyRange);
    if (valueRange) {
        graph->yAxis->setRange(*valueRange);
        diagram->yAxis->setRange(*valueRange);
    }
}

AdaptiveBars *addBars(QCustomPlot *plot, const QVector<double> &keys, const QVector<double> &values,
                      const QColor &fill)
{
    auto *bars = new AdaptiveBars(plot->xAxis, plot->yAxis);
    bars->setBaseValue(kBarBase);
    bars->setData(keys, values, true); // keys ascend by construction
    bars->setPen(QPen(kBarOutlineColour, kBarOutlineWidth));
    bars->setBrush(fill);
    return bars;
}

TableBand tableBand(const Ui::MainWindow *ui)
{
    return {ui->set_limits_checkbox->isChecked(), ui->limits_min->value(), ui->limits_max->value()};
}

} // namespace

void MainWindow::on_block_names_list_itemDoubleClicked(QListWidgetItem *item)
{
    showBlock(ui->block_names_list->row(item));
}

void MainWindow::showBlock(int row)
{
    if (row < 0 || row >= memoryBlocks.size())
        return;
    shownBlockRow = row;
    shownValues = memoryBlocks.at(row).values;
    const QVector<float> &values = shownValues;

    // The fill marks the cells against the band as it goes.
    fillValueTable(ui->table_block_data, values, tableBand(ui));
    drawBlockPlotsForRow(row);
    updateStatistics();

    const bool hasValues = !values.isEmpty();
    ui->button_export_to_PDF->setEnabled(hasValues);
    ui->button_export_to_excel->setEnabled(hasValues);
}

void MainWindow::updateStatistics()
{
    if (shownBlockRow < 0)
        return;
    const BlockStatistics statistics = computeStatistics(shownValues);
    showStatistic(ui->min_box, statistics.minimum);
    showStatistic(ui->max_box, statistics.maximum);
    showStatistic(ui->mean_box, statistics.mean);
    showStatistic(ui->stdev_box, statistics.stdev);
}

BlockStatistics MainWindow::shownStatistics() const
{
    return {shownStatistic(ui->min_box), shownStatistic(ui->max_box), shownStatistic(ui->mean_box),
            shownStatistic(ui->stdev_box)};
}

void MainWindow::updateLimitLines()
{
    placeLimitLines({{graphMinLine, graphMaxLine}, {diagramMinLine, diagramMaxLine}},
                    ui->set_limits_checkbox->isChecked(), ui->limits_min->value(), ui->limits_max->value());
    ui->graph->replot();
    ui->diagram->replot();
}

void MainWindow::markOutOfLimitValues()
{
    markValueTable(ui->table_block_data, tableBand(ui));
}

void MainWindow::drawBlockPlots(QListWidgetItem *item)
{
    if (!item)
        return;
    drawBlockPlotsForRow(ui->block_names_list->row(item));
}

void MainWindow::drawBlockPlotsForRow(int row)
{
    if (row < 0 || row >= memoryBlocks.size())
        return;
    drawPlotsOf(memoryBlocks.at(row).values);
}

void MainWindow::drawPlotsOf(const QVector<float> &readings)
{
    const PlotSeries series = plotSeries(readings);
    const double lower = ui->limits_min->value();
    const double upper = ui->limits_max->value();
    const bool bandOn = ui->set_limits_checkbox->isChecked();

    QCustomPlot *graph = ui->graph;
    QCustomPlot *diagram = ui->diagram;
    graph->clearGraphs();
    diagram->clearPlottables();

    auto *values =
        new AdaptiveMarkerGraph(graph->xAxis, graph->yAxis, AdaptiveMarkerGraph::DenseMarkers::Omitted);
    values->setData(series.keys, series.values, true);
    values->setPen(QPen(kValuesColour, kValuesPenWidth));
    values->setLineStyle(QCPGraph::lsLine);
    values->setScatterStyle(
        QCPScatterStyle(QCPScatterStyle::ssCircle, kValuesColour, Qt::white, kMarkerSize));

    if (bandOn) {
        const BandSplit split = splitByBand(series.keys, series.values, lower, upper);
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

    placeLimitLines({{graphMinLine, graphMaxLine}, {diagramMinLine, diagramMaxLine}}, bandOn, lower, upper);
    setLinkedRanges(graph, diagram, keyAxisRange(readings.size()), valueAxisRange(series.values));
    update_graph_limits(graph->yAxis->range());
    graph->replot();
    diagram->replot();
}

void MainWindow::update_graph_limits(QCPRange newRange)
{
    ui->graphs_limits_min->setValue(newRange.lower);
    ui->graphs_limits_max->setValue(newRange.upper);
}

void MainWindow::on_set_limits_checkbox_stateChanged(int)
{
    updateLimitLines();
    QListWidgetItem *shownItem = ui->block_names_list->item(shownBlockRow);
    qDebug() << static_cast<const void *>(shownItem);
    if (shownBlockRow < 0)
        return;
    drawPlotsOf(shownValues);
    markOutOfLimitValues();
}

void MainWindow::on_graphs_limits_min_editingFinished()
{
    QCPRange range = ui->graph->yAxis->range();
    const double typedLower = ui->graphs_limits_min->value();
    if (typedLower > ui->graphs_limits_max->value()) {
        range.upper = typedLower + 1;
        ui->graphs_limits_max->setValue(range.upper);
    }
    range.lower = typedLower;
    ui->graph->yAxis->setRange(range);
    ui->diagram->yAxis->setRange(range);
    // A range the axis refused (both ends equal) must not stay in the boxes.
    update_graph_limits(ui->graph->yAxis->range());
}

void MainWindow::on_graphs_limits_max_editingFinished()
{
    QCPRange range = ui->graph->yAxis->range();
    const double typedUpper = ui->graphs_limits_max->value();
    if (ui->graphs_limits_min->value() > typedUpper)
        range.lower = typedUpper - 1;
    range.upper = typedUpper;
    ui->graph->yAxis->setRange(range);
    ui->diagram->yAxis->setRange(range);
    update_graph_limits(ui->graph->yAxis->range());
}

void MainWindow::on_limits_min_editingFinished()
{
    // The lines always stand at the limits; the block shown is redrawn against them.
    if (shownBlockRow < 0) {
        updateLimitLines();
        return;
    }
    drawPlotsOf(shownValues);
    markOutOfLimitValues();
}

void MainWindow::on_limits_max_editingFinished()
{
    on_limits_min_editingFinished();
}
