#include "ui/processtrend.h"

#include "history/historyservice.h"
#include "history/historyworker.h"
#include "ui/historytexts.h"
#include "ui/plotexport.h"
#include "ui/trendplots.h"
#include "ui_processtrend.h"

#include <QEvent>
#include <QLineEdit>
#include <chrono>

namespace {

// The chooser asks for names once typing pauses, not per keystroke.
constexpr std::chrono::milliseconds kNamesDelay{300};
// Larger blocks come without their values and are left out: a subgroup holds
// at most 25 readings, and this leaves room for NaN readings among them.
constexpr int kLargestFetched = 1000;
// Means, spread, broken rules.
const QList<int> kSplitterShares = {5, 3, 1};

// The name as shown: padding NULs are not drawn, and a chooser cannot type them.
QString shownName(const QString &name)
{
    return QString(name).remove(QChar(0));
}

// "3, 7–9, 12" from ascending numbers.
QString numberRuns(const QVector<int> &numbers)
{
    QStringList runs;
    for (int i = 0; i < numbers.size();) {
        int j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        runs << (j == i ? QString::number(numbers[i])
                        : QStringLiteral("%1–%2").arg(numbers[i]).arg(numbers[j]));
        i = j + 1;
    }
    return runs.join(QStringLiteral(", "));
}

} // namespace

ProcessTrend::ProcessTrend(HistoryService *service, QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::ProcessTrend)
{
    ui->setupUi(this);
    ui->trend_note->hide();
    // The charts take most of the height, the list of broken rules the rest.
    ui->trend_splitter->setSizes(kSplitterShares);
    for (int i = 0; i < kSplitterShares.size(); ++i)
        ui->trend_splitter->setStretchFactor(i, kSplitterShares[i]);
    plots = new TrendPlots(ui->trend_means_plot, ui->trend_spread_plot, this);
    new PlotExport(ui->trend_means_plot);
    new PlotExport(ui->trend_spread_plot);
    namesSoon.setSingleShot(true);
    namesSoon.setInterval(kNamesDelay);
    connect(&namesSoon, &QTimer::timeout, this, [this] { askNames(ui->trend_block_name->currentText()); });
    connect(ui->trend_load_button, &QPushButton::clicked, this, &ProcessTrend::load);
    connect(ui->trend_block_name->lineEdit(), &QLineEdit::returnPressed, this, &ProcessTrend::load);
    connect(ui->trend_block_name->lineEdit(), &QLineEdit::textEdited, &namesSoon,
            qOverload<>(&QTimer::start));
    const auto again = [this] {
        if (!loaded.isEmpty())
            analyse();
    };
    connect(ui->trend_frozen_count, qOverload<int>(&QSpinBox::valueChanged), this, again);
    for (QCheckBox *rule : ruleBoxes())
        connect(rule, &QCheckBox::toggled, this, again);
    setService(service);
}

ProcessTrend::~ProcessTrend()
{
    delete ui;
}

void ProcessTrend::setService(HistoryService *newService)
{
    if (service)
        disconnect(service->worker(), nullptr, this, nullptr);
    service = newService;
    blocksAsked = 0;
    namesAsked = 0;
    if (!service)
        return;
    connect(service->worker(), &HistoryWorker::blocksNamedLoaded, this, &ProcessTrend::blocksLoaded);
    connect(service->worker(), &HistoryWorker::blockNamesListed, this, &ProcessTrend::namesListed);
    namesKnown = false;
    if (isVisible())
        askNames(QString());
}

void ProcessTrend::setBlockName(const QString &name)
{
    QComboBox *box = ui->trend_block_name;
    int found = box->findData(name);
    // A name with NULs is kept whole so that the store finds it exactly.
    if (found < 0 && shownName(name) != name) {
        box->addItem(shownName(name), name);
        found = box->count() - 1;
    }
    if (found >= 0)
        box->setCurrentIndex(found);
    else
        box->setEditText(name);
}

void ProcessTrend::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Every stored name at first; the typed part narrows them later.
    if (!namesKnown)
        askNames(QString());
}

void ProcessTrend::askNames(const QString &part)
{
    if (service)
        namesAsked = service->listBlockNames(part);
}

void ProcessTrend::namesListed(quint64 request, const QStringList &names, const HistoryError &error)
{
    if (request != namesAsked)
        return;
    namesAsked = 0;
    if (error.isError())
        return; // the chooser keeps what it had; loading says what went wrong
    namesKnown = true;
    QComboBox *box = ui->trend_block_name;
    const QString text = box->currentText();
    const QString chosen = chosenName();
    const int cursor = box->lineEdit()->cursorPosition();
    const QSignalBlocker blocker(box);
    box->clear();
    for (const QString &name : names)
        box->addItem(shownName(name), name);
    const int found = box->findData(chosen);
    if (found >= 0 && box->itemText(found) == text)
        box->setCurrentIndex(found);
    else
        box->setEditText(text);
    box->lineEdit()->setCursorPosition(cursor);
}

QString ProcessTrend::chosenName() const
{
    const QComboBox *box = ui->trend_block_name;
    const QString text = box->currentText();
    // Items of one shown text differ by NULs: the one picked counts first.
    const int current = box->currentIndex();
    if (current >= 0 && box->itemText(current) == text)
        return box->itemData(current).toString();
    const int found = box->findText(text);
    return found >= 0 ? box->itemData(found).toString() : text;
}

