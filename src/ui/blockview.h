#pragma once

#include "ui/bandverdictview.h"
#include "values/blockstatistics.h"
#include "values/memoryblock.h"
#include "values/toleranceband.h"

#include <QImage>
#include <QObject>
#include <qcustomplot.h>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
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
    QComboBox *toleranceKind = nullptr; // in ToleranceKind's order
    QComboBox *decimals = nullptr;      // Авто, then one to four
    QDoubleSpinBox *rangeLower = nullptr;
    QDoubleSpinBox *rangeUpper = nullptr;
    QCustomPlot *graph = nullptr;
    QCustomPlot *diagram = nullptr;
    BandVerdictView::Labels verdict; // the band's verdict beside the statistics
};

// Owns the shown block: its table, statistics and the band's verdict, plots
// with their limit lines, linked ranges and the value-range boxes. Everything that describes the shown
// block (the report included) asks this object, never the widgets.
class BlockView : public QObject
{
    Q_OBJECT

public:
    BlockView(const BlockViewWidgets &widgets, QObject *parent);

    void showBlock(const MemoryBlock &block);
    // Shows no block: an empty table and plots, no statistics, no verdict.
    void clearBlock();
    bool hasBlock() const;
    const MemoryBlock &block() const;
    // The statistics of the shown block as the boxes show them (one decimal),
    // without the boxes' clamping; NaN where there is no number.
    BlockStatistics statistics() const;
    // The shown block's statistics unrounded, for the reports to print in full.
    BlockStatistics exactStatistics() const { return shownStatistics; }
    ToleranceBand band() const;
    // The decimals chosen for the readings: kAutoDecimals or one to four.
    int valueDecimals() const;
    // The band's verdict on the shown block against the band as it is set.
    VerdictTexts verdict() const;

    // The band was switched on or off, or one of its limits edited.
    void bandToggled();
    void bandEdited();
    // The value range the plots show, written into the range boxes.
    void showValueRange(const QCPRange &range);
    void rangeLowerEdited();
    void rangeUpperEdited();
    void setWheelZoom(Qt::Orientation orientation);
    // The unit of the readings, as the title of both plots' value axes; empty: no title.
    void setUnit(const QString &unit);
    // Another number of decimals was chosen: the table, the statistics and
    // the band's boxes show that many.
    void decimalsChosen();

    enum class Plot { Graph, Diagram };
    QImage capturePlot(Plot plot, const QSize &size);

    // Puts the table's selected rows on the clipboard (Ctrl+C on the table):
    // a line per row, its number and reading separated by a tab, the reading
    // as a number with the system's decimal point, for a spreadsheet.
    void copySelectedRows();

signals:
    // A block is shown; hasValues: it has readings to report.
    void blockShown(bool hasValues);
    // The band was switched on or off, or a limit edited.
    void bandChanged();

private:
    void linkAxes();
    void updateLimitLines();
    void drawPlots();
    void markTable();
    void showStatistics();
    void showVerdict();

    BlockViewWidgets w;
    MemoryBlock shown;
    bool blockShownOnce = false;
    BlockStatistics shownStatistics;
    BandVerdictView *verdictView = nullptr;
    QCPItemStraightLine *graphMinLine = nullptr;
    QCPItemStraightLine *graphMaxLine = nullptr;
    QCPItemStraightLine *diagramMinLine = nullptr;
    QCPItemStraightLine *diagramMaxLine = nullptr;
};
