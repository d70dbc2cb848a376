// The trend across reads: the history's blocks of one name, asked through the
// worker of a real SQLite file and a real PostgreSQL server, oldest first and
// exact by name; the trend widget loading them offscreen, with limits that
// match the published constants, a shifted subgroup flagged, a late answer
// dropped, subgroups of unequal size each with their own limits, rules
// switched off, the charts copied and saved, and its texts in English.

#include "history/historyservice.h"
#include "history/historyworker.h"
#include "historyanswer.h"
#include "historytestdata.h"
#include "ui/plotexport.h"
#include "ui/processtrend.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTranslator>
#include <QtTest>
#include <cmath>
#include <limits>
#include <qcustomplot.h>

namespace {

const QDateTime kStart(QDate(2025, 6, 2), QTime(7, 0), Qt::UTC);
const QString kShaft = QStringLiteral("Вал 20h6");
const QString kHousing = QStringLiteral("Корпус");
constexpr double kNominal = 20.0;
constexpr double kStep = 0.001;    // the readings' spacing within a subgroup
constexpr double kWobble = 0.0003; // the means alternate this far about the nominal
constexpr double kShift = 0.0065;  // added to the shifted subgroups' readings
constexpr int kFrozen = 20;        // the widget's default k
constexpr int kShaftReads = 30;

// ISO 7870-2, table 2, as printed.
struct PrintedConstants
{
    double d2, a2, d3Lower, d4, a3, b3, b4;
};
PrintedConstants printed(int n)
{
    switch (n) {
    case 3:
        return {1.693, 1.023, 0.0, 2.574, 1.954, 0.0, 2.568};
    case 5:
        return {2.326, 0.577, 0.0, 2.114, 1.427, 0.0, 2.089};
    case 8:
        return {2.847, 0.373, 0.136, 1.864, 1.099, 0.185, 1.815};
    case 12:
        return {3.258, 0.266, 0.283, 1.717, 0.886, 0.354, 1.646};
    default:
        return {qQNaN(), qQNaN(), qQNaN(), qQNaN(), qQNaN(), qQNaN(), qQNaN()};
    }
}

// Subgroup i (0-based) of n readings: evenly spaced, spread by a scale that
// cycles, about a mean that alternates about the nominal; so only a shift
// can break a rule.
QVector<float> subgroup(int i, int n, double shift = 0.0)
{
    const double mean = kNominal + (i % 2 ? kWobble : -kWobble) + shift;
    const double scale = kStep * (1.0 + 0.25 * (i % 4));
    QVector<float> values;
    for (int j = 0; j < n; ++j)
        values << float(mean + scale * (j - (n - 1) / 2.0));
    return values;
}

double meanOf(const QVector<float> &values)
{
    double sum = 0.0;
    for (float v : values)
        sum += v;
    return sum / values.size();
}

double rangeOf(const QVector<float> &values)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return double(*high) - double(*low);
}

double sdOf(const QVector<float> &values)
{
    const double mean = meanOf(values);
    double squares = 0.0;
    for (float v : values)
        squares += (v - mean) * (v - mean);
    return std::sqrt(squares / (values.size() - 1));
}

// A step line's level for each subgroup drawn, in order (gaps skipped); its
// two ends must agree.
QVector<double> stepLevels(QCPGraph *graph)
{
    QVector<double> levels;
    const auto data = graph->data();
    QVector<QCPGraphData> ends;
    for (auto it = data->constBegin(); it != data->constEnd(); ++it)
        if (!std::isnan(it->value))
            ends << *it;
    for (int i = 0; i + 1 < ends.size(); i += 2) {
        if (ends[i].value != ends[i + 1].value || ends[i + 1].key - ends[i].key != 1.0)
            return {};
        levels << ends[i].value;
    }
    return levels;
}

QVector<double> keysOf(QCPGraph *graph)
{
    QVector<double> keys;
    for (auto it = graph->data()->constBegin(); it != graph->data()->constEnd(); ++it)
        keys << it->key;
    return keys;
}

