#include "ui/mainwindow.h"

#include "ui/blockview.h"
#include "ui/reportexport.h"
#include "ui_mainwindow.h"

#include <QDate>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

namespace {

constexpr int kTopEdgeWhenTooTall = 20;

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

    blockView = new BlockView({ui->table_block_data, ui->min_box, ui->max_box, ui->mean_box, ui->stdev_box,
                               ui->set_limits_checkbox, ui->limits_min, ui->limits_max, ui->graphs_limits_min,
                               ui->graphs_limits_max, ui->graph, ui->diagram},
                              this);
    // Every change of the value range is reported to the window.
    connect(ui->graph->yAxis, SIGNAL(rangeChanged(const QCPRange &)), this,
            SLOT(update_graph_limits(const QCPRange &)));
    connect(ui->diagram->yAxis, SIGNAL(rangeChanged(const QCPRange &)), this,
            SLOT(update_graph_limits(const QCPRange &)));
    connect(blockView, &BlockView::blockShown, this, &MainWindow::enableExport);
    reportExport = new ReportExport(
        ui, blockView, [this] { return logoImage; }, this);

    setUpHistory();

    ui->toolButton->hide();
    ui->retranslateUi(this);
    updateLogoButtonText();

    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const int x = (available.width() - width()) / 2;
    int y = (available.height() - height()) / 2;
    if (x < 0 || y < 0)
        y = kTopEdgeWhenTooTall;
    move(x, y);
    // Shrinks the window to the smallest size its layout allows.
    resize(1, 1);

    // The logo's side follows the report number's width, known only once the
    // layout has run after the constructor.
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
