#include "ui/mainwindow.h"

#include "device/systemportlister.h"
#include "history/activehistory.h"
#include "history/readrecord.h"
#include "settings/settingssession.h"
#include "ui/appicon.h"
#include "ui/blocklist.h"
#include "ui/blockview.h"
#include "ui/formparts.h"
#include "ui/labelelision.h"
#include "ui/linkstatusbar.h"
#include "ui/reportexport.h"
#include "ui/reportlogo.h"
#include "ui/reportstatus.h"
#include "ui/spinstepwatch.h"
#include "ui_mainwindow.h"

#include <QDate>
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
    logoPanel = new ReportLogo(reportLogoWidgets(*ui), this);

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
    // The band follows its boxes' arrows at once; typed limits count once editing is finished.
    auto *bandSteps = new SpinStepWatch(this);
    bandSteps->watch(ui->limits_min);
    bandSteps->watch(ui->limits_max);
    connect(bandSteps, &SpinStepWatch::stepped, viewPanel, &BlockView::bandEdited);
    auto *reportStatus = new ReportStatus(this);
    statusBar()->addWidget(reportStatus, 1);
    exportPanel = new ReportExport(reportFormWidgets(*ui), viewPanel, reportStatus,
                                   [this] { return logoPanel->image(); }, this);

    setUpHistory();
    elideLabel(historyStatus);
    wireBlockList();

    ui->toolButton->hide();
    ui->retranslateUi(this);
    logoPanel->retranslate();

    placeOnScreen(settings->startValues().windowGeometry);

    // The logo's side follows the report number's width, known only once the
    // layout has run after the constructor.
    QTimer::singleShot(1, this, [this] { logoPanel->sizeLabel(); });
}

MainWindow::~MainWindow()
{
    storeSettings();
    // The list empties as the form goes; the view it would clear goes first.
    blocksPanel->disconnect();
    delete ui;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->report_form_scroll_contents) {
        if (event->type() == QEvent::LayoutRequest)
            fitColumns();
        return QMainWindow::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Shift && viewPanel) {
            const Qt::Orientation orientation =
                event->type() == QEvent::KeyPress ? Qt::Vertical : Qt::Horizontal;
            viewPanel->setWheelZoom(orientation);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    if (event)
        QMainWindow::resizeEvent(event);
    logoPanel->refresh();
}

// Slots that only exist so the form's connections by name find them.
void MainWindow::on_graphs_limits_min_valueChanged(double) {}
void MainWindow::on_graphs_limits_max_valueChanged(double) {}
void MainWindow::on_limits_max_valueChanged(double) {}
void MainWindow::on_limits_min_valueChanged(double) {}
void MainWindow::on_toolButton_clicked() {}
