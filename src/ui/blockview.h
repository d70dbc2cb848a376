#pragma once

#include "values/blockstatistics.h"
#include "values/memoryblock.h"

#include <QImage>
#include <QObject>
#include <qcustomplot.h>

class QCheckBox;
class QDoubleSpinBox;
class QTableWidget;

// The form's widgets that show one block.
struct BlockViewWidgets
{
    QTableWidget *table = nullptr;
    QDoubleSpinBox *minimum = nullptr;
    QDoubleSpinBox *maximum = nullptr;
    QDoubleSpinBox *mean = nullptr;
    QDoubleSpinBox *stdev = nullptr;
    QCheckBox *band = nullptr;
    QDoubleSpinBox *bandLower = nullptr;
    QDoubleSpinBox *bandUpper = nullptr;
    QDoubleSpinBox *rangeLower = nullptr;
    QDoubleSpinBox *rangeUpper = nullptr;
    QCustomPlot *graph = nullptr;
    QCustomPlot *diagram = nullptr;
};

// The tolerance band as the operator set it.
struct ToleranceBand
{
    bool on = false;
    double lower = 0.0;
    double upper = 0.0;
};

// Owns the shown block: its table, statistics, plots with their limit lines,
// linked ranges and the value-range boxes. Everything that describes the shown
// block (the report included) asks this object, never the widgets.
class BlockView : public QObject
{
    Q_OBJECT

public:
    BlockView(const BlockViewWidgets &widgets, QObject *parent);

    void showBlock(const MemoryBlock &block);
    bool hasBlock() const;
    const MemoryBlock &block() const;
    // The statistics of the shown block as the boxes show them (one decimal),
    // without the boxes' clamping; NaN where there is no number.
    BlockStatistics statistics() const;
    ToleranceBand band() const;

    // The band was switched on or off, or one of its limits edited.
    void bandToggled();
    void bandEdited();
    // The value range the plots show, written into the range boxes.
    void showValueRange(const QCPRange &range);
    void rangeLowerEdited();
    void rangeUpperEdited();
    void setWheelZoom(Qt::Orientation orientation);

    enum class Plot { Graph, Diagram };
    QImage capturePlot(Plot plot, const QSize &size);

signals:
    // A block is shown; hasValues: it has readings to report.
    void blockShown(bool hasValues);

private:
    void linkAxes();
    void updateLimitLines();
    void drawPlots();
    void markTable();
    void showStatistics();

    BlockViewWidgets w;
    MemoryBlock shown;
    bool blockShownOnce = false;
    BlockStatistics shownStatistics;
    QCPItemStraightLine *graphMinLine = nullptr;
    QCPItemStraightLine *graphMaxLine = nullptr;
    QCPItemStraightLine *diagramMinLine = nullptr;
    QCPItemStraightLine *diagramMaxLine = nullptr;
};
