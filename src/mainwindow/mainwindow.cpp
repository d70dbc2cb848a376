#include "mainwindow.h"

#include "ui_mainwindow.h"

#include <QDate>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

namespace {

constexpr int kTopEdgeWhenTooTall = 20;

void setWheelZoom(QCustomPlot *plot, Qt::Orientation orientation)
{
    plot->axisRect(0)->setRangeZoom(orientation);
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    installEventFilter(this);
    translator = new QTranslator(this);

    applySettings();

    connect(&port, &Port::validPortFound, this, &MainWindow::validPortFound);
    connect(&port, &Port::validPortDisconnected, this, &MainWindow::validPortDisconnected);

    ui->table_block_data->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ui->table_block_data->horizontalHeader()->hide();
    ui->report_date_edit->setDate(QDate::currentDate());
    ui->high_contrast->setVisible(false);

    for (QCustomPlot *plot : {ui->graph, ui->diagram}) {
        plot->setInteraction(QCP::iRangeZoom, true);
        plot->setInteraction(QCP::iRangeDrag, true);
        setWheelZoom(plot, Qt::Horizontal);
    }

    // The linked axes keep both plots on the same ranges; these go by signature
    // string so that the library's own setRange slot is what receives them.
    connect(ui->graph->xAxis, SIGNAL(rangeChanged(const QCPRange &)), ui->diagram->xAxis,
            SLOT(setRange(const QCPRange &)));
    connect(ui->diagram->xAxis, SIGNAL(rangeChanged(const QCPRange &)), ui->graph->xAxis,
            SLOT(setRange(const QCPRange &)));
    connect(ui->graph->xAxis, SIGNAL(rangeChanged(const QCPRange &)), ui->graph, SLOT(replot()));
    connect(ui->diagram->xAxis, SIGNAL(rangeChanged(const QCPRange &)), ui->diagram, SLOT(replot()));
    connect(ui->graph->yAxis, SIGNAL(rangeChanged(const QCPRange &)), ui->diagram->yAxis,
            SLOT(setRange(const QCPRange &)));
    connect(ui->diagram->yAxis, SIGNAL(rangeChanged(const QCPRange &)), ui->graph->yAxis,
            SLOT(setRange(const QCPRange &)));
    connect(ui->graph->yAxis, SIGNAL(rangeChanged(const QCPRange &)), ui->graph, SLOT(replot()));
    connect(ui->diagram->yAxis, SIGNAL(rangeChanged(const QCPRange &)), ui->diagram, SLOT(replot()));
    connect(ui->graph->yAxis, SIGNAL(rangeChanged(const QCPRange &)), this,
            SLOT(update_graph_limits(const QCPRange &)));
    connect(ui->diagram->yAxis, SIGNAL(rangeChanged(const QCPRange &)), this,
            SLOT(update_graph_limits(const QCPRange &)));

    graphMinLine = new QCPItemStraightLine(ui->graph);
    graphMaxLine = new QCPItemStraightLine(ui->graph);
    diagramMinLine = new QCPItemStraightLine(ui->diagram);
    diagramMaxLine = new QCPItemStraightLine(ui->diagram);
    updateLimitLines();

    ui->toolButton->hide();
    ui->retranslateUi(this);
    updateLogoButtonText();

    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const int x = (available.width() - width()) / 2;
    int y = (available.height() - height()) / 2;
    if (x < 0 || y < 0)
        y = kTopEdgeWhenTooTall;
    move(x, y);
    resize(1, 1);

    QTimer::singleShot(1, this, [this] { sizeLogoLabel(); });
}

MainWindow::~MainWindow()
{
    storeSettings();
    delete ui;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Shift) {
            const Qt::Orientation orientation =
                event->type() == QEvent::KeyPress ? Qt::Vertical : Qt::Horizontal;
            setWheelZoom(ui->graph, orientation);
            setWheelZoom(ui->diagram, orientation);
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
