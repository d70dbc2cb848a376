#include "ui/processanalysisdialog.h"

#include "report/analysissection.h"
#include "ui/analysischarts.h"
#include "ui/analysisrunner.h"
#include "ui/capabilitytable.h"
#include "ui/plotexport.h"
#include "ui/processtrend.h"
#include "ui_processanalysisdialog.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QShortcut>

namespace {

// The limits the verdict area judges by: a one-sided band has no Cp or Pp.
SpecLimits specOf(const ToleranceBand &band)
{
    return analysisSpecLimits(band);
}

} // namespace

ProcessAnalysisDialog::ProcessAnalysisDialog(QWidget *parent, HistoryService *history)
    : QDialog(parent)
    , ui(new Ui::ProcessAnalysisDialog)
{
    ui->setupUi(this);
    setModal(false);
    runner = new AnalysisRunner(this);
    connect(runner, &AnalysisRunner::analysed, this, &ProcessAnalysisDialog::showAnalysis);
    for (QCustomPlot *plot : {ui->analysis_histogram, ui->analysis_individuals, ui->analysis_moving_range}) {
        plot->setPlottingHint(QCP::phFastPolylines, true);
        plot->setInteraction(QCP::iRangeZoom, true);
        plot->setInteraction(QCP::iRangeDrag, true);
        new PlotExport(plot);
    }
    for (QCheckBox *rule : {ui->analysis_rule_1, ui->analysis_rule_2, ui->analysis_rule_3,
                            ui->analysis_rule_4, ui->analysis_rule_5})
        connect(rule, &QCheckBox::toggled, this, &ProcessAnalysisDialog::refresh);
    connect(ui->analysis_tabs, &QTabWidget::currentChanged, this, &ProcessAnalysisDialog::drawShownTab);
    trendTab = new ProcessTrend(history, this);
    trendTab->setObjectName(QStringLiteral("analysis_trend"));
    ui->analysis_tabs->addTab(trendTab, tr("Тренд"));

    QTableWidget *table = ui->analysis_capability_table;
    auto *copy = new QShortcut(QKeySequence::Copy, table, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(copy, &QShortcut::activated, this, &ProcessAnalysisDialog::copyCapability);
    auto *copyAction = new QAction(tr("Копировать таблицу"), table);
    copyAction->setObjectName(QStringLiteral("analysis_copy_table"));
    table->addAction(copyAction);
    connect(copyAction, &QAction::triggered, this, &ProcessAnalysisDialog::copyCapability);
    showTexts();
}

ProcessAnalysisDialog::~ProcessAnalysisDialog()
{
    delete ui;
}

void ProcessAnalysisDialog::analyse(const QString &blockName, const QVector<float> &blockReadings,
                                    const ToleranceBand &blockBand)
{
    // The trend offers the reads of the block on show; loading waits for the operator.
    if (blockName != name || !hasBlock)
        trendTab->setBlockName(blockName);
    name = blockName;
    readings = blockReadings;
    band = blockBand;
    hasBlock = true;
    refresh();
}

void ProcessAnalysisDialog::clearBlock()
{
    name.clear();
    readings.clear();
    hasBlock = false;
    refresh();
}

bool ProcessAnalysisDialog::isBusy() const
{
    return runner->busy();
}

unsigned ProcessAnalysisDialog::enabledRules() const
{
    const QCheckBox *boxes[kRuleCount] = {ui->analysis_rule_1, ui->analysis_rule_2, ui->analysis_rule_3,
                                          ui->analysis_rule_4, ui->analysis_rule_5};
    unsigned rules = 0;
    for (int rule = 0; rule < kRuleCount; ++rule)
        if (boxes[rule]->isChecked())
            rules |= 1u << rule;
    return rules;
}

QString ProcessAnalysisDialog::capabilityText() const
{
    return CapabilityTable::text(ui->analysis_capability_table);
}

void ProcessAnalysisDialog::copyCapability()
{
    QGuiApplication::clipboard()->setText(capabilityText());
}

PlotExport *ProcessAnalysisDialog::exportOf(QCustomPlot *plot) const
{
    return plot->findChild<PlotExport *>(QString(), Qt::FindDirectChildrenOnly);
}

void ProcessAnalysisDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        ui->analysis_tabs->setTabText(ui->analysis_tabs->indexOf(trendTab), tr("Тренд"));
        showTexts();
    }
    QDialog::changeEvent(event);
}

void ProcessAnalysisDialog::refresh()
{
    runner->request(readings, specOf(band), enabledRules());
}

void ProcessAnalysisDialog::showAnalysis(const ProcessAnalysis &analysis)
{
    shown = analysis;
    shownName = name;
    shownBlock = hasBlock;
    shownSpec = specOf(band);
    showTexts();
}

void ProcessAnalysisDialog::showTexts()
{
    ui->analysis_block_label->setText(shownBlock ? tr("Блок: %1").arg(shownName) : tr("Блок не показан"));
    const ChartTexts texts{tr("ЦЛ"),
                           tr("ВКГ"),
                           tr("НКГ"),
                           tr("Номер значения"),
                           tr("Значение"),
                           tr("Число значений"),
                           tr("Скользящий размах")};
    drawHistogram(ui->analysis_histogram, shown, shownSpec, texts);
    drawIndividuals(ui->analysis_individuals, shown, texts);
    drawMovingRange(ui->analysis_moving_range, shown, texts);
    toDraw = {ui->analysis_histogram, ui->analysis_individuals, ui->analysis_moving_range};
    drawShownTab();
    showRules();
    CapabilityTable::fill(ui->analysis_capability_table, shown.capability);
}

void ProcessAnalysisDialog::drawShownTab()
{
    QWidget *tab = ui->analysis_tabs->currentWidget();
    for (auto it = toDraw.begin(); it != toDraw.end();) {
        if (tab->isAncestorOf(*it)) {
            (*it)->replot();
            it = toDraw.erase(it);
        } else {
            ++it;
        }
    }
}

void ProcessAnalysisDialog::showRules()
{
    QListWidget *list = ui->analysis_rules;
    list->clear();
    if (shownBlock)
        list->addItems(analysisRuleLines(shown));
}
