#pragma once

#include "values/processanalysis.h"
#include "values/toleranceband.h"

#include <QDialog>
#include <QVector>

class QCustomPlot;
class PlotExport;

namespace Ui {
class ProcessAnalysisDialog;
}

// "Анализ процесса": the histogram, the I-MR charts with the run rules chosen
// and the broken ones listed, and the capability table of one block. Each
// chart copies and saves itself (PlotExport), the table copies as
// tab-separated text. Charts on a tab not shown are drawn when it is shown.
class ProcessAnalysisDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ProcessAnalysisDialog(QWidget *parent = nullptr);
    ~ProcessAnalysisDialog() override;

    // Analyses the named block's readings against the band.
    void analyse(const QString &blockName, const QVector<float> &readings, const ToleranceBand &band);
    // No block on show.
    void clearBlock();

    const ProcessAnalysis &analysis() const { return shown; }
    unsigned enabledRules() const;
    // The capability table as CapabilityTable::text() gives it.
    QString capabilityText() const;
    void copyCapability();
    // The export of the histogram, individuals or moving-range chart.
    PlotExport *exportOf(QCustomPlot *plot) const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void refresh();
    void showRules();
    void drawShownTab();

    Ui::ProcessAnalysisDialog *ui = nullptr;
    QString name;
    QVector<float> readings;
    ToleranceBand band;
    bool hasBlock = false;
    ProcessAnalysis shown;
    // Plots whose data changed since they were last drawn.
    QVector<QCustomPlot *> toDraw;
};