QCPGraph *graphOf(QCustomPlot *plot, const char *name)
{
    return plot->findChild<QCPGraph *>(QLatin1String(name));
}

// The limits' labels on the right axis, from the lowest.
QStringList limitLabels(QCustomPlot *plot)
{
    const auto ticker = qSharedPointerDynamicCast<QCPAxisTickerText>(plot->yAxis2->ticker());
    return ticker && plot->yAxis2->visible() ? ticker->ticks().values() : QStringList();
}

QStringList listed(QListWidget *list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

} // namespace

class ProcessTrendTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QString why;
        QVERIFY2(stores.startServer(&why), qPrintable(why));
    }
    void cleanupTestCase() { stores.server.stop(); }
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
    }

    // Only the blocks of exactly that name (not another case, not with NUL
    // padding), oldest read first, the newest `limit`; names offered by a part
    // in any case, none left behind by deleted reads.
    void blocksNamedFromStore_data()
    {
        QTest::addColumn<QString>("backend");
        HistoryStores::addBackendRows();
    }
    void blocksNamedFromStore()
    {
        QFETCH(QString, backend);
        const QString padded = kShaft + QChar(0) + QChar(0);
        const QString otherCase = QStringLiteral("вал 20H6");
        const QString gone = QStringLiteral("Удалённый");
        auto service = serviceFor(backend);
        // Stored in this order; their start times in minutes differ from it.
        const QVector<ReadRecord> reads = {
            makeRead(kStart.addSecs(3 * 60), {makeBlock(kShaft, {1.5f, 2.5f})}),
            makeRead(kStart.addSecs(1 * 60), {makeBlock(kHousing, {9.0f}), makeBlock(kShaft, {3.5f, 4.5f})}),
            makeRead(kStart.addSecs(2 * 60), {makeBlock(kHousing, {5.0f})}),
            makeRead(kStart.addSecs(4 * 60), {makeBlock(padded, {7.0f, 8.0f})}),
            makeRead(kStart.addSecs(5 * 60), {makeBlock(otherCase, {6.0f})}),
            makeRead(kStart.addSecs(6 * 60),
                     {makeBlock(kShaft, awkwardValues()), makeBlock(kShaft, {7.25f, 7.75f})}),
            makeRead(kStart.addSecs(7 * 60), {makeBlock(gone, {1.0f, 2.0f})}),
        };
        QVERIFY(store(*service, reads));

        const auto named = [&](const QString &name, int limit,
                               int largest = std::numeric_limits<int>::max()) {
            const QList<QVariant> args = answer(*service, &HistoryWorker::blocksNamedLoaded, [&] {
                return service->loadBlocksNamed(name, limit, largest);
            });
            if (args.isEmpty() || args.at(2).value<HistoryError>().isError())
                return QVector<NamedBlock>{{-2, QDateTime(), -2, -2, {}}};
            return args.at(1).value<QVector<NamedBlock>>();
        };
        const QVector<NamedBlock> all = named(kShaft, 1000);
        QCOMPARE(all.size(), 4);
        const QVector<int> minutes = {1, 3, 6, 6};
        const QVector<int> positions = {1, 0, 0, 1};
        const QVector<QVector<float>> values = {{3.5f, 4.5f}, {1.5f, 2.5f}, awkwardValues(), {7.25f, 7.75f}};
        for (int i = 0; i < all.size(); ++i) {
            QCOMPARE(all[i].readStartedAt, kStart.addSecs(minutes[i] * 60));
            QCOMPARE(all[i].position, positions[i]);
            QVERIFY2(sameBits(all[i].values, values[i]), qPrintable(QString::number(i)));
            QCOMPARE(all[i].valueCount, values[i].size());
            QVERIFY(all[i].readId > 0);
        }
        // Large blocks come without their values.
        const QVector<NamedBlock> small = named(kShaft, 1000, 2);
        QCOMPARE(small.size(), 4);
        QCOMPARE(small[2].valueCount, awkwardValues().size());
        QVERIFY(small[2].values.isEmpty());
        QVERIFY(sameBits(small[3].values, values[3]));
        QCOMPARE(all[2].readId, all[3].readId);
        QVERIFY(all[0].readId != all[1].readId);

        const QVector<NamedBlock> newest = named(kShaft, 3);
        QCOMPARE(newest.size(), 3);
        QCOMPARE(newest[0].readStartedAt, kStart.addSecs(3 * 60));
        QCOMPARE(newest[2].position, 1);
        QCOMPARE(named(padded, 1000).size(), 1);
        QVERIFY(sameBits(named(padded, 1000).at(0).values, {7.0f, 8.0f}));
        QCOMPARE(named(QStringLiteral("Нет такого"), 1000).size(), 0);

        const auto names = [&](const QString &part) {
            const QList<QVariant> args = answer(*service, &HistoryWorker::blockNamesListed,
                                                [&] { return service->listBlockNames(part); });
            return args.isEmpty() || args.at(2).value<HistoryError>().isError()
                       ? QStringList{QStringLiteral("<no answer>")}
                       : args.at(1).toStringList();
        };
        // One key for all three: they come in the order first stored.
        QCOMPARE(names(QStringLiteral("ВАЛ 20")), (QStringList{kShaft, padded, otherCase}));
        QCOMPARE(names(QStringLiteral("корп")), QStringList{kHousing});
        QCOMPARE(names(QString()).size(), 5);

        const QVector<NamedBlock> doomed = named(gone, 1000);
        QCOMPARE(doomed.size(), 1);
        const QList<QVariant> deleted = answer(*service, &HistoryWorker::readsDeleted,
                                               [&] { return service->deleteReads({doomed[0].readId}); });
        QVERIFY(!deleted.isEmpty());
        QVERIFY(!deleted.at(1).value<HistoryError>().isError());
        QCOMPARE(names(QString()).size(), 4);
        QVERIFY(!names(QString()).contains(gone));
        QCOMPARE(named(gone, 1000).size(), 0);
    }

    // Subgroups of one size: the limits drawn are the grand mean and the mean
    // spread of the first k subgroups with the printed constants; the marker
    // stands after them; two subgroups shifted later are flagged and listed.
    void limitsAndShift_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("X̄-R, n = 5") << 5;
        QTest::newRow("X̄-S, n = 12") << 12;
    }
    void limitsAndShift()
    {
        QFETCH(int, size);
        auto service = serviceFor(HistoryStores::sqlite());
        QVector<ReadRecord> reads;
        QVector<QVector<float>> groups;
        for (int i = 0; i < kShaftReads; ++i) {
            groups << subgroup(i, size, i == 24 || i == 25 ? kShift : 0.0);
            // Other blocks in the same reads and reads of other blocks between them.
            reads << makeRead(kStart.addSecs(i * 120),
                              {makeBlock(kHousing, subgroup(i + 1, size)), makeBlock(kShaft, groups.last())});
            reads << makeRead(kStart.addSecs(i * 120 + 60), {makeBlock(kHousing, subgroup(i, size))});
        }
        QVERIFY(store(*service, reads));

        ProcessTrend trend(service.get());
        QVERIFY(showAndLoad(trend, kShaft));
        QCOMPARE(trend.findChild<QSpinBox *>(QStringLiteral("trend_frozen_count"))->value(), kFrozen);

        const PrintedConstants c = printed(size);
        const bool range = size <= 10;
        double grand = 0.0, spreadBar = 0.0;
        for (int i = 0; i < kFrozen; ++i) {
            grand += meanOf(groups[i]) / kFrozen;
            spreadBar += (range ? rangeOf(groups[i]) : sdOf(groups[i])) / kFrozen;
        }
        const double a = range ? c.a2 : c.a3;
        const double lowerFactor = range ? c.d3Lower : c.b3;
        const double upperFactor = range ? c.d4 : c.b4;
        // The table's last printed digit, on the mean spread.
        const double tolerance = 0.0006 * spreadBar;

        auto *means = trend.findChild<QCustomPlot *>(QStringLiteral("trend_means_plot"));
        auto *spread = trend.findChild<QCustomPlot *>(QStringLiteral("trend_spread_plot"));
        QVERIFY(means && spread);
        const struct
        {
            QCustomPlot *plot;
            const char *graph;
            double expected;
        } lines[] = {
            {means, "trend_centre", grand},
            {means, "trend_upper", grand + a * spreadBar},
            {means, "trend_lower", grand - a * spreadBar},
            {spread, "trend_centre", spreadBar},
            {spread, "trend_upper", upperFactor * spreadBar},
            {spread, "trend_lower", lowerFactor * spreadBar},
        };
        for (const auto &line : lines) {
            QCPGraph *graph = graphOf(line.plot, line.graph);
            QVERIFY2(graph, line.graph);
            const QVector<double> levels = stepLevels(graph);
            QCOMPARE(levels.size(), kShaftReads);
            for (double level : levels)
                QVERIFY2(std::abs(level - line.expected) <= tolerance,
                         qPrintable(QStringLiteral("%1: %2, expected %3")
                                        .arg(QLatin1String(line.graph))
                                        .arg(level, 0, 'g', 9)
                                        .arg(line.expected, 0, 'g', 9)));
        }
        // Labelled with their values.
        const QStringList labels = limitLabels(means);
        QCOMPARE(labels.size(), 3);
        QVERIFY2(labels.at(0).startsWith(QStringLiteral("НКГ ")), qPrintable(labels.join(QLatin1Char('|'))));
        QVERIFY(labels.at(1).startsWith(QStringLiteral("ЦЛ ")));
        QVERIFY(labels.at(2).startsWith(QStringLiteral("ВКГ ")));
        // Printed to a tenth of σ or finer.
        QVERIFY(
            std::abs(QLocale().toDouble(labels.at(2).section(QLatin1Char(' '), 1)) - (grand + a * spreadBar))
            <= 0.01 * spreadBar);

        auto *marker = means->findChild<QCPItemStraightLine *>(QStringLiteral("trend_frozen_marker"));
        QVERIFY(marker);
        QCOMPARE(marker->point1->coords().x(), kFrozen + 0.5);

        QCOMPARE(keysOf(graphOf(means, "trend_breaks")), (QVector<double>{25, 26}));
        QCOMPARE(keysOf(graphOf(spread, "trend_breaks")), QVector<double>());
        QCOMPARE(listed(trend.findChild<QListWidget *>(QStringLiteral("trend_rules"))),
                 (QStringList{QStringLiteral("правило 1: считывания 25–26"),
                              QStringLiteral("правило 2: считывания 25–26")}));
        auto *note = trend.findChild<QLabel *>(QStringLiteral("trend_note"));
        QVERIFY(note->isHidden());

        // Another k: the limits follow without asking the history again.
        trend.findChild<QSpinBox *>(QStringLiteral("trend_frozen_count"))->setValue(10);
        double grand10 = 0.0;
        for (int i = 0; i < 10; ++i)
            grand10 += meanOf(groups[i]) / 10;
        QVERIFY(!trend.isBusy());
        QVERIFY(std::abs(stepLevels(graphOf(means, "trend_centre")).at(0) - grand10) < 1e-9);
        marker = means->findChild<QCPItemStraightLine *>(QStringLiteral("trend_frozen_marker"));
        QVERIFY(marker);
        QCOMPARE(marker->point1->coords().x(), 10.5);

        // Rules switched off are neither marked nor listed, again without asking.
        trend.findChild<QSpinBox *>(QStringLiteral("trend_frozen_count"))->setValue(kFrozen);
        auto *rules = trend.findChild<QListWidget *>(QStringLiteral("trend_rules"));
        trend.findChild<QCheckBox *>(QStringLiteral("trend_rule_2"))->setChecked(false);
        QCOMPARE(listed(rules), QStringList{QStringLiteral("правило 1: считывания 25–26")});
        QCOMPARE(keysOf(graphOf(means, "trend_breaks")), (QVector<double>{25, 26}));
        trend.findChild<QCheckBox *>(QStringLiteral("trend_rule_1"))->setChecked(false);
        QCOMPARE(listed(rules), QStringList{QStringLiteral("Правила не нарушены.")});
        QCOMPARE(keysOf(graphOf(means, "trend_breaks")), QVector<double>());
        for (int rule : {3, 4, 5})
            trend.findChild<QCheckBox *>(QStringLiteral("trend_rule_%1").arg(rule))->setChecked(false);
        QCOMPARE(listed(rules), QStringList{QStringLiteral("Правила не выбраны.")});
        QVERIFY(!trend.isBusy());
    }

    // Each chart goes to the clipboard as an image (Ctrl+C) and into PNG and
    // SVG files of its size on screen; a folder that does not exist says so.
    void chartsCopyAndSave()
    {
        auto service = serviceFor(HistoryStores::sqlite());
        QVector<ReadRecord> reads;
        for (int i = 0; i < kShaftReads; ++i)
            reads << makeRead(kStart.addSecs(i * 60), {makeBlock(kShaft, subgroup(i, 5))});
        QVERIFY(store(*service, reads));
        ProcessTrend trend(service.get());
        QVERIFY(showAndLoad(trend, kShaft));
        QVERIFY(QTest::qWaitForWindowExposed(&trend));
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        for (const char *name : {"trend_means_plot", "trend_spread_plot"}) {
            auto *plot = trend.findChild<QCustomPlot *>(QLatin1String(name));
            QVERIFY(plot);
            QGuiApplication::clipboard()->clear();
            plot->setFocus();
            QTest::keyClick(plot, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QGuiApplication::clipboard()->image().size(), plot->size());

            auto *exporter = plot->findChild<PlotExport *>(QString(), Qt::FindDirectChildrenOnly);
            QVERIFY2(exporter, name);
            const QString svg = folder.filePath(QLatin1String(name) + QStringLiteral(".svg"));
            QVERIFY(exporter->save(svg));
            QSvgRenderer renderer(svg);
            QVERIFY2(renderer.isValid(), name);
            QCOMPARE(renderer.viewBoxF().size(), QSizeF(plot->size()));
            const QString png = folder.filePath(QLatin1String(name) + QStringLiteral(".png"));
            QVERIFY(exporter->save(png));
            QImage image;
            QVERIFY(image.load(png, "PNG"));
            QCOMPARE(image.size(), plot->size());
            QVERIFY(!exporter->save(folder.filePath(QStringLiteral("none/chart.png"))));
        }
    }

    // An answer to an older request, whether it comes before the newer one
    // is answered or after, leaves the chart of the newer one.
    void lateAnswerIgnored()
    {
        auto service = serviceFor(HistoryStores::sqlite());
        QVector<ReadRecord> reads;
        for (int i = 0; i < kShaftReads; ++i)
            reads << makeRead(kStart.addSecs(i * 60), {makeBlock(kShaft, subgroup(i, 5))});
        for (int i = 0; i < 4; ++i)
            reads << makeRead(kStart.addSecs(5000 + i * 60), {makeBlock(kHousing, subgroup(i, 3))});
        QVERIFY(store(*service, reads));

        ProcessTrend trend(service.get());
        trend.show();
        QVERIFY(QTest::qWaitForWindowExposed(&trend));
        QSignalSpy answers(service->worker(), &HistoryWorker::blocksNamedLoaded);
        QSignalSpy drawn(&trend, &ProcessTrend::drawn);
        trend.setBlockName(kHousing);
        trend.load();
        trend.setBlockName(kShaft);
        trend.load();
        QVERIFY(trend.isBusy());
        QVERIFY(trend.findChild<QLabel *>(QStringLiteral("trend_status"))->text().contains(kShaft));
        QVERIFY(
            QTest::qWaitFor([&] { return answers.size() == 2 && drawn.size() == 1; }, kHistoryAnswerWaitMs));
        QCOMPARE(trend.analysis().chart.points.size(), kShaftReads);

        // The older answer once more, after the newer one was drawn.
        const QList<QVariant> older = answers.at(0);
        QCOMPARE(older.at(1).value<QVector<NamedBlock>>().size(), 4);
        emit service->worker()->blocksNamedLoaded(older.at(0).toULongLong(),
                                                  older.at(1).value<QVector<NamedBlock>>(), HistoryError());
        QCOMPARE(drawn.size(), 1);
        QCOMPARE(trend.analysis().chart.points.size(), kShaftReads);
        auto *means = trend.findChild<QCustomPlot *>(QStringLiteral("trend_means_plot"));
        QCOMPARE(graphOf(means, "trend_points")->dataCount(), kShaftReads);
        QVERIFY(trend.findChild<QLabel *>(QStringLiteral("trend_status"))->text().contains(kShaft));
    }

    // Subgroups of 3, 5 and 8 readings: each gets the limits of its size;
    // blocks of 1, 30 and 1200 readings are left out, a NaN reading dropped
    // from its block, and both said in one line.
    void unequalSizes()
    {
        auto service = serviceFor(HistoryStores::sqlite());
        const int sizes[] = {3, 5, 8};
        QVector<QVector<float>> kept;
        QVector<double> keys;
        QVector<ReadRecord> reads;
        // Left out: one reading, 30 readings, and too many to be fetched at all.
        const QMap<int, int> leftOut = {{3, 1}, {8, 30}, {13, 1200}};
        for (int i = 0; i < 25; ++i) {
            QVector<float> values = subgroup(i, leftOut.value(i, sizes[i % 3]));
            if (i == 5) {
                kept << values;
                values.insert(2, qQNaN());
            } else if (!leftOut.contains(i)) {
                kept << values;
            }
            if (!leftOut.contains(i))
                keys << i + 1;
            reads << makeRead(kStart.addSecs(i * 60), {makeBlock(kShaft, values)});
        }
        QVERIFY(store(*service, reads));

        ProcessTrend trend(service.get());
        QVERIFY(showAndLoad(trend, kShaft));

        // σ from the first k subgroups, each range over its own d2.
        double grand = 0.0, sigma = 0.0;
        for (int i = 0; i < kFrozen; ++i) {
            grand += meanOf(kept[i]) / kFrozen;
            sigma += rangeOf(kept[i]) / printed(kept[i].size()).d2 / kFrozen;
        }
        auto *means = trend.findChild<QCustomPlot *>(QStringLiteral("trend_means_plot"));
        auto *spread = trend.findChild<QCustomPlot *>(QStringLiteral("trend_spread_plot"));
        QCOMPARE(keysOf(graphOf(means, "trend_points")), keys);
        const QVector<double> upper = stepLevels(graphOf(means, "trend_upper"));
        const QVector<double> spreadUpper = stepLevels(graphOf(spread, "trend_upper"));
        QCOMPARE(upper.size(), kept.size());
        QCOMPARE(spreadUpper.size(), kept.size());
        for (int i = 0; i < kept.size(); ++i) {
            const int n = kept[i].size();
            const PrintedConstants c = printed(n);
            const double expected = grand + 3.0 * sigma / std::sqrt(double(n));
            QVERIFY2(
                std::abs(upper[i] - expected) <= 1e-3 * sigma,
                qPrintable(QStringLiteral("n = %1: %2, expected %3").arg(n).arg(upper[i]).arg(expected)));
            // D4 · R̄ for that size, R̄ = d2 · σ.
            QVERIFY2(std::abs(spreadUpper[i] - c.d4 * c.d2 * sigma) <= 2e-3 * sigma,
                     qPrintable(QStringLiteral("n = %1: %2").arg(n).arg(spreadUpper[i])));
        }
        QVERIFY(upper[0] != upper[1] && upper[1] != upper[2]);
        QCOMPARE(listed(trend.findChild<QListWidget *>(QStringLiteral("trend_rules"))),
                 QStringList{QStringLiteral("Правила не нарушены.")});
        auto *note = trend.findChild<QLabel *>(QStringLiteral("trend_note"));
        QVERIFY(!note->isHidden());
        QCOMPARE(note->text(), QStringLiteral("Не учтено считываний без 2–25 показаний: 3. "
                                              "Не учтено показаний NaN и бесконечных: 1."));
    }

    // The chooser lists the stored names; a name with NUL padding is shown
    // without it and still loads its own blocks only.
    void chooserOffersStoredNames()
    {
        auto service = serviceFor(HistoryStores::sqlite());
        const QString padded = kShaft + QChar(0);
        QVector<ReadRecord> reads;
        for (int i = 0; i < 3; ++i)
            reads << makeRead(kStart.addSecs(i * 60),
                              {makeBlock(kShaft, subgroup(i, 5)), makeBlock(padded, subgroup(i, 4)),
                               makeBlock(kHousing, subgroup(i, 3))});
        QVERIFY(store(*service, reads));

        ProcessTrend trend(service.get());
        // A name given before the widget is shown does not narrow the list.
        trend.setBlockName(kHousing);
        trend.show();
        auto *box = trend.findChild<QComboBox *>(QStringLiteral("trend_block_name"));
        QVERIFY(box->isEditable());
        QTRY_COMPARE_WITH_TIMEOUT(box->count(), 3, kHistoryAnswerWaitMs);
        QCOMPARE(box->currentIndex(), 2);
        QCOMPARE(box->itemText(0), kShaft);
        QCOMPARE(box->itemText(1), kShaft);
        QCOMPARE(box->itemData(1).toString(), padded);
        QCOMPARE(box->itemText(2), kHousing);

        // Two items of one text: the name given picks its own.
        trend.setBlockName(padded);
        QCOMPARE(box->currentIndex(), 1);
        trend.setBlockName(kHousing);
        QCOMPARE(box->currentIndex(), 2);
        box->setCurrentIndex(1);
        QSignalSpy drawn(&trend, &ProcessTrend::drawn);
        QTest::mouseClick(trend.findChild<QPushButton *>(QStringLiteral("trend_load_button")),
                          Qt::LeftButton);
        QVERIFY(drawn.wait(kHistoryAnswerWaitMs));
        QCOMPARE(trend.analysis().chart.points.size(), 3);
        QCOMPARE(trend.analysis().chart.points.at(0).size, 4);

        // Typing narrows the list once it pauses, and keeps what was typed.
        box->lineEdit()->clear();
        QTest::keyClicks(box->lineEdit(), QStringLiteral("20H"));
        QTRY_COMPARE_WITH_TIMEOUT(box->count(), 2, kHistoryAnswerWaitMs);
        QCOMPARE(box->currentText(), QStringLiteral("20H"));
        QCOMPARE(box->itemData(1).toString(), padded);
    }

    // A history that cannot be opened: said so, nothing drawn.
    void unreachableHistory()
    {
        QVERIFY(QDir().mkpath(historyDatabasePath(folder->path())));
        HistoryService service(folder->path(), HistorySettings(), folder->filePath(QStringLiteral("spool")));
        ProcessTrend trend(&service);
        QSignalSpy drawn(&trend, &ProcessTrend::drawn);
        trend.setBlockName(kShaft);
        trend.load();
        QVERIFY(drawn.wait(kHistoryAnswerWaitMs));
        QVERIFY(trend.findChild<QLabel *>(QStringLiteral("trend_status"))
                    ->text()
                    .startsWith(QStringLiteral("История недоступна: ")));
        QVERIFY(trend.analysis().chart.points.isEmpty());
    }

    // With the English catalogue the form, the labels and the rule lines are English.
    void readsInEnglish()
    {
        auto service = serviceFor(HistoryStores::sqlite());
        QVector<ReadRecord> reads;
        for (int i = 0; i < kShaftReads; ++i)
            reads << makeRead(kStart.addSecs(i * 60),
                              {makeBlock(kShaft, subgroup(i, 5, i == 24 ? kShift : 0))});
        QVERIFY(store(*service, reads));
        ProcessTrend trend(service.get());
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/i18n/ts.qm"), QString(), QString(), QString()));
        QCoreApplication::installTranslator(&english);
        const bool loadedOk = showAndLoad(trend, kShaft);
        const QString button = trend.findChild<QPushButton *>(QStringLiteral("trend_load_button"))->text();
        const QStringList rules = listed(trend.findChild<QListWidget *>(QStringLiteral("trend_rules")));
        QStringList labels;
        for (const QString &label :
             limitLabels(trend.findChild<QCustomPlot *>(QStringLiteral("trend_means_plot"))))
            labels << label.section(QLatin1Char(' '), 0, 0);
        const QString status = trend.findChild<QLabel *>(QStringLiteral("trend_status"))->text();
        const QString ruleBox = trend.findChild<QCheckBox *>(QStringLiteral("trend_rule_4"))->text();
        QCoreApplication::removeTranslator(&english);
        QVERIFY(loadedOk);
        QCOMPARE(button, QStringLiteral("Plot"));
        QCOMPARE(rules, QStringList{QStringLiteral("rule 1: reads 25")});
        QCOMPARE(labels, (QStringList{QStringLiteral("LCL"), QStringLiteral("CL"), QStringLiteral("UCL")}));
        QVERIFY2(status.contains(QStringLiteral("30 reads")), qPrintable(status));
        QCOMPARE(ruleBox, QStringLiteral("4: 8 in a row on one side"));
        // Back in Russian once the catalogue is gone.
        QTRY_COMPARE(trend.findChild<QPushButton *>(QStringLiteral("trend_load_button"))->text(),
                     QStringLiteral("Построить"));
        QTRY_COMPARE(listed(trend.findChild<QListWidget *>(QStringLiteral("trend_rules"))),
                     QStringList{QStringLiteral("правило 1: считывания 25")});
    }