void ProcessTrend::load()
{
    const QString name = chosenName();
    if (!service) {
        ui->trend_status->setText(tr("История не подключена."));
        return;
    }
    if (name.isEmpty()) {
        ui->trend_status->setText(tr("Выберите блок."));
        return;
    }
    askedName = name;
    blocksAsked = service->loadBlocksNamed(name, HistoryService::kNamedBlocksLimit, kLargestFetched);
    ui->trend_status->setText(tr("Загрузка блоков «%1» из истории…").arg(shownName(name)));
    ui->trend_status->setToolTip(QString());
}

void ProcessTrend::blocksLoaded(quint64 request, const QVector<NamedBlock> &blocks, const HistoryError &error)
{
    if (request != blocksAsked)
        return;
    blocksAsked = 0;
    failed = error.isError();
    if (failed) {
        // Nothing drawn stays beside the failure as though it were the answer.
        loaded.clear();
        trend = TrendAnalysis();
        plots->clear();
        ui->trend_rules->clear();
        ui->trend_note->hide();
        showFailure(error);
    } else {
        loaded = blocks;
        loadedName = askedName;
        analyse();
    }
    emit drawn();
}

void ProcessTrend::analyse()
{
    QVector<QVector<float>> subgroups;
    subgroups.reserve(loaded.size());
    for (const NamedBlock &block : qAsConst(loaded))
        subgroups.append(block.values);
    trend = trendAnalysis(subgroups, ui->trend_frozen_count->value(), enabledRules());
    if (trend.chart.points.isEmpty())
        plots->clear();
    else
        plots->draw(trend);
    showSummary();
}

QVector<QCheckBox *> ProcessTrend::ruleBoxes() const
{
    return {ui->trend_rule_1, ui->trend_rule_2, ui->trend_rule_3, ui->trend_rule_4, ui->trend_rule_5};
}

unsigned ProcessTrend::enabledRules() const
{
    const QVector<QCheckBox *> boxes = ruleBoxes();
    unsigned rules = 0;
    for (int rule = 0; rule < boxes.size(); ++rule)
        if (boxes[rule]->isChecked())
            rules |= 1u << rule;
    return rules;
}

void ProcessTrend::showSummary()
{
    const QString name = shownName(loadedName);
    ui->trend_status->setToolTip(QString());
    ui->trend_rules->clear();
    if (loaded.isEmpty())
        ui->trend_status->setText(tr("В истории нет блоков «%1».").arg(name));
    else if (trend.chart.points.isEmpty())
        ui->trend_status->setText(
            tr("«%1»: считываний %2, но ни в одном нет от 2 до 25 показаний.").arg(name).arg(loaded.size()));
    else
        ui->trend_status->setText(
            tr("«%1»: считываний %2, на карте %3; границы по первым %4, карта %5.")
                .arg(name)
                .arg(loaded.size())
                .arg(trend.chart.points.size())
                .arg(trend.chart.frozen)
                .arg(trend.chart.usesRange ? QStringLiteral("X̄-R") : QStringLiteral("X̄-S")));

    QStringList notes;
    if (trend.leftOut > 0)
        notes << tr("Не учтено считываний без 2–25 показаний: %1.").arg(trend.leftOut);
    if (trend.nonFinite > 0)
        notes << tr("Не учтено показаний NaN и бесконечных: %1.").arg(trend.nonFinite);
    ui->trend_note->setText(notes.join(QLatin1Char(' ')));
    ui->trend_note->setVisible(!notes.isEmpty());

    if (!trend.chart.points.isEmpty()) {
        const QStringList lines = ruleLines();
        if (enabledRules() == 0)
            ui->trend_rules->addItem(tr("Правила не выбраны."));
        else
            ui->trend_rules->addItems(lines.isEmpty() ? QStringList{tr("Правила не нарушены.")} : lines);
    }
}

QStringList ProcessTrend::ruleLines() const
{
    const auto numbers = [this](const QVector<int> &points) {
        QVector<int> reads;
        for (int i : points)
            reads << trend.source[i] + 1;
        return numberRuns(reads);
    };
    QStringList lines;
    for (int rule = 0; rule < kRuleCount; ++rule) {
        if (!trend.meanBreaks.points[rule].isEmpty())
            lines
                << tr("правило %1: считывания %2").arg(rule + 1).arg(numbers(trend.meanBreaks.points[rule]));
    }
    if (!trend.spreadBreaks.isEmpty())
        lines << tr("%1, правило 1: считывания %2")
                     .arg(trend.chart.usesRange ? QStringLiteral("R") : QStringLiteral("S"))
                     .arg(numbers(trend.spreadBreaks));
    return lines;
}

void ProcessTrend::showFailure(const HistoryError &error)
{
    const bool server = service && service->settings().backend == HistoryBackend::Postgres;
    ui->trend_status->setText(tr("История недоступна: %1.").arg(HistoryTexts::cause(error.failure, server)));
    ui->trend_status->setToolTip(error.text);
}

void ProcessTrend::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    const QString text = ui->trend_block_name->currentText();
    ui->retranslateUi(this);
    ui->trend_block_name->setEditText(text);
    if (blocksAsked != 0)
        ui->trend_status->setText(tr("Загрузка блоков «%1» из истории…").arg(shownName(askedName)));
    else if (!loadedName.isEmpty() && !failed)
        analyse();
}
