// Times showing a block (table, marks, both plots, statistics) and replotting
// both plots while they are dragged or wheel-zoomed, for blocks of several
// sizes up to the instrument's largest (65 535 values). Prints one line per
// figure: the median of several runs, in milliseconds.

#include "../tests/mainwindowtester.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTextStream>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr int kRuns = 15;
constexpr int kDragSteps = 20;
const QSize kWindowSize(1400, 900);

QVector<float> noisyReadings(int count)
{
    QVector<float> values(count);
    quint32 state = 12345;
    for (int i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        const double noise = (state >> 8) / double(1 << 24) - 0.5;
        values[i] = float(5.0 + 2.0 * std::sin(i / 300.0) + noise);
    }
    return values;
}

double medianMs(const std::function<void()> &work, int runs = kRuns)
{
    QVector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        work();
        times.append(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(times.size() / 2);
}

void wheel(QWidget *plot, int delta)
{
    const QPoint centre = plot->rect().center();
    QWheelEvent event(centre, plot->mapToGlobal(centre), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot, &event);
}

void drag(QWidget *plot, int steps)
{
    const QPoint start = plot->rect().center();
    QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, start);
    for (int step = 1; step <= steps; ++step) {
        QMouseEvent move(QEvent::MouseMove, start + QPoint(step * 3, step % 2), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(plot, &move);
    }
    QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, start + QPoint(steps * 3, 0));
}

} // namespace

int main(int argc, char **argv)
{
    QStandardPaths::setTestModeEnabled(true);
    freshSettingsFolder();
    QApplication app(argc, argv);
    QTextStream out(stdout);

    MainWindow window;
    window.resize(kWindowSize);
    window.show();
    QTest::qWaitForWindowExposed(&window);
    Ui::MainWindow *ui = MainWindowTester::ui(window);
    out << "plot area " << ui->graph->axisRect()->width() << " x " << ui->graph->axisRect()->height()
        << " px each\n";

    for (const bool bandOn : {false, true}) {
        ui->limits_min->setValue(4.0);
        ui->limits_max->setValue(6.0);
        ui->set_limits_checkbox->setChecked(bandOn);
        out << "band " << (bandOn ? "on (4..6)" : "off") << "\n";
        for (const int count : {1000, 10000, 65535}) {
            MainWindowTester::setBlocks(window, {MemoryBlock{"A", noisyReadings(count)},
                                                 MemoryBlock{"B", noisyReadings(count)}});
            QListWidgetItem *first = ui->block_names_list->item(0);
            QListWidgetItem *second = ui->block_names_list->item(1);
            int flip = 0;
            const double show = medianMs([&] {
                emit ui->block_names_list->itemDoubleClicked(flip++ % 2 ? second : first);
                QApplication::processEvents();
            });
            const double graphReplot = medianMs([&] { ui->graph->replot(); });
            const double diagramReplot = medianMs([&] { ui->diagram->replot(); });

            // One drag step moves both axes of both plots: each plot replots
            // for its x and for its y change.
            const double dragStep = medianMs([&] { drag(ui->graph, kDragSteps); }, 5) / kDragSteps;
            emit ui->block_names_list->itemDoubleClicked(first);
            int direction = 0;
            const double wheelStep = medianMs([&] {
                wheel(ui->graph, direction++ % 2 ? -120 : 120);
            });
            emit ui->block_names_list->itemDoubleClicked(first);
            // Zoomed in until single markers and bars show.
            ui->graph->xAxis->setRange(count / 2.0, count / 2.0 + 150);
            const double zoomedGraph = medianMs([&] { ui->graph->replot(); });
            const double zoomedDiagram = medianMs([&] { ui->diagram->replot(); });

            out << QString("  %1 values: show %2 ms | replot graph %3 ms, diagram %4 ms | "
                           "drag step (both plots) %5 ms | wheel step (both plots) %6 ms | "
                           "zoomed to 150: graph %7 ms, diagram %8 ms\n")
                       .arg(count, 5)
                       .arg(show, 0, 'f', 1)
                       .arg(graphReplot, 0, 'f', 1)
                       .arg(diagramReplot, 0, 'f', 1)
                       .arg(dragStep, 0, 'f', 1)
                       .arg(wheelStep, 0, 'f', 1)
                       .arg(zoomedGraph, 0, 'f', 1)
                       .arg(zoomedDiagram, 0, 'f', 1);
            out.flush();
        }
    }
    return 0;
}
