// Times showing a block (table, marks, both plots, statistics) and the
// replots of both plots while they are dragged or wheel-zoomed, for blocks of
// several sizes up to the instrument's largest (65 535 values), with the
// tolerance band off and on. Prints medians (and the worst case) in ms.

#include "../tests/mainwindowtester.h"
#include "device/pathportlister.h"
#include "figures.h"

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
constexpr int kSteps = 30;
const QSize kWindowSize(1400, 900);

QVector<float> noisyReadings(int count, quint32 seed)
{
    QVector<float> values(count);
    quint32 state = seed;
    for (int i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        const double noise = (state >> 8) / double(1 << 24) - 0.5;
        values[i] = float(5.0 + 2.0 * std::sin(i / 300.0) + noise);
    }
    return values;
}

Figures timed(const std::function<void()> &work, int runs = kRuns)
{
    return timedMs(work, runs);
}

QString text(const Figures &f)
{
    return QStringLiteral("%1 (worst %2)").arg(f.median, 0, 'f', 1).arg(f.worst, 0, 'f', 1);
}

// Records how long each replot of one plot takes.
class ReplotClock
{
public:
    explicit ReplotClock(QCustomPlot *plot)
    {
        QObject::connect(plot, &QCustomPlot::beforeReplot, plot, [this] { clock.start(); });
        QObject::connect(plot, &QCustomPlot::afterReplot, plot,
                         [this] { times.append(clock.nsecsElapsed() / 1e6); });
    }
    void reset() { times.clear(); }
    Figures figures() const { return summary(times); }
    int count() const { return times.size(); }

private:
    QElapsedTimer clock;
    QVector<double> times;
};

// Runs what an input event left queued: the replots, then their paints.
void settle()
{
    QApplication::processEvents();
    QApplication::processEvents();
}

void wheel(QWidget *plot, int delta)
{
    const QPoint centre = plot->rect().center();
    QWheelEvent event(centre, plot->mapToGlobal(centre), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(plot, &event);
}

} // namespace

int main(int argc, char **argv)
{
    freshSettingsFolder();
    QApplication app(argc, argv);
    QTextStream out(stdout);

    // No serial port handshake may run inside the timed work.
    MainWindow window(std::make_shared<PathPortLister>());
    window.resize(kWindowSize);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    Ui::MainWindow *ui = MainWindowTester::ui(window);
    ReplotClock graphClock(ui->graph);
    ReplotClock diagramClock(ui->diagram);
    out << "plot areas " << ui->graph->axisRect()->width() << " x " << ui->graph->axisRect()->height()
        << " px; times in ms, median (worst)\n";

    for (const bool bandOn : {false, true}) {
        ui->limits_min->setValue(4.0);
        ui->limits_max->setValue(6.0);
        ui->set_limits_checkbox->setChecked(bandOn);
        out << (bandOn ? "band on (4 .. 6, about a third of the values outside)\n" : "band off\n");
        for (const int count : {1000, 10000, 65535}) {
            window.blockList().showRead({MemoryBlock{"A", noisyReadings(count, 1)},
                                         MemoryBlock{"B", noisyReadings(count, 2)},
                                         MemoryBlock{"small", noisyReadings(10, 3)}});
            QListWidget *list = ui->block_names_list;
            auto show = [&](int row) {
                emit list->itemDoubleClicked(list->item(row));
                QApplication::processEvents();
            };
            int flip = 0;
            const Figures reshow = timed([&] { show(flip++ % 2); });
            QVector<double> firstTimes;
            for (int run = 0; run < kRuns; ++run) {
                show(2);
                firstTimes.append(timed([&] { show(run % 2); }, 1).median);
            }
            const Figures first = summary(firstTimes);

            show(0);
            graphClock.reset();
            diagramClock.reset();
            QWidget *graph = ui->graph;
            const QPoint start = graph->rect().center();
            QTest::mousePress(graph, Qt::LeftButton, Qt::NoModifier, start);
            const Figures dragStep = timed(
                [&, step = 0]() mutable {
                    ++step;
                    QMouseEvent move(QEvent::MouseMove, start + QPoint(step * 3, step % 7), Qt::NoButton,
                                     Qt::LeftButton, Qt::NoModifier);
                    QApplication::sendEvent(graph, &move);
                    settle();
                },
                kSteps);
            QTest::mouseRelease(graph, Qt::LeftButton, Qt::NoModifier, start);
            const Figures dragGraph = graphClock.figures();
            const Figures dragDiagram = diagramClock.figures();
            const double dragReplots = double(graphClock.count() + diagramClock.count()) / kSteps;

            show(0);
            graphClock.reset();
            diagramClock.reset();
            const Figures wheelStep = timed(
                [&, turn = 0]() mutable {
                    wheel(graph, turn++ % 4 < 2 ? 120 : -120);
                    settle();
                },
                kSteps);
            const Figures wheelGraph = graphClock.figures();
            const Figures wheelDiagram = diagramClock.figures();
            const double wheelReplots = double(graphClock.count() + diagramClock.count()) / kSteps;

            // Zoomed in until single markers and bars show.
            ui->graph->xAxis->setRange(count / 2.0, count / 2.0 + 150);
            graphClock.reset();
            diagramClock.reset();
            timed([&] {
                ui->graph->replot();
                ui->diagram->replot();
            });

            out << QStringLiteral("  %1 values\n").arg(count);
            out << "    show, same size as before:  " << text(reshow) << "\n";
            out << "    show, after a small block:  " << text(first) << "\n";
            out << "    drag, one replot:           graph " << text(dragGraph) << ", diagram "
                << text(dragDiagram) << "\n";
            out << "    drag, one mouse move:       " << text(dragStep) << ", " << dragReplots
                << " replots of the two plots (goal with the band on: 8 ms, 2 replots)\n";
            out << "    wheel zoom, one replot:     graph " << text(wheelGraph) << ", diagram "
                << text(wheelDiagram) << "\n";
            out << "    wheel zoom, one wheel step: " << text(wheelStep) << ", " << wheelReplots
                << " replots of the two plots\n";
            out << "    zoomed to 150, one replot:  graph " << text(graphClock.figures()) << ", diagram "
                << text(diagramClock.figures()) << "\n";
            out.flush();
        }
    }
    return 0;
}
