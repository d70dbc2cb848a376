// The process analysis window: opened from the "Данные" menu and by Ctrl+J,
// it follows the block on show and the band; its capability table against
// figures worked out here, its rule list on series made to break one rule at
// known readings, σ = 0, English, copying the table and saving the charts.

#include "mainwindowtester.h"
#include "ui/plotexport.h"
#include "ui/processanalysisdialog.h"
#include "windowtestmain.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QListWidget>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

namespace {

// A reading's table number is its place from 1; the series below name readings that way.
QVector<float> noisyReadings(int count, quint32 seed)
{
    QVector<float> values(count);
    quint32 state = seed;
    for (int i = 0; i < count; ++i) {
        state = state * 1664525u + 1013904223u;
        values[i] = float(20.0 + int((state >> 8) % 11 - 5) / 10.0);
    }
    return values;
}

// ±1 around 20 in turn (no run, nothing beyond 1σ), with `run` readings from
// `from` (0-based) at 20.2 and 20.6 in turn: all above the centre line, the
// next reading below it again.
QVector<float> zigzagWithRunAbove(int count, int from, int run)
{
    QVector<float> values(count);
    for (int i = 0; i < count; ++i) {
        const bool flipped = i >= from + run; // the pattern goes on below after the run
        values[i] = ((i % 2 == 1) != flipped) ? 21.0f : 19.0f;
    }
    for (int i = from; i < from + run; ++i)
        values[i] = (i - from) % 2 == 0 ? 20.2f : 20.6f;
    return values;
}

QVector<float> zigzagWithOutlier(int count, int at, float outlier)
{
    QVector<float> values(count);
    for (int i = 0; i < count; ++i)
        values[i] = i % 2 == 1 ? 21.0f : 19.0f;
    values[at] = outlier;
    return values;
}

// The figures worked out from their definitions.
struct Reference
{
    double mean = 0, movingRangeMean = 0, sigmaWithin = 0, sigmaOverall = 0;
    double cp = 0, cpk = 0, pp = 0, ppk = 0;
    double expectedPpm = 0, observedPpm = 0;
};

Reference reference(const QVector<float> &readings, double lower, double upper)
{
    Reference r;
    const int n = readings.size();
    for (float v : readings)
        r.mean += v;
    r.mean /= n;
    double squares = 0;
    for (float v : readings)
        squares += (v - r.mean) * (v - r.mean);
    r.sigmaOverall = std::sqrt(squares / (n - 1));
    for (int i = 1; i < n; ++i)
        r.movingRangeMean += std::fabs(double(readings[i]) - double(readings[i - 1]));
    r.movingRangeMean /= n - 1;
    r.sigmaWithin = r.movingRangeMean / 1.128;
    r.cp = (upper - lower) / (6 * r.sigmaWithin);
    r.cpk = std::min(upper - r.mean, r.mean - lower) / (3 * r.sigmaWithin);
    r.pp = (upper - lower) / (6 * r.sigmaOverall);
    r.ppk = std::min(upper - r.mean, r.mean - lower) / (3 * r.sigmaOverall);
    const auto tail = [](double z) { return 0.5 * std::erfc(z / std::sqrt(2.0)); };
    r.expectedPpm = 1e6 * (tail((upper - r.mean) / r.sigmaOverall) + tail((r.mean - lower) / r.sigmaOverall));
    int outside = 0;
    for (float v : readings)
        outside += v < lower || v > upper;
    r.observedPpm = 1e6 * outside / n;
    return r;
}

// 95 % interval of Cp-type indices from the chi-square quantiles of n − 1
// degrees of freedom, taken from the printed table.
QPair<double, double> spreadInterval(double index, int n, double chiLow, double chiHigh)
{
    return {index * std::sqrt(chiLow / (n - 1)), index * std::sqrt(chiHigh / (n - 1))};
}

// Bissell's approximation for Cpk-type indices.
QPair<double, double> locationInterval(double index, int n)
{
    const double half = 1.96 * std::sqrt(1.0 / (9.0 * n) + index * index / (2.0 * (n - 1)));
    return {index - half, index + half};
}

QString fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QString cell(QTableWidget *table, const QString &name, int column)
{
    for (int row = 0; row < table->rowCount(); ++row)
        if (table->item(row, 0)->text() == name)
            return table->item(row, column)->text();
    return QStringLiteral("<no row %1>").arg(name);
}

QStringList listed(QListWidget *list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts.append(list->item(row)->text());
    return texts;
}

QStringList labelsOf(QCustomPlot *plot)
{
    QStringList texts;
    for (int i = 0; i < plot->itemCount(); ++i)
        if (auto *text = qobject_cast<QCPItemText *>(plot->item(i)))
            texts.append(text->text());
    return texts;
}

// The window with its blocks listed and the first shown.
struct Setup
{
    MainWindow window{noPorts()};
    Ui::MainWindow *ui = MainWindowTester::ui(window);

