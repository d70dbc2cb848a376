#include "ui/mainwindow.h"

#include "device/systemportlister.h"
#include "settings/settingssession.h"
#include "ui/abouttexts.h"
#include "ui/appicon.h"
#include "ui/fontsize.h"
#include "ui/formparts.h"
#include "ui/historypanel.h"
#include "ui/languageswitch.h"
#include "ui/linkstatusbar.h"
#include "ui/processanalysispanel.h"
#include "ui/reportsigning.h"
#include "ui/reportstatus.h"
#include "ui/settingsmessages.h"
#include "ui/spinstepwatch.h"
#include "ui_mainwindow.h"

#include <QCloseEvent>
#include <QDate>
#include <QDebug>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>

MainWindow::MainWindow(QWidget *parent)
    : MainWindow(systemPortLister(), parent)
{}

MainWindow::MainWindow(std::shared_ptr<const PortLister> ports, QWidget *parent)
    : QMainWindow(parent)
    , port(std::move(ports))
    , ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    setWindowIcon(appIcon());
    installEventFilter(this);
    screenFit = new WindowFit(
        this, ui->horizontalLayout,
        {{ui->block_column_scroll}, {ui->chart_column_scroll}, {ui->report_form_scroll, false}});
    // The columns are as wide as their contents need (see eventFilter).
    ui->report_form_scroll_contents->installEventFilter(this);
    language = new LanguageSwitch({ui->actionRU, ui->actionEN, ui->report_date_edit}, this);
    logoPanel = new ReportLogo(reportLogoWidgets(*ui), this);
    signing = new ReportSigning(ui->sign_pdf_checkbox, this);

    applySettings();

    connect(&port, &Port::validPortFound, this, &MainWindow::validPortFound);
    connect(&port, &Port::validPortDisconnected, this, &MainWindow::validPortDisconnected);
    linkStatus = new LinkStatusBar(port, ui->action_search_again, this);
    ui->statusbar->addWidget(linkStatus, 1);

    ui->table_block_data->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->table_block_data->horizontalHeader()->hide();
    ui->report_date_edit->setDate(QDate::currentDate());
    ui->high_contrast->setVisible(false);

    viewPanel = new BlockView(blockViewWidgets(*ui), this);
    // Every change of the value range is reported to the window.
    connect(ui->graph->yAxis, SIGNAL(rangeChanged(const QCPRange &)), this,
            SLOT(update_graph_limits(const QCPRange &)));
    connect(ui->diagram->yAxis, SIGNAL(rangeChanged(const QCPRange &)), this,
            SLOT(update_graph_limits(const QCPRange &)));
    connect(viewPanel, &BlockView::blockShown, this, &MainWindow::enableExport);
    connect(ui->report_unit, &QLineEdit::textChanged, viewPanel, &BlockView::setUnit);
    viewPanel->setUnit(ui->report_unit->text()); // as the settings gave it
    // The band follows its boxes' arrows at once; typed limits count once editing is finished.
    auto *bandSteps = new SpinStepWatch(this);
    bandSteps->watch(ui->limits_min);
    bandSteps->watch(ui->limits_max);
    connect(bandSteps, &SpinStepWatch::stepped, viewPanel, &BlockView::bandEdited);
    connect(ui->tolerance_kind, QOverload<int>::of(&QComboBox::currentIndexChanged), viewPanel,
            &BlockView::bandEdited);
    connect(ui->decimals_combo, QOverload<int>::of(&QComboBox::currentIndexChanged), viewPanel,
            &BlockView::decimalsChosen);
    auto *reportStatus = new ReportStatus(this);
    ui->statusbar->addWidget(reportStatus, 1);
    exportPanel = new ReportExport(
        reportFormWidgets(*ui), viewPanel, reportStatus, [this] { return logoPanel->image(); }, this,
        signing);

    history = new HistoryPanel(this, ui->statusbar, ui->action_history, ui->action_history_storage);
    connect(history, &HistoryPanel::readOpened, this, &MainWindow::openFromHistory);
    wireBlockList();
    analysis = new ProcessAnalysisPanel(viewPanel, history->service(), ui->action_process_analysis, this);

    ui->toolButton->hide();
    ui->retranslateUi(this);
    logoPanel->retranslate();
    screenFit->place(settings->startValues().windowGeometry);

    // The logo's side follows the report number's width, known only once the
    // layout has run after the constructor.
    QTimer::singleShot(1, this, [this] { logoPanel->sizeLabel(); });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Reads not yet stored are said, with where they wait, before the window
    // goes; in a box only when the operator closed it (not on a signal).
    history->finish(event->spontaneous());
    QMainWindow::closeEvent(event);
}

