// The data view's arithmetic without widgets: table texts, statistics, plot
// ranges, the tolerance band split, and what the statistics boxes show.

#include "ui/statisticsbox.h"
#include "values/bandmark.h"
#include "values/bandsplit.h"
#include "values/blockstatistics.h"
#include "values/decimals.h"
#include "values/plotrange.h"
#include "values/plotseries.h"
#include "values/valuetext.h"

#include <QDoubleSpinBox>
#include <QtTest>
#include <cmath>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr double kNaNd = std::numeric_limits<double>::quiet_NaN();

// Compares a statistic, NaN meaning "cannot be computed".
bool sameStatistic(double actual, double expected, double tolerance)
{
    if (std::isnan(expected))
        return std::isnan(actual);
    if (actual == expected)
        return true;
    return std::abs(actual - expected) <= tolerance;
}

} // namespace

class BlockViewLogicTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void cellText_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole below ten") << 5.0f << "5.0";
        QTest::newRow("cut, not rounded") << 12.37f << "12.3";
        QTest::newRow("negative cut toward zero") << -12.37f << "-12.3";
        QTest::newRow("just below a hundred") << 99.99f << "99.9";
        QTest::newRow("99.95 keeps one decimal") << 99.95f << "99.9";
        QTest::newRow("exactly a hundred") << 100.0f << "100";
        QTest::newRow("above a hundred cut") << 100.7f << "100";
        QTest::newRow("123.9") << 123.9f << "123";
        QTest::newRow("thousands") << 1500.0f << "1500";
        QTest::newRow("negative thousands") << -1500.9f << "-1500";
        // The floats nearest these lie just below them; the reading is what counts.
        QTest::newRow("0.7 is not 0.6") << 0.7f << "0.7";
        QTest::newRow("0.9 is not 0.8") << 0.9f << "0.9";
        QTest::newRow("4.1") << 4.1f << "4.1";
        QTest::newRow("-0.7") << -0.7f << "-0.7";
        QTest::newRow("zero") << 0.0f << "0.0";
        QTest::newRow("tiny positive") << 1e-10f << "0.0";
        QTest::newRow("decimal digit beyond float precision") << 5.07f << "5.0";
        QTest::newRow("large") << 1e9f << "1000000000";
        QTest::newRow("largest float, all its digits")
            << std::numeric_limits<float>::max() << "340282346638528859811704183484516925440";
        QTest::newRow("NaN as it is") << kNaN << "nan";
        QTest::newRow("infinity as it is") << kInf << "inf";
        QTest::newRow("negative infinity as it is") << -kInf << "-inf";
    }
    void cellText()
    {
        QFETCH(float, value);
        QFETCH(QString, text);
        QCOMPARE(cutValueText(value), text);
    }

    // At a chosen count the same cut toward zero, padded with zeros; 0.7 and
    // 0.9 keep their digits at any count.
    void cellTextAtChosenDecimals_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("9.96 at 1") << 9.96f << 1 << "9.9";
        QTest::newRow("9.96 at 2") << 9.96f << 2 << "9.96";
        QTest::newRow("10.04 at 2") << 10.04f << 2 << "10.04";
        QTest::newRow("9.5 padded at 2") << 9.5f << 2 << "9.50";
        QTest::newRow("9 padded at 3") << 9.0f << 3 << "9.000";
        QTest::newRow("12.3456 cut at 3") << 12.3456f << 3 << "12.345";
        QTest::newRow("0.7 at 4") << 0.7f << 4 << "0.7000";
        QTest::newRow("0.9 at 2") << 0.9f << 2 << "0.90";
        QTest::newRow("above a hundred keeps the count") << 150.25f << 2 << "150.25";
        QTest::newRow("small negative is no negative zero") << -0.0004f << 3 << "0.000";
        QTest::newRow("-0.0004 at 4") << -0.0004f << 4 << "-0.0004";
        QTest::newRow("NaN as it is") << kNaN << 2 << "nan";
    }
    void cellTextAtChosenDecimals()
    {
        QFETCH(float, value);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(cutValueText(value, decimals), text);
    }

    // The side a reading is out on, as the band's active sides judge it.
    void bandMarks_data()
    {
        QTest::addColumn<float>("reading");
        QTest::addColumn<bool>("on");
        QTest::addColumn<int>("kind"); // ToleranceKind
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<QString>("marked"); // "5.0" with its mark
        const int two = int(ToleranceKind::TwoSided);
        const int lowerOnly = int(ToleranceKind::LowerOnly);
        const int upperOnly = int(ToleranceKind::UpperOnly);
        const QString up = QStringLiteral(" \u25B2");
        const QString down = QStringLiteral(" \u25BC");
        QTest::newRow("inside") << 9.5f << true << two << 9.0 << 10.0 << "";
        QTest::newRow("on Min is inside") << 9.0f << true << two << 9.0 << 10.0 << "";
        QTest::newRow("on Max in its float is inside") << 9.9f << true << two << 9.0 << 9.9 << "";
        QTest::newRow("above") << 10.04f << true << two << 9.0 << 10.0 << up;
        QTest::newRow("below") << 8.96f << true << two << 9.0 << 10.0 << down;
        QTest::newRow("band off") << 10.04f << false << two << 9.0 << 10.0 << "";
        QTest::newRow("only lower: above is inside") << 10.04f << true << lowerOnly << 9.0 << 10.0 << "";
        QTest::newRow("only lower: below") << 8.96f << true << lowerOnly << 9.0 << 10.0 << down;
        QTest::newRow("only upper: below is inside") << 8.96f << true << upperOnly << 9.0 << 10.0 << "";
        QTest::newRow("only upper: above") << 10.04f << true << upperOnly << 9.0 << 10.0 << up;
        QTest::newRow("inverted: below Min") << 9.5f << true << two << 10.0 << 9.0 << down;
        QTest::newRow("inverted: above both") << 10.5f << true << two << 10.0 << 9.0 << up;
        QTest::newRow("NaN has no side") << kNaN << true << two << 9.0 << 10.0 << "";
    }
    void bandMarks()
    {
        QFETCH(float, reading);
        QFETCH(bool, on);
        QFETCH(int, kind);
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(QString, marked);
        const ToleranceBand band{on, lower, upper, ToleranceKind(kind)};
        QCOMPARE(withBandMark(QStringLiteral("5.0"), readingMark(reading, band)),
                 QStringLiteral("5.0") + marked);
        // A marked reading is out of band; NaN is out without a side.
        if (!marked.isEmpty())
            QVERIFY(readingOutOfBand(reading, band));
        QCOMPARE(readingMarks({reading, reading}, band).size(), on ? 2 : 0);
    }

    void decimals_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("decimals");
        QTest::newRow("below ten") << 5.0f << 1;
        QTest::newRow("just below a hundred") << 99.99f << 1;
        QTest::newRow("negative just below a hundred") << -99.99f << 1;
        QTest::newRow("a hundred") << 100.0f << 0;
        QTest::newRow("minus a hundred") << -100.0f << 0;
        QTest::newRow("NaN") << kNaN << 0;
    }
    void decimals()
    {
        QFETCH(float, value);
        QFETCH(int, decimals);
        QCOMPARE(decimalsForValue(value), decimals);
    }

    void statistics_data()
    {
        QTest::addColumn<QVector<float>>("values");
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<double>("mean");
        QTest::addColumn<double>("stdev");
        QTest::newRow("1 2 3 4") << QVector<float>{1, 2, 3, 4} << 1.0 << 4.0 << 2.5 << std::sqrt(5.0 / 3.0);
        QTest::newRow("stored order does not matter")
            << QVector<float>{4, 1, 3, 2} << 1.0 << 4.0 << 2.5 << std::sqrt(5.0 / 3.0);
        QTest::newRow("equal values") << QVector<float>{7.5f, 7.5f, 7.5f} << 7.5 << 7.5 << 7.5 << 0.0;
        QTest::newRow("one value: no deviation") << QVector<float>{20} << 20.0 << 20.0 << 20.0 << kNaNd;
        QTest::newRow("empty block: nothing") << QVector<float>{} << kNaNd << kNaNd << kNaNd << kNaNd;
        QTest::newRow("negative values") << QVector<float>{-3, -1} << -3.0 << -1.0 << -2.0 << std::sqrt(2.0);
        QTest::newRow("NaN reading skipped by the extremes, spoils the rest")
            << QVector<float>{1, kNaN, 3} << 1.0 << 3.0 << kNaNd << kNaNd;
        QTest::newRow("only NaN") << QVector<float>{kNaN} << kNaNd << kNaNd << kNaNd << kNaNd;
        QTest::newRow("infinite reading")
            << QVector<float>{1, kInf} << 1.0 << double(std::numeric_limits<double>::infinity())
            << double(std::numeric_limits<double>::infinity()) << kNaNd;
    }
    void statistics()
    {
        QFETCH(QVector<float>, values);
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(double, mean);
        QFETCH(double, stdev);
        const BlockStatistics s = computeStatistics(values);
        QVERIFY2(sameStatistic(s.minimum, minimum, 1e-12), qPrintable(QString::number(s.minimum)));
        QVERIFY2(sameStatistic(s.maximum, maximum, 1e-12), qPrintable(QString::number(s.maximum)));
        QVERIFY2(sameStatistic(s.mean, mean, 1e-12), qPrintable(QString::number(s.mean)));
        QVERIFY2(sameStatistic(s.stdev, stdev, 1e-12), qPrintable(QString::number(s.stdev)));
    }

    // The mean is summed in double from the widened floats, in stored order.
    void statisticsUseDoubleAccumulators()
    {
        QVector<float> values(100000, 0.1f);
        const BlockStatistics s = computeStatistics(values);
        // A float accumulator drifts by about 1e-5 here.
        QVERIFY2(std::abs(s.mean - double(0.1f)) < 1e-9, qPrintable(QString::number(s.mean, 'g', 17)));
        QVERIFY(std::abs(s.stdev) < 1e-9);
    }

    void statisticBox_data()
    {
        QTest::addColumn<double>("statistic");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("shown");
        QTest::newRow("rounded to one decimal") << 12.26 << "12.3" << 12.3;
        QTest::newRow("deviation of 1 2 3 4") << std::sqrt(5.0 / 3.0) << "1.3" << 1.3;
        QTest::newRow("zero") << 0.0 << "0.0" << 0.0;
        QTest::newRow("lowest number is a number") << -1e9 << "-1000000000.0" << -1e9;
        QTest::newRow("beyond the form's range") << -5e6 << "-5000000.0" << -5e6;
        QTest::newRow("below the range clamps") << -5e13 << "-1000000000.0" << -1e9;
        QTest::newRow("above the range clamps") << 5e13 << "1000000000.0" << 1e9;
        QTest::newRow("NaN shows a dash") << kNaNd << QString(QChar(0x2014)) << kNaNd;
        QTest::newRow("infinity shows a dash")
            << std::numeric_limits<double>::infinity() << QString(QChar(0x2014)) << kNaNd;
    }
    void statisticBox()
    {
        QFETCH(double, statistic);
        QFETCH(QString, text);
        QFETCH(double, shown);
        QDoubleSpinBox box; // set up as the form's statistics boxes
        box.setDecimals(1);
        box.setRange(-999999, 999999);
        box.setReadOnly(true);
        box.setLocale(QLocale::c());
        showStatistic(&box, statistic);
        QCOMPARE(box.text(), text);
        QVERIFY2(sameStatistic(shownStatistic(&box), shown, 1e-9),
                 qPrintable(QString::number(shownStatistic(&box))));
        // A number after a dash is a number again.
        showStatistic(&box, 4.0);
        QCOMPARE(box.text(), QStringLiteral("4.0"));
        QCOMPARE(shownStatistic(&box), 4.0);
    }

    void valueRange_data()
    {
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<bool>("hasRange");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::newRow("half the spread around") << QVector<double>{10, 14, 12} << true << 8.0 << 16.0;
        QTest::newRow("one value: a tenth of it") << QVector<double>{20} << true << 18.0 << 22.0;
        QTest::newRow("one negative value, ends ordered") << QVector<double>{-20} << true << -22.0 << -18.0;
        QTest::newRow("bars example") << QVector<double>{3, 7, 5} << true << 1.0 << 9.0;
        QTest::newRow("no values") << QVector<double>{} << true << 0.0 << 5.0;
        QTest::newRow("one value zero: none") << QVector<double>{0} << false << 0.0 << 0.0;
        QTest::newRow("equal values: none") << QVector<double>{3, 3, 3} << false << 0.0 << 0.0;
        QTest::newRow("non-finite values ignored")
            << QVector<double>{10, kNaNd, std::numeric_limits<double>::infinity(), 14} << true << 8.0 << 16.0;
        QTest::newRow("only non-finite values: as no values")
            << QVector<double>{kNaNd, -std::numeric_limits<double>::infinity()} << true << 0.0 << 5.0;
    }
    void valueRange()
    {
        QFETCH(QVector<double>, values);
        QFETCH(bool, hasRange);
        QFETCH(double, lower);
        QFETCH(double, upper);
        const std::optional<AxisRange> range = valueAxisRange(values);
        QCOMPARE(range.has_value(), hasRange);
        if (!hasRange)
            return;
        QCOMPARE(range->lower, lower);
        QCOMPARE(range->upper, upper);
    }

    void keyRange_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<double>("upper");
        QTest::newRow("empty") << 0 << 1.0;
        QTest::newRow("three") << 3 << 4.0;
        QTest::newRow("largest block") << 65535 << 65536.0;
    }
    void keyRange()
    {
        QFETCH(int, count);
        QFETCH(double, upper);
        const AxisRange range = keyAxisRange(count);
        QCOMPARE(range.lower, 0.0);
        QCOMPARE(range.upper, upper);
    }

    void band_data()
    {
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<QVector<double>>("insideKeys");
        QTest::addColumn<QVector<double>>("outsideKeys");
        QTest::newRow("3 7 5 in 4..6")
            << QVector<double>{3, 7, 5} << 4.0 << 6.0 << QVector<double>{3} << QVector<double>{1, 2};
        QTest::newRow("a value on a limit is inside") << QVector<double>{4, 6, 6.0001, 3.9999} << 4.0 << 6.0
                                                      << QVector<double>{1, 2} << QVector<double>{3, 4};
        QTest::newRow("readings equal to one-decimal limits are inside")
            << QVector<double>{double(4.7f), double(4.9f), double(4.95f), double(4.65f)} << 4.7 << 4.9
            << QVector<double>{1, 2} << QVector<double>{3, 4};
        QTest::newRow("lower above upper: all outside")
            << QVector<double>{1, 5, 9} << 6.0 << 4.0 << QVector<double>{} << QVector<double>{1, 2, 3};
        QTest::newRow("all inside") << QVector<double>{4.5, 5} << 4.0 << 6.0 << QVector<double>{1, 2}
                                    << QVector<double>{};
        QTest::newRow("stored 5.07 is above 5.0")
            << QVector<double>{double(5.07f)} << 0.0 << 5.0 << QVector<double>{} << QVector<double>{1};
        QTest::newRow("empty") << QVector<double>{} << 0.0 << 1.0 << QVector<double>{} << QVector<double>{};
    }
    void band()
    {
        QFETCH(QVector<double>, values);
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(QVector<double>, insideKeys);
        QFETCH(QVector<double>, outsideKeys);
        QVector<double> keys;
        for (int i = 0; i < values.size(); ++i)
            keys.append(i + 1);
        const BandSplit split = splitByBand(keys, values, lower, upper);
        QCOMPARE(split.insideKeys, insideKeys);
        QCOMPARE(split.outsideKeys, outsideKeys);
        // Each value travels with its own key.
        for (int i = 0; i < split.insideKeys.size(); ++i)
            QCOMPARE(split.insideValues.at(i), values.at(int(split.insideKeys.at(i)) - 1));
        for (int i = 0; i < split.outsideKeys.size(); ++i) {
            QCOMPARE(split.outsideValues.at(i), values.at(int(split.outsideKeys.at(i)) - 1));
            QVERIFY(isOutOfBand(split.outsideValues.at(i), lower, upper));
        }
    }

    void plotPoints_data()
    {
        QTest::addColumn<QVector<float>>("readings");
        QTest::addColumn<QVector<double>>("keys");
        QTest::addColumn<QVector<double>>("values");
        QTest::newRow("numbered from one")
            << QVector<float>{3, 7, 5} << QVector<double>{1, 2, 3} << QVector<double>{3, 7, 5};
        QTest::newRow("widened, not rounded")
            << QVector<float>{0.7f} << QVector<double>{1} << QVector<double>{double(0.7f)};
        QTest::newRow("non-finite readings left out, numbers kept")
            << QVector<float>{1, kNaN, 3, kInf, -kInf, 6} << QVector<double>{1, 3, 6}
            << QVector<double>{1, 3, 6};
        QTest::newRow("empty") << QVector<float>{} << QVector<double>{} << QVector<double>{};
    }
    void plotPoints()
    {
        QFETCH(QVector<float>, readings);
        QFETCH(QVector<double>, keys);
        QFETCH(QVector<double>, values);
        const PlotSeries series = plotSeries(readings);
        QCOMPARE(series.keys, keys);
        QCOMPARE(series.values, values);
    }
};

QTEST_MAIN(BlockViewLogicTest)
#include "tst_blockviewlogic.moc"