    explicit Setup(const QVector<MemoryBlock> &blocks)
    {
        window.blockList().showRead(blocks);
        MainWindowTester::showBlock(window, 0);
    }
    void setBand(double lower, double upper)
    {
        ui->limits_min->setValue(lower);
        ui->limits_max->setValue(upper);
        ui->set_limits_checkbox->setChecked(true);
    }
    // Opens the window and waits for its first analysis.
    ProcessAnalysisDialog *open()
    {
        ui->action_process_analysis->trigger();
        return settled() ? dialog() : nullptr;
    }
    // The analysis runs on a thread of its own: waits until its answer is on show.
    bool settled()
    {
        return dialog() && QTest::qWaitFor([this] { return !dialog()->isBusy(); }, 10000);
    }
    ProcessAnalysisDialog *dialog()
    {
        return window.findChild<ProcessAnalysisDialog *>(QStringLiteral("ProcessAnalysisDialog"));
    }
    template <typename T>
    T *part(const char *name)
    {
        return dialog() ? dialog()->findChild<T *>(QLatin1String(name)) : nullptr;
    }
    QTableWidget *table() { return part<QTableWidget>("analysis_capability_table"); }
    QListWidget *rules() { return part<QListWidget>("analysis_rules"); }
    QLabel *blockLabel() { return part<QLabel>("analysis_block_label"); }
};

} // namespace

class ProcessAnalysisTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { freshSettingsFolder(); }

    void opensFromTheMenuAndByShortcut()
    {
        Setup s({{QStringLiteral("A"), noisyReadings(30, 1)}});
        QVERIFY(s.ui->data->actions().contains(s.ui->action_process_analysis));
        QCOMPARE(s.ui->action_process_analysis->text(), QStringLiteral("Анализ процесса…"));
        QCOMPARE(s.ui->action_process_analysis->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_J));
        QVERIFY(!s.dialog());

        s.window.show();
        QVERIFY(QTest::qWaitForWindowActive(&s.window));
        QTest::keyClick(&s.window, Qt::Key_J, Qt::ControlModifier);
        QVERIFY(s.dialog());
        QTRY_VERIFY(s.dialog()->isVisible());
        QVERIFY(s.settled());
        QVERIFY(!s.dialog()->isModal());
        QCOMPARE(s.dialog()->windowTitle(), QStringLiteral("Анализ процесса"));
        QCOMPARE(s.blockLabel()->text(), QStringLiteral("Блок: A"));
        for (const char *name : {"analysis_tabs", "analysis_histogram", "analysis_individuals",
                                 "analysis_moving_range", "analysis_rule_1", "analysis_rule_5"})
            QVERIFY2(s.dialog()->findChild<QWidget *>(QLatin1String(name)), name);

        // Closed and opened again from the menu: the same window, shown again.
        ProcessAnalysisDialog *first = s.dialog();
        first->close();
        s.ui->action_process_analysis->trigger();
        QCOMPARE(s.dialog(), first);
        QVERIFY(first->isVisible());
    }

    void followsTheShownBlockAndTheBand()
    {
        Setup s({{QStringLiteral("A"), noisyReadings(30, 1)},
                 {QStringLiteral("B"), noisyReadings(40, 2)},
                 {QStringLiteral("C"), noisyReadings(12, 3)}});
        ProcessAnalysisDialog *dialog = s.open();
        QVERIFY(dialog);
        QCOMPARE(cell(s.table(), QStringLiteral("n"), 1), QStringLiteral("30"));
        QCOMPARE(cell(s.table(), QStringLiteral("Cp"), 1), QStringLiteral("—"));

        MainWindowTester::showBlock(s.window, 1);
        QVERIFY(s.settled());
        QCOMPARE(s.blockLabel()->text(), QStringLiteral("Блок: B"));
        QCOMPARE(cell(s.table(), QStringLiteral("n"), 1), QStringLiteral("40"));
        // The trend tab offers the stored reads of the block on show.
        QCOMPARE(s.part<QComboBox>("trend_block_name")->currentText(), QStringLiteral("B"));
        QCOMPARE(dialog->analysis().values.size(), 40);

        s.setBand(19.7, 20.3);
        QVERIFY(s.settled());
        const Reference r = reference(noisyReadings(40, 2), 19.7, 20.3);
        QCOMPARE(cell(s.table(), QStringLiteral("Cp"), 1), fixed(r.cp, 2));

        // A closed window does not follow; opened again it shows the block on show.
        dialog->close();
        MainWindowTester::showBlock(s.window, 2);
        QCOMPARE(cell(s.table(), QStringLiteral("n"), 1), QStringLiteral("40"));
        QVERIFY(s.open());
        QCOMPARE(s.blockLabel()->text(), QStringLiteral("Блок: C"));
        QCOMPARE(cell(s.table(), QStringLiteral("n"), 1), QStringLiteral("12"));

        // A new read empties the view: the window shows no block.
        s.window.blockList().showRead({{QStringLiteral("D"), noisyReadings(5, 4)}});
        QVERIFY(s.settled());
        QCOMPARE(s.blockLabel()->text(), QStringLiteral("Блок не показан"));
        QCOMPARE(cell(s.table(), QStringLiteral("n"), 1), QStringLiteral("0"));
    }

    void capabilityTableMatchesTheDefinitions_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<quint32>("seed");
        // Chi-square quantiles for n − 1 degrees of freedom at 0.025 and 0.975.
        QTest::addColumn<double>("chiLow");
        QTest::addColumn<double>("chiHigh");
        QTest::newRow("n = 10") << 10 << 7u << 2.700 << 19.023;
        QTest::newRow("n = 30") << 30 << 1u << 16.047 << 45.722;
        QTest::newRow("n = 40") << 40 << 5u << 23.654 << 58.120;
    }
    void capabilityTableMatchesTheDefinitions()
    {
        QFETCH(int, count);
        QFETCH(quint32, seed);
        QFETCH(double, chiLow);
        QFETCH(double, chiHigh);
        constexpr double lower = 19.7, upper = 20.3;
        const QVector<float> readings = noisyReadings(count, seed);
        Setup s({{QStringLiteral("A"), readings}});
        s.setBand(lower, upper);
        QVERIFY(s.open());
        QTableWidget *t = s.table();
        const Reference r = reference(readings, lower, upper);

        QCOMPARE(cell(t, QStringLiteral("n"), 1), QString::number(count));
        QCOMPARE(cell(t, QStringLiteral("среднее"), 1), fixed(r.mean, 3));
        QCOMPARE(cell(t, QStringLiteral("σ внутренняя (MR̄ / 1.128)"), 1), fixed(r.sigmaWithin, 4));
        QCOMPARE(cell(t, QStringLiteral("σ общая"), 1), fixed(r.sigmaOverall, 4));
        const QPair<double, double> cpInterval = spreadInterval(r.cp, count, chiLow, chiHigh);
        const QPair<double, double> ppInterval = spreadInterval(r.pp, count, chiLow, chiHigh);
        const QPair<double, double> cpkInterval = locationInterval(r.cpk, count);
        const QPair<double, double> ppkInterval = locationInterval(r.ppk, count);
        const struct
        {
            const char *name;
            double value;
            QPair<double, double> interval;
        } indices[] = {{"Cp", r.cp, cpInterval},
                       {"Cpk", r.cpk, cpkInterval},
                       {"Pp", r.pp, ppInterval},
                       {"Ppk", r.ppk, ppkInterval}};
        for (const auto &index : indices) {
            const QString name = QLatin1String(index.name);
            QCOMPARE(cell(t, name, 1), fixed(index.value, 2));
            QCOMPARE(cell(t, name, 2), fixed(index.interval.first, 2));
            QCOMPARE(cell(t, name, 3), fixed(index.interval.second, 2));
        }
        QCOMPARE(cell(t, QStringLiteral("ожидаемая доля вне допуска, ppm"), 1), fixed(r.expectedPpm, 1));
        QCOMPARE(cell(t, QStringLiteral("наблюдаемая доля вне допуска, ppm"), 1), fixed(r.observedPpm, 1));
        QCOMPARE(cell(t, QStringLiteral("примечание"), 1), count < 25
                                                               ? QStringLiteral("малая выборка (n < 25)")
                                                               : QStringLiteral("<no row примечание>"));

        // The individuals chart's lines at mean ± 2.660 · MR̄, the moving ranges' at MR̄ and 3.267 · MR̄.
        QCOMPARE(labelsOf(s.part<QCustomPlot>("analysis_individuals")),
                 (QStringList{QStringLiteral("ЦЛ = ") + fixed(r.mean, 3),
                              QStringLiteral("ВКГ = ") + fixed(r.mean + 2.660 * r.movingRangeMean, 3),
                              QStringLiteral("НКГ = ") + fixed(r.mean - 2.660 * r.movingRangeMean, 3)}));
        QCOMPARE(labelsOf(s.part<QCustomPlot>("analysis_moving_range")),
                 (QStringList{QStringLiteral("ЦЛ = ") + fixed(r.movingRangeMean, 3),
                              QStringLiteral("ВКГ = ") + fixed(3.267 * r.movingRangeMean, 3),
                              QStringLiteral("НКГ = 0.000")}));
    }

    void brokenRulesAreListedAndMarked_data()
    {
        QTest::addColumn<QVector<float>>("readings");
        QTest::addColumn<int>("rule");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("marked");
        QTest::newRow("rule 4: eight above the centre line")
            << zigzagWithRunAbove(40, 11, 8) << 4 << QStringLiteral("правило 4: значения 12–19") << 8;
        // A reading that is no number keeps its table number; the run goes on over it.
        QVector<float> withGap = zigzagWithRunAbove(40, 11, 8);
        withGap.insert(13, qQNaN());
        QTest::newRow("rule 4 over a reading that is no number")
            << withGap << 4 << QStringLiteral("правило 4: значения 12–13, 15–20") << 8;
        QTest::newRow("rule 1: one point beyond 3σ")
            << zigzagWithOutlier(40, 19, 30.0f) << 1 << QStringLiteral("правило 1: значение 20") << 1;
    }
    void brokenRulesAreListedAndMarked()
    {
        QFETCH(QVector<float>, readings);
        QFETCH(int, rule);
        QFETCH(QString, line);
        QFETCH(int, marked);
        Setup s({{QStringLiteral("A"), readings}});
        QVERIFY(s.open());
        QCOMPARE(listed(s.rules()), QStringList{line});
        // The readings and the marks of the points that break a rule.
        auto *chart = s.part<QCustomPlot>("analysis_individuals");
        QCOMPARE(chart->graphCount(), 2);
        QCOMPARE(chart->graph(1)->dataCount(), marked);

        // With the rule switched off nothing is broken, nothing marked.
        auto *box = s.part<QCheckBox>(qPrintable(QStringLiteral("analysis_rule_%1").arg(rule)));
        QVERIFY(box->isChecked());
        box->setChecked(false);
        QVERIFY(s.settled());
        QCOMPARE(listed(s.rules()), QStringList{QStringLiteral("правила не нарушены")});
        QCOMPARE(chart->graphCount(), 1);
        box->setChecked(true);
        QVERIFY(s.settled());
        QCOMPARE(listed(s.rules()), QStringList{line});
    }

    // A one-sided band has no Cp or Pp, as the verdict area has none; Cpk
    // and Ppk come from the side that applies.
    void oneSidedBandJudgesOneSide_data()
    {
        QTest::addColumn<int>("kind"); // the tolerance box's row
        QTest::newRow("lower only") << 1;
        QTest::newRow("upper only") << 2;
    }
    void oneSidedBandJudgesOneSide()
    {
        QFETCH(int, kind);
        constexpr double lower = 19.7, upper = 20.3;
        const QVector<float> readings = noisyReadings(30, 3u);
        Setup s({{QStringLiteral("A"), readings}});
        s.setBand(lower, upper);
        s.ui->tolerance_kind->setCurrentIndex(kind);
        QVERIFY(s.open());
        QTableWidget *t = s.table();
        const Reference r = reference(readings, lower, upper);
        const double distance = kind == 1 ? r.mean - lower : upper - r.mean;
        for (const char *index : {"Cp", "Pp"})
            QCOMPARE(cell(t, index, 1), QStringLiteral("—"));
        QCOMPARE(cell(t, QStringLiteral("Cpk"), 1), fixed(distance / (3.0 * r.sigmaWithin), 2));
        QCOMPARE(cell(t, QStringLiteral("Ppk"), 1), fixed(distance / (3.0 * r.sigmaOverall), 2));
        QCOMPARE(cell(t, QStringLiteral("Cpk"), 1), s.ui->cpk_value->text());
    }

    void noSpreadShowsDashes_data()
    {
        QTest::addColumn<QVector<float>>("readings");
        QTest::addColumn<QString>("sigma");
        QTest::newRow("equal readings") << QVector<float>(30, 20.0f) << QStringLiteral("0.0000");
        QTest::newRow("one reading") << QVector<float>{20.0f} << QStringLiteral("—");
        QTest::newRow("not numbers") << QVector<float>{float(qQNaN()), float(qInf()), 20.0f, 20.0f}
                                     << QStringLiteral("0.0000");
    }
    void noSpreadShowsDashes()
    {
        QFETCH(QVector<float>, readings);
        QFETCH(QString, sigma);
        Setup s({{QStringLiteral("A"), readings}});
        s.setBand(19.0, 21.0);
        QVERIFY(s.open());
        QTableWidget *t = s.table();
        QCOMPARE(cell(t, QStringLiteral("σ внутренняя (MR̄ / 1.128)"), 1), sigma);
        QCOMPARE(cell(t, QStringLiteral("σ общая"), 1), sigma);
        for (const char *index : {"Cp", "Cpk", "Pp", "Ppk"})
            for (int column = 1; column <= 3; ++column)
                QCOMPARE(cell(t, index, column), QStringLiteral("—"));
        QCOMPARE(cell(t, QStringLiteral("ожидаемая доля вне допуска, ppm"), 1), QStringLiteral("—"));
        QCOMPARE(cell(t, QStringLiteral("наблюдаемая доля вне допуска, ppm"), 1), QStringLiteral("0.0"));
        QCOMPARE(cell(t, QStringLiteral("исключено (не числа)"), 1),
                 QString::number(std::count_if(readings.cbegin(), readings.cend(),
                                               [](float v) { return !std::isfinite(v); })));
        QCOMPARE(listed(s.rules()),
                 QStringList{QStringLiteral("правила не проверены: σ не определена или равна 0")});
        // Every chart draws.
        for (const char *name : {"analysis_histogram", "analysis_individuals", "analysis_moving_range"}) {
            auto *plot = s.part<QCustomPlot>(name);
            QVERIFY(!plot->toPixmap(200, 150).isNull());
        }
    }

    void readsInEnglish()
    {
        const QVector<float> readings = zigzagWithRunAbove(40, 11, 8);
        Setup s({{QStringLiteral("A"), readings}});
        s.ui->actionEN->trigger();
        QCOMPARE(s.ui->action_process_analysis->text(), QStringLiteral("Process analysis…"));
        ProcessAnalysisDialog *dialog = s.open();
        QVERIFY(dialog);
        const auto englishTexts = [&] {
            auto *tabs = s.part<QTabWidget>("analysis_tabs");
            QStringList texts{dialog->windowTitle(), s.blockLabel()->text()};
            for (int i = 0; i < tabs->count(); ++i)
                texts.append(tabs->tabText(i));
            texts.append(s.part<QCheckBox>("analysis_rule_4")->text());
            for (int column = 0; column < s.table()->columnCount(); ++column)
                texts.append(s.table()->horizontalHeaderItem(column)->text());
            texts.append(s.table()->item(2, 0)->text());
            texts += listed(s.rules());
            const QStringList labels = labelsOf(s.part<QCustomPlot>("analysis_individuals"));
            for (const QString &label : labels)
                texts.append(label.section(QLatin1Char(' '), 0, 0));
            return texts;
        };
        const QStringList english{QStringLiteral("Process analysis"),
                                  QStringLiteral("Block: A"),
                                  QStringLiteral("Histogram"),
                                  QStringLiteral("I-MR charts"),
                                  QStringLiteral("Capability"),
                                  QStringLiteral("Trend"),
                                  QStringLiteral("4: 8 in a row on one side"),
                                  QStringLiteral("Figure"),
                                  QStringLiteral("Value"),
                                  QStringLiteral("95 % CI, from"),
                                  QStringLiteral("95 % CI, to"),
                                  QStringLiteral("mean"),
                                  QStringLiteral("rule 4: values 12–19"),
                                  QStringLiteral("CL"),
                                  QStringLiteral("UCL"),
                                  QStringLiteral("LCL")};
        QCOMPARE(englishTexts(), english);

        // Switched back while open, and again to English.
        // The language change reaches an open window through its event queue.
        s.ui->actionRU->trigger();
        QTRY_COMPARE(s.blockLabel()->text(), QStringLiteral("Блок: A"));
        QCOMPARE(listed(s.rules()), QStringList{QStringLiteral("правило 4: значения 12–19")});
        s.ui->actionEN->trigger();
        QTRY_COMPARE(englishTexts(), english);
    }

    void tableCopiesAsTabSeparatedText()
    {
        const QVector<float> readings = noisyReadings(30, 1);
        Setup s({{QStringLiteral("A"), readings}});
        s.setBand(19.7, 20.3);
        ProcessAnalysisDialog *dialog = s.open();
        QVERIFY(dialog);
        s.part<QTabWidget>("analysis_tabs")->setCurrentIndex(2);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QGuiApplication::clipboard()->clear();
        s.table()->setFocus();
        QTest::keyClick(s.table(), Qt::Key_C, Qt::ControlModifier);

        const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
        const Reference r = reference(readings, 19.7, 20.3);
        QCOMPARE(lines.size(), s.table()->rowCount() + 2); // the header, the rows, the empty end
        QCOMPARE(lines.first(), QStringLiteral("Показатель\tЗначение\t95 % ДИ, от\t95 % ДИ, до"));
        QVERIFY(lines.contains(QStringLiteral("n\t30\t\t")));
        QVERIFY(lines.contains(QStringLiteral("σ общая\t%1\t\t").arg(fixed(r.sigmaOverall, 4))));
        QVERIFY(
            lines.contains(QStringLiteral("Pp\t%1\t%2\t%3")
                               .arg(fixed(r.pp, 2), fixed(spreadInterval(r.pp, 30, 16.047, 45.722).first, 2),
                                    fixed(spreadInterval(r.pp, 30, 16.047, 45.722).second, 2))));
        QCOMPARE(lines.last(), QString());

        // The table's context menu copies the same.
        QGuiApplication::clipboard()->clear();
        auto *copy = s.table()->findChild<QAction *>(QStringLiteral("analysis_copy_table"));
        QVERIFY(s.table()->actions().contains(copy));
        copy->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), lines.join(QLatin1Char('\n')));
    }

    void chartsCopyAndSave()
    {
        Setup s({{QStringLiteral("A"), zigzagWithRunAbove(40, 11, 8)}});
        s.setBand(19.0, 21.0);
        ProcessAnalysisDialog *dialog = s.open();
        QVERIFY(dialog);
        s.part<QTabWidget>("analysis_tabs")->setCurrentIndex(1);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        auto *chart = s.part<QCustomPlot>("analysis_individuals");

        QGuiApplication::clipboard()->clear();
        chart->setFocus();
        QTest::keyClick(chart, Qt::Key_C, Qt::ControlModifier);
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), chart->size());

        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        for (const char *name : {"analysis_histogram", "analysis_individuals", "analysis_moving_range"}) {
            auto *plot = s.part<QCustomPlot>(name);
            PlotExport *exporter = dialog->exportOf(plot);
            QVERIFY(exporter);
            const QString svg = folder.filePath(QLatin1String(name) + QStringLiteral(".svg"));
            QVERIFY(exporter->save(svg));
            QSvgRenderer renderer(svg);
            QVERIFY2(renderer.isValid(), name);
            QCOMPARE(renderer.viewBoxF().size(), QSizeF(plot->size()));
            QFile file(svg);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY(file.readAll().contains("<svg"));

            const QString png = folder.filePath(QLatin1String(name) + QStringLiteral(".png"));
            QVERIFY(exporter->save(png));
            QImage image;
            QVERIFY(image.load(png, "PNG"));
            QCOMPARE(image.size(), plot->size());
        }
        // A folder that does not exist takes no file, and says so.
        QVERIFY(!dialog->exportOf(chart)->save(folder.filePath(QStringLiteral("none/chart.svg"))));
        QVERIFY(!dialog->exportOf(chart)->save(folder.filePath(QStringLiteral("none/chart.png"))));
    }
};

ZRV_WINDOW_TEST_MAIN(ProcessAnalysisTest)
#include "tst_processanalysis.moc"