MainWindow::~MainWindow()
{
    history->finish();
    storeSettings();
    // The list empties as the form goes; the view it would clear goes first.
    blocksPanel->disconnect();
    delete ui;
}

void MainWindow::applySettings()
{
    settings = std::make_unique<SettingsSession>();
    const SettingsValues values = settings->startValues();
    showSettings(values, *ui, this);
    logoPanel->startDecoding(values.logoText);
    signing->start(values);
    applyFontSize(this, values.fontSize);
    // Told from the event loop, over the window that is up by then.
    if (settings->unreadable())
        QTimer::singleShot(0, this, [this] { tellUnreadableSettings(this, settings->keptAside()); });
}

void MainWindow::storeSettings()
{
    SettingsValues values = formSettings(*ui, this);
    logoPanel->storeInto(values);
    signing->storeInto(values);
    if (!settings->store(values))
        tellSettingsNotSaved(this);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->report_form_scroll_contents) {
        if (event->type() == QEvent::LayoutRequest)
            screenFit->fitColumns();
        return QMainWindow::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Shift && viewPanel)
            viewPanel->setWheelZoom(event->type() == QEvent::KeyPress ? Qt::Vertical : Qt::Horizontal);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    if (event)
        QMainWindow::resizeEvent(event);
    logoPanel->refresh();
}

// retranslateUi puts back the form's own title and empties the logo button;
// both are restored afterwards.
void MainWindow::switchLanguage(bool english)
{
    const QString title = windowTitle();
    language->switchTo(english);
    ui->retranslateUi(this);
    logoPanel->retranslate();
    blocksPanel->retranslate();
    signing->retranslate();
    setWindowTitle(title);
}

void MainWindow::on_set_limits_checkbox_stateChanged(int)
{
    qDebug() << static_cast<const void *>(ui->block_names_list->item(blocksPanel->shownRow()));
    viewPanel->bandToggled();
}

void MainWindow::on_action_report_signing_triggered()
{
    signing->chooseCertificate();
}

void MainWindow::on_block_names_list_itemDoubleClicked(QListWidgetItem *item)
{
    blocksPanel->showBlock(ui->block_names_list->row(item));
}

void MainWindow::on_about_program_triggered()
{
    QMessageBox::about(this, tr("О программе"), AboutTexts::programText());
}

void MainWindow::on_about_company_triggered()
{
    QMessageBox box;
    box.setText(AboutTexts::companyText());
    box.setIcon(QMessageBox::Information);
    box.exec();
}

void MainWindow::wireBlockList()
{
    blocksPanel = new BlockList(port, ui->block_names_list, this);
    connect(linkStatus, &LinkStatusBar::cancelRequested, blocksPanel, &BlockList::cancel);
    connect(blocksPanel, &BlockList::readProgress, linkStatus, &LinkStatusBar::readProgress);
    connect(blocksPanel, &BlockList::listReplaced, viewPanel, &BlockView::clearBlock);
    connect(blocksPanel, &BlockList::blockChosen, this, [this](const MemoryBlock &block, int row) {
        viewPanel->showBlock(block);
        linkStatus->blockPicked(block, row);
    });
    connect(blocksPanel, &BlockList::readStarting, this, [this] {
        ui->button_read_data->setEnabled(false);
        enableExport(false);
        linkStatus->readStarted();
    });
    connect(blocksPanel, &BlockList::readStarting, history, &HistoryPanel::readStarting);
    connect(blocksPanel, &BlockList::readEnded, this,
            [this](BlockReader::Outcome outcome, int count, const QVector<MemoryBlock> &blocks) {
                const auto faulty =
                    std::count_if(blocks.cbegin(), blocks.cend(),
                                  [](const MemoryBlock &block) { return block.fault != BlockFault::None; });
                linkStatus->readEnded(outcome, blocksPanel->reader().blocksRead(), count, int(faulty));
                // The instrument may have been lost during the read.
                ui->button_read_data->setEnabled(port.isInstrumentConnected());
            });
    connect(blocksPanel, &BlockList::readEnded, history, &HistoryPanel::readEnded);
}

void MainWindow::openFromHistory(const QVector<MemoryBlock> &blocks, const QDateTime &startedAt)
{
    if (!blocksPanel->showRead(blocks)) {
        history->tellReadInProgress();
        return;
    }
    history->tellOpened(startedAt);
}

void MainWindow::validPortFound()
{
    // A read in progress decides the button itself when it ends.
    if (!blocksPanel->isReading())
        ui->button_read_data->setEnabled(true);
}

void MainWindow::validPortDisconnected()
{
    ui->button_read_data->setEnabled(false);
}

void MainWindow::enableExport(bool hasValues)
{
    ui->button_export_to_PDF->setEnabled(hasValues);
    ui->button_export_to_excel->setEnabled(hasValues);
}
