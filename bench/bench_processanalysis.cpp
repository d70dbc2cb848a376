// Process analysis of a full block (65 535 readings): histogram bins, I-MR
// limits, the five rules and the capability table computed alone; computed
// and drawn in the analysis window (offscreen), with each tab on show; and
// what the open window adds to showing another block in the main window.
#include "../tests/mainwindowtester.h"
#include "device/pathportlister.h"
#include "figures.h"
#include "ui/processanalysisdialog.h"
#include "ui/processanalysispanel.h"
#include "values/processanalysis.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTextStream>
#include <cmath>
#include <ctime>
#include <functional>

namespace {

constexpr int kReadings = 65535;
constexpr int kRuns = 15;
constexpr double kDrawnGoalMs = 100.0;
constexpr double kAddedShowGoalMs = 30.0;
const QSize kWindowSize(1400, 900);
const QSize kDialogSize(1000, 750);
const ToleranceBand kBand{true, 19.985, 20.015};

QVector<float> readings(quint32 seed)
{
    QVector<float> values(kReadings);
    quint32 state = seed;
    for (int i = 0; i < kReadings; ++i) {
        state = state * 1664525u + 1013904223u;
        const double noise = (state >> 8) / double(1 << 24) - 0.5;
        values[i] = float(20.0 + 0.01 * std::sin(i * 0.37) + 0.004 * noise);
    }
    return values;
}

// Until the window shows the analysis asked for, drawn.
void waitForAnalysis(ProcessAnalysisDialog *dialog)
{
    while (dialog->isBusy())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
}

// The processor time of the whole program (all its threads), in ms: on a busy
// machine the wall clock counts other programs' turns too.
double processorMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

Figures timed(const std::function<void()> &work)
{
    return timedMs(work, kRuns);
}

QString verdict(double figure, double goal)
{
    return figure <= goal ? QStringLiteral("ok") : QStringLiteral("MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    freshSettingsFolder();
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QVector<float> first = readings(1);
    const QVector<float> second = readings(2);

    int checksum = 0;
    const Figures computed = timed([&, flip = 0]() mutable {
        const ProcessAnalysis a = analyseProcess(flip++ % 2 ? second : first, {kBand.lower, kBand.upper});
        checksum += a.bins.counts.size() + a.breaking[0].size() + a.capability.n;
    });
    out << QStringLiteral("process analysis of %1 readings, computed alone: median %2 ms, worst %3 ms "
                          "(checksum %4)\n")
               .arg(kReadings)
               .arg(computed.median, 0, 'f', 1)
               .arg(computed.worst, 0, 'f', 1)
               .arg(checksum);

    // Where the computing goes.
    QVector<double> values(first.cbegin(), first.cend());
    const ImrLimits limits = imrLimits(values);
    const QPair<QString, std::function<void()>> parts[] = {
        {QStringLiteral("histogram bins"), [&] { checksum += histogramBins(first).counts.size(); }},
        {QStringLiteral("I-MR limits"), [&] { checksum += int(imrLimits(values).upper); }},
        {QStringLiteral("five rules"),
         [&] { checksum += ruleBreaks(values, limits.centre, limits.sigma).points[3].size(); }},
        {QStringLiteral("capability"),
         [&] {
             checksum += processCapability(first, {kBand.lower, kBand.upper}).n;
         }},
    };
    for (const auto &part : parts)
        out << QStringLiteral("  %1: median %2 ms\n")
                   .arg(part.first)
                   .arg(timed(part.second).median, 0, 'f', 1);

    // No serial port handshake may run inside the timed work.
    MainWindow window(std::make_shared<PathPortLister>());
    window.resize(kWindowSize);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    Ui::MainWindow *ui = MainWindowTester::ui(window);
    ui->limits_min->setValue(kBand.lower);
    ui->limits_max->setValue(kBand.upper);
    ui->set_limits_checkbox->setChecked(kBand.on);
    window.blockList().showRead(
        {MemoryBlock{QStringLiteral("A"), first}, MemoryBlock{QStringLiteral("B"), second}});
    QListWidget *list = ui->block_names_list;
    auto show = [&](int row) {
        emit list->itemDoubleClicked(list->item(row));
        QApplication::processEvents();
    };
    show(0);

    // Showing another block while the analysis window is closed, then open.
    const Figures closedShow = timed([&, flip = 0]() mutable { show(++flip % 2); });
    ui->action_process_analysis->trigger();
    ProcessAnalysisDialog *dialog = window.processAnalysis().dialog();
    dialog->resize(kDialogSize);
    if (!QTest::qWaitForWindowExposed(dialog))
        return 1;
    auto *tabs = dialog->findChild<QTabWidget *>(QStringLiteral("analysis_tabs"));

    out << QStringLiteral("computed and drawn in the window (%1 x %2), goal %3 ms:\n")
               .arg(kDialogSize.width())
               .arg(kDialogSize.height())
               .arg(kDrawnGoalMs);
    Figures worstTab;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        tabs->setCurrentIndex(tab);
        QApplication::processEvents();
        QVector<double> processor;
        const Figures drawn = timed([&, flip = 0]() mutable {
            const double start = processorMs();
            dialog->analyse(QStringLiteral("A"), ++flip % 2 ? second : first, kBand);
            waitForAnalysis(dialog);
            processor.append(processorMs() - start);
        });
        out << QStringLiteral("  tab \"%1\": median %2 ms, worst %3 ms (processor time %4 ms): %5\n")
                   .arg(tabs->tabText(tab))
                   .arg(drawn.median, 0, 'f', 1)
                   .arg(drawn.worst, 0, 'f', 1)
                   .arg(summary(processor).median, 0, 'f', 1)
                   .arg(verdict(drawn.median, kDrawnGoalMs));
        if (drawn.median > worstTab.median)
            worstTab = drawn;
    }

    // The charts' tab is the one that costs most to follow.
    tabs->setCurrentIndex(1);
    QApplication::processEvents();
    QVector<double> showTimes, followTimes;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer clock;
        clock.start();
        show((run + 1) % 2);
        showTimes.append(clock.nsecsElapsed() / 1e6);
        waitForAnalysis(dialog);
        followTimes.append(clock.nsecsElapsed() / 1e6);
    }
    const Figures openShow = summary(showTimes);
    const Figures followed = summary(followTimes);
    const double added = openShow.median - closedShow.median;
    out << QStringLiteral(
               "showing another block of %1 readings: %2 ms with the analysis closed, %3 ms with it "
               "open on the I-MR charts; added %4 ms, goal %5 ms: %6\n")
               .arg(kReadings)
               .arg(closedShow.median, 0, 'f', 1)
               .arg(openShow.median, 0, 'f', 1)
               .arg(added, 0, 'f', 1)
               .arg(kAddedShowGoalMs)
               .arg(verdict(added, kAddedShowGoalMs));
    const double after = followed.median - openShow.median;
    out << QStringLiteral(
               "  the analysis window showed the new block %1 ms (worst %2 ms) after the show began, "
               "%3 ms after the block itself was on show; goal for computed and drawn %4 ms: %5\n")
               .arg(followed.median, 0, 'f', 1)
               .arg(followed.worst, 0, 'f', 1)
               .arg(after, 0, 'f', 1)
               .arg(kDrawnGoalMs)
               .arg(verdict(after, kDrawnGoalMs));
    out << QStringLiteral("worst tab computed and drawn: median %1 ms, goal %2 ms: %3\n")
               .arg(worstTab.median, 0, 'f', 1)
               .arg(kDrawnGoalMs)
               .arg(verdict(worstTab.median, kDrawnGoalMs));
    return 0;
}
