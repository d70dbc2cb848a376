#pragma once

#include "values/processanalysis.h"
#include "values/toleranceband.h"

#include <QDialog>
#include <QVector>

class AnalysisRunner;
class HistoryService;
class ProcessTrend;
class QCustomPlot;
class PlotExport;

namespace Ui {
class ProcessAnalysisDialog;
}

// "Анализ процесса": the histogram, the I-MR charts with the run rules chosen
// and the broken ones listed, and the capability table of one block. Each
// chart copies and saves itself (PlotExport), the table copies as
// tab-separated text. The analysis is worked out on a thread of its own
// (AnalysisRunner); charts on a tab not shown are drawn when it is shown.
class ProcessAnalysisDialog : public QDialog
{
    Q_OBJECT

public:
    // `history`: where the trend tab finds the stored reads; null: nowhere.
    explicit ProcessAnalysisDialog(QWidget *parent = nullptr, HistoryService *history = nullptr);
    ~ProcessAnalysisDialog() override;

    // Analyses the named block's readings against the band; what it shows
    // follows once the analysis is done (isBusy() false).
    void analyse(const QString &blockName, const QVector<float> &readings, const ToleranceBand &band);
    // No block on show.
    void clearBlock();

    bool isBusy() const;
    // The analysis on show.
    const ProcessAnalysis &analysis() const { return shown; }
    unsigned enabledRules() const;
    // The capability table as CapabilityTable::text() gives it.
    QString capabilityText() const;
    void copyCapability();
    // The export of the histogram, individuals or moving-range chart.
    PlotExport *exportOf(QCustomPlot *plot) const;
    // The tab of the trend across stored reads.
    ProcessTrend *trend() const { return trendTab; }

protected:
    void changeEvent(QEvent *event) override;

private:
    // Asks for the analysis of the block and the rules as they are now.
    void refresh();
    void showAnalysis(const ProcessAnalysis &analysis);
    // Texts, charts, rule list and table of the analysis on show.
    void showTexts();
    void showRules();
    void drawShownTab();

    Ui::ProcessAnalysisDialog *ui = nullptr;
    QString name;
    QVector<float> readings;
    ToleranceBand band;
    bool hasBlock = false;
    AnalysisRunner *runner = nullptr;
    ProcessTrend *trendTab = nullptr;
    // What is on show: the block, band and analysis the last answer was for.
    ProcessAnalysis shown;
    QString shownName;
    bool shownBlock = false;
    SpecLimits shownSpec;
    // Plots whose data changed since they were last drawn.
    QVector<QCustomPlot *> toDraw;
};
