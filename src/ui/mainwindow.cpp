#include "ui/mainwindow.h"

#include "device/blockreader.h"
#include "device/systemportlister.h"
#include "ui/appicon.h"
#include "ui/blockview.h"
#include "ui/historypanel.h"
#include "ui/linkstatusbar.h"
#include "ui/logoloader.h"
#include "ui/reportexport.h"
#include "ui/reportstatus.h"
#include "ui/spinstepwatch.h"
#include "ui_mainwindow.h"

#include <QDate>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QStatusBar>
#include <QTimer>
#include <QTranslator>

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
    // The report form's column is as wide as its fields need (see eventFilter).
    ui->report_form_scroll_contents->installEventFilter(this);
    translator = new QTranslator(this);
    setUpLanguages();
    logoLoader = new LogoLoader(this);
    connect(logoLoader, &LogoLoader::finished, this, &MainWindow::takeDecodedLogo);

    applySettings();

    connect(&port, &Port::validPortFound, this, &MainWindow::validPortFound);
    connect(&port, &Port::validPortDisconnected, this, &MainWindow::validPortDisconnected);
    blockReader = new BlockReader(port, this);
    connect(blockReader, &BlockReader::countReceived, this, &MainWindow::startBlockList);
    connect(blockReader, &BlockReader::blockRead, this, &MainWindow::listBlock);
    linkStatus = new LinkStatusBar(port, ui->action_search_again, this);
    ui->statusbar->addWidget(linkStatus, 1);
    connect(linkStatus, &LinkStatusBar::cancelRequested, blockReader, &BlockReader::cancel);

    ui->table_block_data->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->table_block_data->horizontalHeader()->hide();
    ui->report_date_edit->setDate(QDate::currentDate());
    ui->high_contrast->setVisible(false);

    blockView = new BlockView({ui->table_block_data, ui->min_box, ui->max_box, ui->mean_box, ui->stdev_box,
                               ui->set_limits_checkbox, ui->limits_min, ui->limits_max, ui->graphs_limits_min,
                               ui->graphs_limits_max, ui->graph, ui->diagram,
                               {ui->out_of_band_value, ui->verdict_value, ui->cp_value, ui->cpk_value}},
                              this);
    // Every change of the value range is reported to the window.
    connect(ui->graph->yAxis, SIGNAL(rangeChanged(const QCPRange &)), this,
            SLOT(update_graph_limits(const QCPRange &)));
    connect(ui->diagram->yAxis, SIGNAL(rangeChanged(const QCPRange &)), this,
            SLOT(update_graph_limits(const QCPRange &)));
    connect(blockView, &BlockView::blockShown, this, &MainWindow::enableExport);
    // The band follows its boxes' arrows at once; typed limits count once editing is finished.
    auto *bandSteps = new SpinStepWatch(this);
    bandSteps->watch(ui->limits_min);
    bandSteps->watch(ui->limits_max);
    connect(bandSteps, &SpinStepWatch::stepped, blockView, &BlockView::bandEdited);
    auto *reportStatus = new ReportStatus(this);
    statusBar()->addWidget(reportStatus);
    reportExport = new ReportExport(
        ui, blockView, reportStatus,
        [this] {
            takeDecodedLogo();
            return logoImage;
        },
        this);

    historyPanel = new HistoryPanel(this, statusBar(), ui->action_history, ui->action_history_storage);
    connect(historyPanel, &HistoryPanel::readOpened, this, &MainWindow::openFromHistory);

    ui->toolButton->hide();
    ui->retranslateUi(this);
    updateLogoButtonText();

    placeOnScreen();

    // The logo's side follows the report number's width, known only once the
    // layout has run after the constructor.
    QTimer::singleShot(1, this, [this] { sizeLogoLabel(); });
    // Told from the event loop, over the window that is up by then.
    if (settingsUnreadable)
        QTimer::singleShot(0, this, &MainWindow::tellUnreadableSettings);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Reads not yet stored are said, with where they wait, before the window
    // goes; in a box only when the operator closed it (not on a signal).
    historyPanel->finish(event->spontaneous());
    QMainWindow::closeEvent(event);
}

MainWindow::~MainWindow()
{
    historyPanel->finish();
    if (!storeSettings())
        tellSettingsNotSaved();
    delete ui;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->report_form_scroll_contents) {
        if (event->type() == QEvent::LayoutRequest)
            fitReportFormWidth();
        return QMainWindow::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Shift && blockView) {
            const Qt::Orientation orientation =
                event->type() == QEvent::KeyPress ? Qt::Vertical : Qt::Horizontal;
            blockView->setWheelZoom(orientation);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    if (event)
        QMainWindow::resizeEvent(event);
    refreshLogo();
}

// Slots that only exist so the form's connections by name find them.
void MainWindow::on_graphs_limits_min_valueChanged(double) {}
void MainWindow::on_graphs_limits_max_valueChanged(double) {}
void MainWindow::on_limits_max_valueChanged(double) {}
void MainWindow::on_limits_min_valueChanged(double) {}
void MainWindow::on_toolButton_clicked() {}