private:
    std::unique_ptr<HistoryService> serviceFor(const QString &backend)
    {
        HistorySettings settings;
        if (backend == HistoryStores::postgres()) {
            QString database;
            stores.fresh(backend, &database);
            settings.backend = HistoryBackend::Postgres;
            settings.server = stores.server.address(database);
        }
        return std::make_unique<HistoryService>(folder->path(), settings,
                                                folder->filePath(QStringLiteral("spool")));
    }

    // Through the real worker, in order; true once all are stored.
    static bool store(HistoryService &service, const QVector<ReadRecord> &reads)
    {
        QSignalSpy stored(service.worker(), &HistoryWorker::readStored);
        QSignalSpy failed(service.worker(), &HistoryWorker::storeFailed);
        for (const ReadRecord &read : reads)
            service.recordRead(read);
        return QTest::qWaitFor([&] { return stored.size() == reads.size() || !failed.isEmpty(); },
                               kHistoryAnswerWaitMs)
               && failed.isEmpty();
    }

    static bool showAndLoad(ProcessTrend &trend, const QString &name)
    {
        trend.resize(800, 600);
        trend.show();
        if (!QTest::qWaitForWindowExposed(&trend))
            return false;
        QSignalSpy drawn(&trend, &ProcessTrend::drawn);
        trend.setBlockName(name);
        QTest::mouseClick(trend.findChild<QPushButton *>(QStringLiteral("trend_load_button")),
                          Qt::LeftButton);
        return drawn.wait(kHistoryAnswerWaitMs) && !trend.isBusy();
    }

    HistoryStores stores;
    std::unique_ptr<QTemporaryDir> folder;
};

int main(int argc, char **argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ProcessTrendTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_processtrend.moc"
