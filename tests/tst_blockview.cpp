// The data view through the real window: a double-click on a block name shows
// the block's table, statistics, graph and diagram; the tolerance band marks
// them; the range boxes and the plots follow each other.

#include "inputevents.h"
#include "mainwindowtester.h"
#include "ui/adaptivebars.h"
#include "ui/adaptivemarkergraph.h"
#include "ui/valuemarkdelegate.h"
#include "windowtestmain.h"

#include <QtTest>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
const QString kDash(QChar(0x2014));
const QColor kBlue(Qt::blue);
const QColor kRed(Qt::red);
const QColor kOutsideMarker(255, 0, 0, 150);
const QColor kBarOutline(0, 0, 0, 150);
const QColor kInsideBar(0, 0, 255, 100);
const QColor kOutsideBar(255, 0, 0, 100);

// The keys or values of a graph's or a bar chart's data, in key order.
template <typename Plottable>
QVector<double> keysOf(const Plottable *plottable)
{
    QVector<double> keys;
    for (auto it = plottable->data()->constBegin(); it != plottable->data()->constEnd(); ++it)
        keys.append(it->key);
    return keys;
}

template <typename Plottable>
QVector<double> valuesOf(const Plottable *plottable)
{
    QVector<double> values;
    for (auto it = plottable->data()->constBegin(); it != plottable->data()->constEnd(); ++it)
        values.append(it->value);
    return values;
}

QStringList cellTexts(const QTableWidget *table)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts.append(table->item(row, 0) ? table->item(row, 0)->text() : QStringLiteral("<none>"));
    return texts;
}

// What each value cell is drawn with: its number and, out of band, its mark.
QStringList shownTexts(const QTableWidget *table)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts.append(ValueMarkDelegate::shownText(table->model()->index(row, 0)));
    return texts;
}

QList<int> redRows(const QTableWidget *table)
{
    QList<int> rows;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QVariant foreground = table->item(row, 0)->data(Qt::ForegroundRole);
        if (foreground.isValid()) {
            if (qvariant_cast<QBrush>(foreground) != QBrush(Qt::red))
                qWarning() << "row" << row << "has an unexpected colour";
            rows.append(row);
        }
    }
    return rows;
}

int countPixels(const QImage &image, const QRect &area, const std::function<bool(QColor)> &match)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (match(image.pixelColor(x, y)))
                ++count;
    return count;
}

bool reddish(const QColor &c)
{
    return c.red() > 200 && c.green() < 140 && c.blue() < 140;
}

bool bluish(const QColor &c)
{
    return c.blue() > 150 && c.red() < 200 && c.blue() - c.red() > 40;
}

} // namespace

class BlockViewTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWindow> window;
    Ui::MainWindow *ui = nullptr;

    void setBlocks(const QVector<QVector<float>> &blocks)
    {
        QVector<MemoryBlock> store;
        for (int i = 0; i < blocks.size(); ++i)
            store.append(MemoryBlock{QStringLiteral("Block %1").arg(i + 1), blocks.at(i)});
        window->blockList().showRead(store);
    }

    // A real double-click on the block's name in the list.
    void doubleClickRow(int row) { ::doubleClickRow(ui->block_names_list, row); }

    void showValues(const QVector<float> &values)
    {
        setBlocks({values});
        doubleClickRow(0);
    }

    void switchBand(bool on)
    {
        if (ui->set_limits_checkbox->isChecked() == on)
            return;
        QTest::mouseClick(ui->set_limits_checkbox, Qt::LeftButton, Qt::NoModifier,
                          QPoint(4, ui->set_limits_checkbox->height() / 2));
        QCOMPARE(ui->set_limits_checkbox->isChecked(), on);
    }

    void setBand(double lower, double upper)
    {
        ui->limits_min->setValue(lower);
        ui->limits_max->setValue(upper);
    }

    QCPBars *bars(int index) const { return qobject_cast<QCPBars *>(ui->diagram->plottable(index)); }

    QStringList statisticTexts() const
    {
        return {ui->min_box->text(), ui->max_box->text(), ui->mean_box->text(), ui->stdev_box->text()};
    }

    void compareRange(const QCPRange &actual, double lower, double upper)
    {
        QVERIFY2(qFuzzyCompare(actual.lower + 1.0, lower + 1.0)
                     && qFuzzyCompare(actual.upper + 1.0, upper + 1.0),
                 qPrintable(QStringLiteral("%1 .. %2 instead of %3 .. %4")
                                .arg(actual.lower)
                                .arg(actual.upper)
                                .arg(lower)
                                .arg(upper)));
    }

    // Both plots share both ranges, and the boxes show the y range.
    void compareRanges(double keyLower, double keyUpper, double valueLower, double valueUpper)
    {
        compareRange(ui->graph->xAxis->range(), keyLower, keyUpper);
        compareRange(ui->diagram->xAxis->range(), keyLower, keyUpper);
        compareRange(ui->graph->yAxis->range(), valueLower, valueUpper);
        compareRange(ui->diagram->yAxis->range(), valueLower, valueUpper);
        QCOMPARE(ui->graphs_limits_min->value(), valueLower);
        QCOMPARE(ui->graphs_limits_max->value(), valueUpper);
    }

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void init()
    {
        freshSettingsFolder();
        window = std::make_unique<MainWindow>(noPorts());
        ui = MainWindowTester::ui(*window);
        window->resize(1200, 860);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup()
    {
        window.reset();
        ui = nullptr;
    }

    void tableTexts_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("5") << 5.0f << "5.0";
        QTest::newRow("12.37") << 12.37f << "12.3";
        QTest::newRow("-12.37") << -12.37f << "-12.3";
        QTest::newRow("99.99") << 99.99f << "99.9";
        QTest::newRow("99.95") << 99.95f << "99.9";
        QTest::newRow("100") << 100.0f << "100";
        QTest::newRow("100.7") << 100.7f << "100";
        QTest::newRow("123.9") << 123.9f << "123";
        QTest::newRow("1500") << 1500.0f << "1500";
        QTest::newRow("0.7") << 0.7f << "0.7";
        // Cut to zero: no minus sign before it.
        QTest::newRow("-0.04") << -0.04f << "0.0";
        QTest::newRow("-0.0") << -0.0f << "0.0";
        QTest::newRow("NaN") << kNaN << "nan";
        QTest::newRow("infinity") << kInf << "inf";
    }
    void tableTexts()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        showValues({value});
        const QTableWidget *table = ui->table_block_data;
        QCOMPARE(table->columnCount(), 1);
        QCOMPARE(table->rowCount(), 1);
        const QTableWidgetItem *item = table->item(0, 0);
        QVERIFY(item);
        QCOMPARE(item->text(), text);
        QCOMPARE(item->type(), int(QTableWidgetItem::Type));
        QCOMPARE(item->data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QVERIFY(!item->data(Qt::ForegroundRole).isValid());
        QCOMPARE(table->model()->headerData(0, Qt::Horizontal).toString(), QString());
    }

    void cellsAreNotEditable()
    {
        showValues({1.0f, 2.0f, 3.0f});
        QTableWidget *table = ui->table_block_data;
        QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
        const QRect cell = table->visualItemRect(table->item(1, 0));
        doubleClick(table->viewport(), cell.center());
        QTest::keyClicks(table->viewport(), QStringLiteral("77"));
        QTest::keyClick(table->viewport(), Qt::Key_Return);
        QTest::keyClick(table, Qt::Key_F2);
        QTest::keyClicks(table, QStringLiteral("88"));
        QTest::keyClick(table, Qt::Key_Return);
        QVERIFY(!table->findChild<QLineEdit *>());
        QCOMPARE(cellTexts(table), (QStringList{"1.0", "2.0", "3.0"}));
    }

    void thousandValuesGiveNumberedRows()
    {
        QVector<float> values;
        for (int i = 0; i < 1000; ++i)
            values.append(i / 10.0f);
        showValues(values);
        const QTableWidget *table = ui->table_block_data;
        QCOMPARE(table->rowCount(), 1000);
        for (const int row : {0, 1, 499, 999}) {
            QCOMPARE(table->model()->headerData(row, Qt::Vertical).toString(), QString::number(row + 1));
            QCOMPARE(table->item(row, 0)->text(), QString::number(row / 10.0, 'f', 1));
        }
    }

    // Cells of an earlier block must leave no trace: not their text, not their
    // colour, not their rows.
    void showingBlocksOneAfterAnother()
    {
        setBand(4.0, 6.0);
        switchBand(true);
        setBlocks({{1, 5, 9, 5.5f, 3}, {5, 5}, {}});
        QTableWidget *table = ui->table_block_data;

        doubleClickRow(0);
        const QStringList firstTexts = cellTexts(table);
        const QList<int> firstReds = redRows(table);
        QCOMPARE(firstTexts, (QStringList{"1.0", "5.0", "9.0", "5.5", "3.0"}));
        QCOMPARE(firstReds, (QList<int>{0, 2, 4}));

        doubleClickRow(0);
        QCOMPARE(cellTexts(table), firstTexts);
        QCOMPARE(redRows(table), firstReds);
        QCOMPARE(ui->graph->graphCount(), 2);
        QCOMPARE(ui->diagram->plottableCount(), 2);

        table->selectRow(1);
        doubleClickRow(1);
        QCOMPARE(cellTexts(table), (QStringList{"5.0", "5.0"}));
        QVERIFY(table->selectedItems().isEmpty());
        QVERIFY(redRows(table).isEmpty());
        QCOMPARE(MainWindowTester::shownRow(*window), 1);

        doubleClickRow(2);
        QCOMPARE(table->rowCount(), 0);

        doubleClickRow(0);
        QCOMPARE(cellTexts(table), firstTexts);
        QCOMPARE(redRows(table), firstReds);
    }

    void rowWithoutBlockIsIgnored()
    {
        setBlocks({{1, 2}});
        doubleClickRow(0);
        ui->block_names_list->addItem(QStringLiteral("not read yet"));
        doubleClickRow(1);
        QCOMPARE(MainWindowTester::shownRow(*window), 0);
        QCOMPARE(cellTexts(ui->table_block_data), (QStringList{"1.0", "2.0"}));
        QCOMPARE(valuesOf(ui->graph->graph(0)), (QVector<double>{1, 2}));
        QVERIFY(ui->button_export_to_PDF->isEnabled());
    }

    void statistics_data()
    {
        QTest::addColumn<QVector<float>>("values");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("1 2 3 4") << QVector<float>{1, 2, 3, 4} << QStringList{"1.0", "4.0", "2.5", "1.3"};
        QTest::newRow("equal values") << QVector<float>{5, 5, 5} << QStringList{"5.0", "5.0", "5.0", "0.0"};
        QTest::newRow("one value") << QVector<float>{20} << QStringList{"20.0", "20.0", "20.0", kDash};
        QTest::newRow("empty block") << QVector<float>{} << QStringList{kDash, kDash, kDash, kDash};
        QTest::newRow("mean 12.26") << QVector<float>{12.2f, 12.32f}
                                    << QStringList{"12.2", "12.3", "12.3", "0.1"};
        // A mean that rounds to zero from below shows no minus sign.
        QTest::newRow("mean -0.04") << QVector<float>{-0.1f, 0.02f}
                                    << QStringList{"-0.1", "0.0", "0.0", "0.1"};
        QTest::newRow("NaN reading") << QVector<float>{1, kNaN, 3} << QStringList{"1.0", "3.0", kDash, kDash};
        QTest::newRow("beyond the box range")
            << QVector<float>{-2e6f, 3e6f} << QStringList{"-2000000.0", "3000000.0", "500000.0", "3535533.9"};
    }
    void statistics()
    {
        QFETCH(QVector<float>, values);
        QFETCH(QStringList, texts);
        showValues(values);
        QCOMPARE(statisticTexts(), texts);

        // The reports read what the boxes show: one decimal, NaN for a dash.
        const BlockStatistics shown = MainWindowTester::shownStatistics(*window);
        const QList<QDoubleSpinBox *> boxes{ui->min_box, ui->max_box, ui->mean_box, ui->stdev_box};
        const QList<double> numbers{shown.minimum, shown.maximum, shown.mean, shown.stdev};
        for (int i = 0; i < boxes.size(); ++i) {
            if (texts.at(i) == kDash)
                QVERIFY2(std::isnan(numbers.at(i)), qPrintable(QString::number(i)));
            else
                QCOMPARE(numbers.at(i), texts.at(i).toDouble());
        }

        // The band changes no statistic.
        setBand(2.0, 2.5);
        switchBand(true);
        typeInto(ui->limits_max, 3.0);
        switchBand(false);
        QCOMPARE(statisticTexts(), texts);
    }

    void statisticsStartAtZero() { QCOMPARE(statisticTexts(), (QStringList{"0.0", "0.0", "0.0", "0.0"})); }

    void valueOnLimitIsInside()
    {
        setBand(4.7, 4.9);
        switchBand(true);
        // The floats nearest 4.7 and 4.9 lie below and above them.
        showValues({4.7f, 4.9f, 4.95f, 4.65f, 4.8f});
        // The table shows 4.95 cut to 4.9, but marks the reading, which is outside.
        QCOMPARE(cellTexts(ui->table_block_data).at(2), QStringLiteral("4.9"));
        QCOMPARE(redRows(ui->table_block_data), (QList<int>{2, 3}));
        QCOMPARE(ui->graph->graphCount(), 2);
        QCOMPARE(keysOf(ui->graph->graph(1)), (QVector<double>{3, 4}));
        QCOMPARE(keysOf(bars(0)), (QVector<double>{1, 2, 5}));
        QCOMPARE(keysOf(bars(1)), (QVector<double>{3, 4}));
    }

    void lowerAboveUpperMarksEverything()
    {
        setBand(6.0, 4.0);
        switchBand(true);
        showValues({1, 5, 9});
        QCOMPARE(redRows(ui->table_block_data), (QList<int>{0, 1, 2}));
        QCOMPARE(keysOf(ui->graph->graph(1)), (QVector<double>{1, 2, 3}));
        QVERIFY(bars(0)->data()->isEmpty());
        QCOMPARE(keysOf(bars(1)), (QVector<double>{1, 2, 3}));
    }

    // The table, like the plots, judges the stored reading, not its cut text.
    void shownTextVersusStoredValue()
    {
        setBand(0.0, 5.0);
        switchBand(true);
        showValues({5.07f, 4.0f});
        QCOMPARE(cellTexts(ui->table_block_data), (QStringList{"5.0", "4.0"}));
        QCOMPARE(redRows(ui->table_block_data), (QList<int>{0}));
        QCOMPARE(ui->graph->graphCount(), 2);
        QCOMPARE(keysOf(ui->graph->graph(1)), (QVector<double>{1}));
        QCOMPARE(valuesOf(ui->graph->graph(1)), (QVector<double>{double(5.07f)}));
        QCOMPARE(keysOf(bars(1)), (QVector<double>{1}));
        QCOMPARE(keysOf(bars(0)), (QVector<double>{2}));
    }

    // The readings at the chosen decimals (cut, as at Авто), each one out of
    // band drawn with the side it is out on after it, as the band's active
    // sides judge it; the cell's own text stays the number. The statistics
    // boxes show the chosen decimals too.
    void readingsAsMeasured_data()
    {
        QTest::addColumn<int>("decimals"); // the box's index: 0 Авто, otherwise the count
        QTest::addColumn<int>("kind");     // tolerance_kind's index
        QTest::addColumn<QStringList>("numbers");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QList<int>>("red");
        QTest::addColumn<QStringList>("statistics"); // min, max, mean, σ
        const struct
        {
            const char *name;
            int index;
            QStringList numbers;
            QStringList statistics;
        } choices[] = {
            {"Авто", 0, {"9.9", "10.0", "8.9", "9.0"}, {"9.0", "10.0", "9.5", "0.6"}},
            {"2", 2, {"9.96", "10.04", "8.96", "9.00"}, {"8.96", "10.04", "9.49", "0.59"}},
            {"3", 3, {"9.960", "10.040", "8.960", "9.000"}, {"8.960", "10.040", "9.490", "0.590"}},
        };
        const QString above = QStringLiteral(" \u25B2");
        const QString below = QStringLiteral(" \u25BC");
        const struct
        {
            const char *name;
            QStringList marks;
            QList<int> red;
        } kinds[] = {
            {"two-sided", {"", above, below, ""}, {1, 2}},
            {"only lower", {"", "", below, ""}, {2}},
            {"only upper", {"", above, "", ""}, {1}},
        };
        for (const auto &choice : choices)
            for (int kind = 0; kind < 3; ++kind) {
                QStringList shown;
                for (int i = 0; i < choice.numbers.size(); ++i)
                    shown.append(choice.numbers.at(i) + kinds[kind].marks.at(i));
                QTest::addRow("%s, %s", choice.name, kinds[kind].name)
                    << choice.index << kind << choice.numbers << shown << kinds[kind].red
                    << choice.statistics;
            }
    }

    void readingsAsMeasured()
    {
        QFETCH(int, decimals);
        QFETCH(int, kind);
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, shown);
        QFETCH(QList<int>, red);
        QFETCH(QStringList, statistics);
        setBand(9.0, 10.0);
        switchBand(true);
        ui->tolerance_kind->setCurrentIndex(kind);
        const QVector<float> readings{9.96f, 10.04f, 8.96f, 9.0f};
        QTableWidget *table = ui->table_block_data;
        // Chosen while the block is shown, then the block shown again at that choice.
        showValues(readings);
        ui->decimals_combo->setCurrentIndex(decimals);
        QVERIFY(qobject_cast<const ValueMarkDelegate *>(table->itemDelegate()));
        for (int pass = 0; pass < 2; ++pass) {
            QCOMPARE(cellTexts(table), numbers);
            QCOMPARE(shownTexts(table), shown);
            QCOMPARE(redRows(table), red);
            QCOMPARE(statisticTexts(), statistics);
            doubleClickRow(0);
        }
        // The band off: no mark, no colour.
        switchBand(false);
        QCOMPARE(shownTexts(table), numbers);
        QVERIFY(redRows(table).isEmpty());
    }

    // At two decimals the band's box takes 9.55; back at Авто the limit is
    // rounded to 9.6 as a typed one would be, and the block is judged against it.
    void limitAtTheChosenDecimals()
    {
        showValues({9.54f, 9.55f, 9.7f});
        switchBand(true);
        ui->decimals_combo->setCurrentIndex(2);
        QCOMPARE(ui->limits_min->decimals(), 2);
        QCOMPARE(ui->limits_max->decimals(), 2);
        typeInto(ui->limits_min, 9.55);
        QCOMPARE(ui->limits_min->value(), 9.55);
        QCOMPARE(ui->limits_min->text(), QStringLiteral("9.55"));
        QCOMPARE(shownTexts(ui->table_block_data), (QStringList{"9.54 \u25BC", "9.55", "9.70"}));
        QCOMPARE(redRows(ui->table_block_data), (QList<int>{0}));
        QVERIFY2(ui->out_of_band_value->text().startsWith(QStringLiteral("1 из 3")),
                 qPrintable(ui->out_of_band_value->text()));

        ui->decimals_combo->setCurrentIndex(0);
        QCOMPARE(ui->limits_min->decimals(), 1);
        QCOMPARE(ui->limits_min->value(), 9.6);
        QCOMPARE(shownTexts(ui->table_block_data), (QStringList{"9.5 \u25BC", "9.5 \u25BC", "9.7"}));
        QCOMPARE(redRows(ui->table_block_data), (QList<int>{0, 1}));
        QVERIFY2(ui->out_of_band_value->text().startsWith(QStringLiteral("2 из 3")),
                 qPrintable(ui->out_of_band_value->text()));
        // The Max box never takes fewer decimals than the one it always had.
        QCOMPARE(ui->limits_max->decimals(), 1);
    }

    void bandInsideEverywhereKeepsOneGraph()
    {
        setBand(0.0, 10.0);
        switchBand(true);
        showValues({1, 2, 3});
        QCOMPARE(ui->graph->graphCount(), 1);
        QCOMPARE(keysOf(bars(0)), (QVector<double>{1, 2, 3}));
        QVERIFY(bars(1)->data()->isEmpty());
    }

    void switchingTheBandOnAndOff()
    {
        setBand(4.0, 6.0);
        showValues({3, 7, 5});
        QVERIFY(redRows(ui->table_block_data).isEmpty());
        QCOMPARE(ui->graph->graphCount(), 1);
        QCOMPARE(ui->diagram->plottableCount(), 1);
        QCOMPARE(bars(0)->brush().color(), kInsideBar);
        QCOMPARE(keysOf(bars(0)), (QVector<double>{1, 2, 3}));

        switchBand(true);
        QCOMPARE(redRows(ui->table_block_data), (QList<int>{0, 1}));
        QCOMPARE(ui->graph->graphCount(), 2);
        QCOMPARE(ui->diagram->plottableCount(), 2);
        for (QCPItemStraightLine *line : ui->graph->findChildren<QCPItemStraightLine *>())
            QVERIFY(line->visible());

        switchBand(false);
        QVERIFY(redRows(ui->table_block_data).isEmpty());
        QCOMPARE(ui->graph->graphCount(), 1);
        QCOMPARE(ui->diagram->plottableCount(), 1);
        QCOMPARE(bars(0)->brush().color(), kInsideBar);
        QCOMPARE(keysOf(bars(0)), (QVector<double>{1, 2, 3}));
        for (QCustomPlot *plot : {ui->graph, ui->diagram}) {
            QCOMPARE(plot->itemCount(), 2);
            for (int i = 0; i < plot->itemCount(); ++i)
                QVERIFY(!plot->item(i)->visible());
        }
    }

    void linesBeforeAnyBlock()
    {
        setBand(1.5, 3.5);
        QTest::ignoreMessage(QtDebugMsg, "0x0");
        switchBand(true);
        for (QCustomPlot *plot : {ui->graph, ui->diagram}) {
            QCOMPARE(plot->itemCount(), 2);
            QCOMPARE(plot->graphCount(), 0);
            QList<double> heights;
            for (int i = 0; i < plot->itemCount(); ++i) {
                auto *line = qobject_cast<QCPItemStraightLine *>(plot->item(i));
                QVERIFY(line);
                QVERIFY(line->visible());
                QCOMPARE(line->pen().color(), kRed);
                QCOMPARE(line->pen().widthF(), 2.0);
                QCOMPARE(line->pen().style(), Qt::SolidLine);
                // Horizontal: both points at the limit's height.
                QCOMPARE(line->point1->value(), line->point2->value());
                QVERIFY(line->point1->key() != line->point2->key());
                heights.append(line->point1->value());
            }
            std::sort(heights.begin(), heights.end());
            QCOMPARE(heights, (QList<double>{1.5, 3.5}));
            compareRange(plot->xAxis->range(), 0, 5);
            compareRange(plot->yAxis->range(), 0, 5);
        }

        // The lines follow a finished limit edit even before a block is shown.
        typeInto(ui->limits_max, 4.5);
        QList<double> heights;
        for (int i = 0; i < ui->graph->itemCount(); ++i)
            heights.append(static_cast<QCPItemStraightLine *>(ui->graph->item(i))->point1->value());
        std::sort(heights.begin(), heights.end());
        QCOMPARE(heights, (QList<double>{1.5, 4.5}));
    }

    void limitTakesEffectWhenEditingFinishes()
    {
        setBand(0.0, 10.0);
        switchBand(true);
        showValues({3, 7, 5});
        QVERIFY(redRows(ui->table_block_data).isEmpty());

        ui->limits_max->setFocus();
        ui->limits_max->selectAll();
        QTest::keyClicks(ui->limits_max, QStringLiteral("6"));
        QCOMPARE(ui->limits_max->value(), 6.0);
        QVERIFY(redRows(ui->table_block_data).isEmpty());
        QCOMPARE(ui->graph->graphCount(), 1);

        QTest::keyClick(ui->limits_max, Qt::Key_Return);
        QCOMPARE(redRows(ui->table_block_data), (QList<int>{1}));
        QCOMPARE(keysOf(ui->graph->graph(1)), (QVector<double>{2}));
        QCOMPARE(keysOf(bars(1)), (QVector<double>{2}));

        typeInto(ui->limits_min, 4.0);
        QCOMPARE(redRows(ui->table_block_data), (QList<int>{0, 1}));
        QCOMPARE(keysOf(ui->graph->graph(1)), (QVector<double>{1, 2}));
    }

    // A single click only moves the selection: the band is redrawn for the
    // block whose table and statistics are shown.
    void oneBlockAtATime()
    {
        setBand(4.0, 6.0);
        setBlocks({{3, 7, 5}, {100, 200, 300, 400}});
        doubleClickRow(0);
        QListWidget *list = ui->block_names_list;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          list->visualItemRect(list->item(1)).center());
        QCOMPARE(list->currentRow(), 1);

        switchBand(true);
        QCOMPARE(valuesOf(ui->graph->graph(0)), (QVector<double>{3, 7, 5}));
        QCOMPARE(keysOf(ui->graph->graph(1)), (QVector<double>{1, 2}));
        QCOMPARE(cellTexts(ui->table_block_data), (QStringList{"3.0", "7.0", "5.0"}));
        QCOMPARE(redRows(ui->table_block_data), (QList<int>{0, 1}));
        compareRanges(0, 4, 1, 9);

        typeInto(ui->limits_max, 8.0);
        QCOMPARE(valuesOf(ui->graph->graph(0)), (QVector<double>{3, 7, 5}));
        QCOMPARE(keysOf(ui->graph->graph(1)), (QVector<double>{1}));
        QCOMPARE(statisticTexts(), (QStringList{"3.0", "7.0", "5.0", "2.0"}));
        QCOMPARE(MainWindowTester::shownRow(*window), 0);
    }

    // A new read replaces the store but leaves the shown block on screen; the
    // band is then still drawn for that block.
    // A new list shows no block until one is chosen from it: the block of
    // the old list is not shown as if it were listed.
    void newListShowsNoBlock()
    {
        setBand(4.0, 6.0);
        setBlocks({{3, 7, 5}});
        doubleClickRow(0);
        QCOMPARE(ui->table_block_data->rowCount(), 3);
        setBlocks({{100, 200}});

        QCOMPARE(ui->table_block_data->rowCount(), 0);
        QCOMPARE(ui->graph->graphCount(), 0);
        QCOMPARE(ui->diagram->plottableCount(), 0);
        QCOMPARE(statisticTexts(), (QStringList{"—", "—", "—", "—"}));
        QCOMPARE(ui->verdict_value->text(), QStringLiteral("—"));
        QVERIFY(!ui->button_export_to_PDF->isEnabled());
        QVERIFY(!ui->button_export_to_excel->isEnabled());
        QCOMPARE(window->blockList().shownRow(), -1);
        // The band brings no old block back.
        switchBand(true);
        typeInto(ui->limits_min, 2.0);
        QCOMPARE(ui->graph->graphCount(), 0);
        QCOMPARE(ui->table_block_data->rowCount(), 0);

        doubleClickRow(0);
        QCOMPARE(valuesOf(ui->graph->graph(0)), (QVector<double>{100, 200}));
        QCOMPARE(statisticTexts().at(0), QStringLiteral("100.0"));
    }

    void plotLook()
    {
        setBand(4.0, 6.0);
        switchBand(true);
        showValues({3, 7, 5});

        const QCPGraph *values = ui->graph->graph(0);
        QCOMPARE(values->data()->size(), 3);
        QCOMPARE(values->pen().color(), kBlue);
        QCOMPARE(values->pen().widthF(), 2.0);
        QCOMPARE(values->lineStyle(), QCPGraph::lsLine);
        QCOMPARE(values->scatterStyle().shape(), QCPScatterStyle::ssCircle);
        QCOMPARE(values->scatterStyle().size(), 7.0);
        QCOMPARE(values->scatterStyle().pen().color(), kBlue);
        QCOMPARE(values->scatterStyle().brush().color(), QColor(Qt::white));

        const QCPGraph *outside = ui->graph->graph(1);
        QCOMPARE(outside->pen().color(), kRed);
        QCOMPARE(outside->pen().widthF(), 1.5);
        QCOMPARE(outside->lineStyle(), QCPGraph::lsNone);
        QCOMPARE(outside->scatterStyle().shape(), QCPScatterStyle::ssCircle);
        QCOMPARE(outside->scatterStyle().size(), 7.0);
        QCOMPARE(outside->scatterStyle().pen().color(), kOutsideMarker);
        QCOMPARE(outside->scatterStyle().pen().widthF(), 1.5);
        QCOMPARE(outside->scatterStyle().brush().color(), kOutsideMarker);
        QCOMPARE(outside->scatterStyle().brush().style(), Qt::SolidPattern);

        QCOMPARE(ui->diagram->plottableCount(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(bars(i)->baseValue(), 0.0);
            QCOMPARE(bars(i)->width(), 0.75);
            QCOMPARE(bars(i)->pen().color(), kBarOutline);
            QCOMPARE(bars(i)->pen().widthF(), 1.0);
            QCOMPARE(bars(i)->keyAxis(), ui->diagram->xAxis);
            QCOMPARE(bars(i)->valueAxis(), ui->diagram->yAxis);
        }
        QCOMPARE(bars(0)->brush().color(), kInsideBar);
        QCOMPARE(bars(1)->brush().color(), kOutsideBar);
    }

    void diagramSplit()
    {
        setBand(4.0, 6.0);
        switchBand(true);
        showValues({3, 7, 5});
        QCOMPARE(keysOf(bars(1)), (QVector<double>{1, 2}));
        QCOMPARE(valuesOf(bars(1)), (QVector<double>{3, 7}));
        QCOMPARE(bars(1)->brush().color(), kOutsideBar);
        QCOMPARE(keysOf(bars(0)), (QVector<double>{3}));
        QCOMPARE(valuesOf(bars(0)), (QVector<double>{5}));
        QCOMPARE(bars(0)->brush().color(), kInsideBar);
        compareRanges(0, 4, 1, 9);
    }

    void ranges_data()
    {
        QTest::addColumn<QVector<float>>("values");
        QTest::addColumn<double>("keyUpper");
        QTest::addColumn<double>("valueLower");
        QTest::addColumn<double>("valueUpper");
        // Shown after a block of 10, 14, 12 (y 8 .. 16).
        QTest::newRow("10 14 12") << QVector<float>{10, 14, 12} << 4.0 << 8.0 << 16.0;
        QTest::newRow("one value 20") << QVector<float>{20} << 2.0 << 18.0 << 22.0;
        QTest::newRow("one value -20") << QVector<float>{-20} << 2.0 << -22.0 << -18.0;
        QTest::newRow("one value 0 keeps y") << QVector<float>{0} << 2.0 << 8.0 << 16.0;
        QTest::newRow("equal values keep y") << QVector<float>{3, 3, 3, 3} << 5.0 << 8.0 << 16.0;
        QTest::newRow("empty block") << QVector<float>{} << 1.0 << 0.0 << 5.0;
        QTest::newRow("non-finite readings do not widen y")
            << QVector<float>{1, kNaN, 3, kInf, -kInf} << 6.0 << 0.0 << 4.0;
    }
    void ranges()
    {
        QFETCH(QVector<float>, values);
        QFETCH(double, keyUpper);
        QFETCH(double, valueLower);
        QFETCH(double, valueUpper);
        setBlocks({{10, 14, 12}, values});
        doubleClickRow(0);
        compareRanges(0, 4, 8, 16);
        doubleClickRow(1);
        compareRanges(0, keyUpper, valueLower, valueUpper);
    }

    void nonFiniteReadingsAreSkippedOnThePlots()
    {
        setBand(0.0, 2.0);
        switchBand(true);
        showValues({1, kNaN, 3, kInf, -kInf});
        QCOMPARE(cellTexts(ui->table_block_data), (QStringList{"1.0", "nan", "3.0", "inf", "-inf"}));
        QCOMPARE(keysOf(ui->graph->graph(0)), (QVector<double>{1, 3}));
        QCOMPARE(keysOf(ui->graph->graph(1)), (QVector<double>{3}));
        QCOMPARE(keysOf(bars(0)), (QVector<double>{1}));
        QCOMPARE(keysOf(bars(1)), (QVector<double>{3}));
        QCOMPARE(statisticTexts(), (QStringList{kDash, kDash, kDash, kDash}));
        const QImage picture = ui->graph->toPixmap().toImage();
        QVERIFY(!picture.isNull());
    }

    void rangeBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<double>("startLower");
        QTest::addColumn<double>("startUpper");
        QTest::addColumn<double>("typed");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::newRow("lower typed above upper") << "graphs_limits_min" << 0.0 << 5.0 << 20.0 << 20.0 << 21.0;
        QTest::newRow("upper typed below lower") << "graphs_limits_max" << 10.0 << 15.0 << 3.0 << 2.0 << 3.0;
        QTest::newRow("lower moved") << "graphs_limits_min" << 0.0 << 5.0 << 2.0 << 2.0 << 5.0;
        QTest::newRow("upper moved") << "graphs_limits_max" << 0.0 << 5.0 << 40.0 << 0.0 << 40.0;
        QTest::newRow("negative lower") << "graphs_limits_min" << 0.0 << 5.0 << -7.5 << -7.5 << 5.0;
        // Both ends equal: the plots refuse, and the boxes go back to the range shown.
        QTest::newRow("upper onto lower") << "graphs_limits_max" << 1.0 << 5.0 << 1.0 << 1.0 << 5.0;
        QTest::newRow("lower onto upper") << "graphs_limits_min" << 1.0 << 5.0 << 5.0 << 1.0 << 5.0;
    }
    void rangeBoxes()
    {
        QFETCH(QString, box);
        QFETCH(double, startLower);
        QFETCH(double, startUpper);
        QFETCH(double, typed);
        QFETCH(double, lower);
        QFETCH(double, upper);
        showValues({10, 14, 12});
        ui->graph->yAxis->setRange(startLower, startUpper);
        compareRanges(0, 4, startLower, startUpper);

        typeInto(window->findChild<QDoubleSpinBox *>(box), typed);
        compareRanges(0, 4, lower, upper);
    }

    void linkedAxes()
    {
        showValues({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        ui->graph->xAxis->setRange(2, 6);
        compareRange(ui->diagram->xAxis->range(), 2, 6);
        ui->diagram->xAxis->setRange(3, 9);
        compareRange(ui->graph->xAxis->range(), 3, 9);
        ui->diagram->yAxis->setRange(-1, 1);
        compareRanges(3, 9, -1, 1);

        // A real drag pans both plots in both directions.
        QWidget *diagram = ui->diagram;
        const QPoint start = ui->diagram->axisRect()->rect().center();
        QTest::mousePress(diagram, Qt::LeftButton, Qt::NoModifier, start);
        QMouseEvent move(QEvent::MouseMove, start + QPoint(-60, 40), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(diagram, &move);
        QTest::mouseRelease(diagram, Qt::LeftButton, Qt::NoModifier, start + QPoint(-60, 40));
        const QCPRange keys = ui->graph->xAxis->range();
        const QCPRange values = ui->graph->yAxis->range();
        QVERIFY(keys.lower > 3);
        QVERIFY(values.lower > -1);
        compareRange(ui->diagram->xAxis->range(), keys.lower, keys.upper);
        compareRange(ui->diagram->yAxis->range(), values.lower, values.upper);
        QCOMPARE(ui->graphs_limits_min->value(), std::round(values.lower * 10) / 10);
        QCOMPARE(ui->graphs_limits_max->value(), std::round(values.upper * 10) / 10);
    }

    void exportButtons_data()
    {
        QTest::addColumn<QVector<QVector<float>>>("shownBlocks");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("block with values") << QVector<QVector<float>>{{1}} << true;
        QTest::newRow("empty block") << QVector<QVector<float>>{{}} << false;
        QTest::newRow("values, then empty") << QVector<QVector<float>>{{1, 2}, {}} << false;
        QTest::newRow("empty, then values") << QVector<QVector<float>>{{}, {3}} << true;
    }
    void exportButtons()
    {
        QFETCH(QVector<QVector<float>>, shownBlocks);
        QFETCH(bool, enabled);
        QVERIFY(!ui->button_export_to_PDF->isEnabled());
        QVERIFY(!ui->button_export_to_excel->isEnabled());
        setBlocks(shownBlocks);
        for (int row = 0; row < shownBlocks.size(); ++row)
            doubleClickRow(row);
        QCOMPARE(ui->button_export_to_PDF->isEnabled(), enabled);
        QCOMPARE(ui->button_export_to_excel->isEnabled(), enabled);
    }

    // With the largest blocks the plots draw markers and bars only where they
    // can be told apart, without losing any red mark.
    void denseBlockKeepsItsMarks()
    {
        QVector<float> values(65535, 5.0f);
        const QList<int> spikes{1000, 30000, 60000};
        for (const int i : spikes)
            values[i] = 9.5f;
        setBand(0.0, 9.0);
        switchBand(true);
        showValues(values);

        auto *line = dynamic_cast<AdaptiveMarkerGraph *>(ui->graph->graph(0));
        auto *marks = dynamic_cast<AdaptiveMarkerGraph *>(ui->graph->graph(1));
        auto *outsideBars = dynamic_cast<AdaptiveBars *>(bars(1));
        QVERIFY(line && marks && outsideBars);
        QVERIFY(!line->markersApart());
        QVERIFY(marks->markersApart()); // three marks far apart
        QVERIFY(!outsideBars->barsApart());

        const QImage graph = ui->graph->toPixmap().toImage();
        const QImage diagram = ui->diagram->toPixmap().toImage();
        for (const int i : spikes) {
            const int x = qRound(ui->graph->xAxis->coordToPixel(i + 1));
            const int y = qRound(ui->graph->yAxis->coordToPixel(9.5));
            QVERIFY2(countPixels(graph, QRect(x - 3, y - 3, 7, 7), reddish) > 0,
                     qPrintable(QString::number(i)));
            const int top = qRound(ui->diagram->yAxis->coordToPixel(9.0));
            QVERIFY2(countPixels(diagram, QRect(x - 1, top, 3, 3),
                                 [](QColor c) { return c.red() > c.blue() + 30; })
                         > 0,
                     qPrintable(QString::number(i)));
        }
        const QRect plotArea = ui->diagram->axisRect()->rect().adjusted(2, 2, -2, -2);
        QVERIFY(countPixels(diagram, plotArea, [](QColor c) { return c.blue() > c.red() + 20; })
                > plotArea.width() * 10);

        // Zoomed in, single circles and bars are back.
        ui->graph->xAxis->setRange(995, 1010);
        QVERIFY(line->markersApart());
        QVERIFY(outsideBars->barsApart());
        const QImage zoomed = ui->graph->toPixmap().toImage();
        const int x = qRound(ui->graph->xAxis->coordToPixel(1000));
        const int y = qRound(ui->graph->yAxis->coordToPixel(5.0));
        // White-filled circle in a blue ring around the point on the line.
        QCOMPARE(zoomed.pixelColor(x, y), QColor(Qt::white));
        QVERIFY(countPixels(zoomed, QRect(x - 4, y - 4, 9, 9), bluish) > 8);
    }

    // Many out-of-band points close together merge into strokes; every one
    // of them stays red on the graph.
    void denseMarksMerge()
    {
        QVector<float> values(20000);
        for (int i = 0; i < values.size(); ++i)
            values[i] = (i / 500) % 2 ? 8.0f : 2.0f;
        setBand(0.0, 5.0);
        switchBand(true);
        showValues(values);
        auto *marks = dynamic_cast<AdaptiveMarkerGraph *>(ui->graph->graph(1));
        QVERIFY(marks);
        QVERIFY(!marks->markersApart());
        const QImage graph = ui->graph->toPixmap().toImage();
        for (const int i : {500, 2750, 19999}) {
            const int x = qRound(ui->graph->xAxis->coordToPixel(i + 1));
            const int y = qRound(ui->graph->yAxis->coordToPixel(8.0));
            QVERIFY2(countPixels(graph, QRect(x - 2, y - 2, 5, 5), reddish) > 0,
                     qPrintable(QString::number(i)));
        }
        const int x = qRound(ui->graph->xAxis->coordToPixel(250));
        const int y = qRound(ui->graph->yAxis->coordToPixel(2.0));
        QCOMPARE(countPixels(graph, QRect(x - 2, y - 2, 5, 5), reddish), 0);
    }
};

ZRV_WINDOW_TEST_MAIN(BlockViewTest)
#include "tst_blockview.moc"
