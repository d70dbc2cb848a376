// The band's verdict without widgets: which readings are out of band, the
// count, percentage, verdict, Cp and Cpk, their texts, and the readings as
// numbers for a spreadsheet.
#include "report/verdicttexts.h"
#include "values/bandverdict.h"
#include "values/readingnumbers.h"
#include "values/toleranceband.h"

#include <QStandardPaths>
#include <QtTest>
#include <cmath>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr double kNoFigure = std::numeric_limits<double>::quiet_NaN();

// NaN expected means "no figure"; otherwise equal to four decimals.
bool sameFigure(double actual, double expected)
{
    if (std::isnan(expected))
        return std::isnan(actual);
    return std::abs(actual - expected) < 1e-4;
}

} // namespace

class TestBandVerdict : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void outOfBand_data()
    {
        QTest::addColumn<float>("reading");
        QTest::addColumn<bool>("on");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<bool>("outside");
        QTest::newRow("inside") << 9.8f << true << 9.6 << 10.0 << false;
        // The float nearest 9.6 lies below the double 9.6, yet it is the limit.
        QTest::newRow("on the lower limit") << 9.6f << true << 9.6 << 10.0 << false;
        QTest::newRow("on the upper limit") << 4.9f << true << 4.7 << 4.9 << false;
        QTest::newRow("9.56 against 9.6, shown as 9.6") << 9.56f << true << 9.6 << 10.0 << true;
        QTest::newRow("4.93 against 4.9, cut to 4.9") << 4.93f << true << 4.7 << 4.9 << true;
        QTest::newRow("5.07 against 5.0") << 5.07f << true << 0.0 << 5.0 << true;
        QTest::newRow("far below") << -1e6f << true << 9.6 << 10.0 << true;
        QTest::newRow("not a number") << kNaN << true << 9.6 << 10.0 << true;
        QTest::newRow("plus infinity") << kInf << true << 9.6 << 10.0 << true;
        QTest::newRow("minus infinity") << -kInf << true << 9.6 << 10.0 << true;
        QTest::newRow("lower above upper") << 5.0f << true << 6.0 << 4.0 << true;
        QTest::newRow("band off") << 100.0f << false << 9.6 << 10.0 << false;
        QTest::newRow("band off, not a number") << kNaN << false << 9.6 << 10.0 << false;
    }

    void outOfBand()
    {
        QFETCH(float, reading);
        QFETCH(bool, on);
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(bool, outside);
        const ToleranceBand band{on, lower, upper};
        QCOMPARE(readingOutOfBand(reading, band), outside);
        QCOMPARE(readingsOutOfBand({reading, reading}, band), (QVector<bool>{outside, outside}));
    }

    // A table of blocks against the band 9.6 .. 10.0 unless given.
    void verdict_data()
    {
        QTest::addColumn<QVector<float>>("readings");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<int>("outside");
        QTest::addColumn<double>("percent");
        QTest::addColumn<bool>("conforms");
        QTest::addColumn<double>("cp");
        QTest::addColumn<double>("cpk");
        // Mean 9.85, σ 0.1291: Cp 0.4 / 6σ, Cpk 0.15 / 3σ.
        QTest::newRow("in band") << QVector<float>{9.7f, 9.8f, 9.9f, 10.0f} << 9.6 << 10.0 << 0 << 0.0 << true
                                 << 0.5164 << 0.3873;
        QTest::newRow("out at both ends") << QVector<float>{9.5f, 9.8f, 10.1f} << 9.6 << 10.0 << 2
                                          << 200.0 / 3 << false << 0.2222 << 0.2222;
        // Mean 9.68, σ 0.1697: the reading nearer the lower limit decides Cpk.
        QTest::newRow("9.56 against 9.6")
            << QVector<float>{9.56f, 9.8f} << 9.6 << 10.0 << 1 << 50.0 << false << 0.3928 << 0.1571;
        QTest::newRow("all equal: no spread")
            << QVector<float>{9.8f, 9.8f, 9.8f} << 9.6 << 10.0 << 0 << 0.0 << true << kNoFigure << kNoFigure;
        QTest::newRow("one value") << QVector<float>{9.8f} << 9.6 << 10.0 << 0 << 0.0 << true << kNoFigure
                                   << kNoFigure;
        // Mean 2.33e6, σ 1.53e6: the mean lies far above the band.
        QTest::newRow("huge values") << QVector<float>{1e6f, 2e6f, 4e6f} << 9.6 << 10.0 << 3 << 100.0 << false
                                     << 0.0 << -0.5092;
        QTest::newRow("huge band") << QVector<float>{1e6f, 2e6f} << 0.0 << 1.5e6 << 1 << 50.0 << false
                                   << 0.3536 << 0.0;
        QTest::newRow("not a number") << QVector<float>{9.8f, kNaN, 9.7f} << 9.6 << 10.0 << 1 << 100.0 / 3
                                      << false << kNoFigure << kNoFigure;
        QTest::newRow("lower above upper")
            << QVector<float>{5.0f, 5.5f} << 6.0 << 4.0 << 2 << 100.0 << false << kNoFigure << kNoFigure;
        QTest::newRow("no readings") << QVector<float>{} << 9.6 << 10.0 << 0 << kNoFigure << false
                                     << kNoFigure << kNoFigure;
    }

    void verdict()
    {
        QFETCH(QVector<float>, readings);
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(int, outside);
        QFETCH(double, percent);
        QFETCH(bool, conforms);
        QFETCH(double, cp);
        QFETCH(double, cpk);
        const BandVerdict verdict = bandVerdict(readings, {true, lower, upper});
        QCOMPARE(verdict.readings, readings.size());
        QCOMPARE(verdict.outside, outside);
        QVERIFY2(sameFigure(verdict.outsidePercent, percent),
                 qPrintable(QString::number(verdict.outsidePercent)));
        QCOMPARE(verdict.conforms, conforms);
        QVERIFY2(sameFigure(verdict.cp, cp), qPrintable(QString::number(verdict.cp)));
        QVERIFY2(sameFigure(verdict.cpk, cpk), qPrintable(QString::number(verdict.cpk)));
    }

    void verdictTexts_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("outside");
        QTest::addColumn<int>("readings");
        QTest::addColumn<double>("figure");
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("capability");
        QTest::newRow("russian") << "ru_RU"
                                 << "%1 из %2 (%3 %)" << 2 << 40 << 1.2345 << "2 из 40 (5.0 %)"
                                 << "1.23";
        QTest::newRow("english") << "en_US"
                                 << "%1 of %2 (%3 %)" << 2 << 40 << 1.2367 << "2 of 40 (5.0 %)"
                                 << "1.24";
        QTest::newRow("negative capability") << "ru_RU"
                                             << "%1 из %2 (%3 %)" << 3 << 3 << -0.509 << "3 из 3 (100.0 %)"
                                             << "-0.51";
        // A figure that rounds to zero is no negative number.
        QTest::newRow("negative capability near zero")
            << "ru_RU"
            << "%1 из %2 (%3 %)" << 0 << 3 << -0.004 << "0 из 3 (0.0 %)"
            << "0.00";
        QTest::newRow("a third") << "en_US"
                                 << "%1 of %2 (%3 %)" << 1 << 3 << double(kInf) << "1 of 3 (33.3 %)"
                                 << "\u2014";
        QTest::newRow("long block") << "ru_RU"
                                    << "%1 из %2 (%3 %)" << 1000 << 65535 << kNoFigure
                                    << "1\u00A0000 из 65\u00A0535 (1.5 %)"
                                    << "\u2014";
    }

    void verdictTexts()
    {
        QFETCH(QString, locale);
        QFETCH(QString, pattern);
        QFETCH(int, outside);
        QFETCH(int, readings);
        QFETCH(double, figure);
        QFETCH(QString, count);
        QFETCH(QString, capability);
        BandVerdict verdict;
        verdict.outside = outside;
        verdict.readings = readings;
        verdict.outsidePercent = 100.0 * outside / readings;
        QCOMPARE(outOfBandText(pattern, verdict, QLocale(locale)), count);
        QCOMPARE(capabilityText(figure), capability);
    }

    void noReadingsHaveNoPercentage()
    {
        const BandVerdict verdict = bandVerdict({}, {true, 0.0, 1.0});
        QCOMPARE(outOfBandText(QStringLiteral("%1 из %2 (%3 %)"), verdict, QLocale(QLocale::Russian)),
                 QStringLiteral("0 из 0 (\u2014 %)"));
    }

    // The reading's shortest decimal: what the instrument's number was, not
    // the float widened to double.
    void readingAsNumber_data()
    {
        QTest::addColumn<float>("reading");
        QTest::addColumn<double>("decimal");
        QTest::addColumn<QString>("text");
        QTest::newRow("9.56") << 9.56f << 9.56 << "9.56";
        QTest::newRow("0.7") << 0.7f << 0.7 << "0.7";
        QTest::newRow("negative") << -12.37f << -12.37 << "-12.37";
        QTest::newRow("whole") << 100.0f << 100.0 << "100";
        QTest::newRow("beyond the float's integers") << 16777217.0f << 16777216.0 << "16777216";
        QTest::newRow("largest magnitude") << 3.0e38f << 3.0e38 << "3e+38";
        QTest::newRow("smallest normal")
            << std::numeric_limits<float>::min() << 1.1754944e-38 << "1.1754944e-38";
        QTest::newRow("not a number") << kNaN << double(kNaN) << "";
        QTest::newRow("infinity") << kInf << double(kInf) << "";
    }

    void readingAsNumber()
    {
        QFETCH(float, reading);
        QFETCH(double, decimal);
        QFETCH(QString, text);
        const double actual = readingAsDecimal(reading);
        if (std::isnan(decimal)) {
            QVERIFY(std::isnan(actual));
        } else {
            QCOMPARE(actual, decimal);
            // It reads back as the very reading.
            QCOMPARE(float(actual), reading);
        }
        QCOMPARE(readingDecimalText(reading, QLatin1Char('.')), text);
        QCOMPARE(readingDecimalText(reading, QLatin1Char(',')), QString(text).replace('.', ','));
    }

    void copiedRows_data()
    {
        QTest::addColumn<QVector<int>>("rows");
        QTest::addColumn<QChar>("point");
        QTest::addColumn<QString>("text");
        QTest::newRow("rows in the order given")
            << QVector<int>{0, 2, 3} << QChar('.') << "1\t9.56\n3\t100\n4\t-0.5\n";
        QTest::newRow("decimal comma") << QVector<int>{3, 0} << QChar(',') << "4\t-0,5\n1\t9,56\n";
        QTest::newRow("not a number is an empty cell") << QVector<int>{1} << QChar('.') << "2\t\n";
        QTest::newRow("rows beyond the block are skipped")
            << QVector<int>{-1, 4, 2} << QChar('.') << "3\t100\n";
        QTest::newRow("nothing selected") << QVector<int>{} << QChar('.') << "";
    }

    void copiedRows()
    {
        QFETCH(QVector<int>, rows);
        QFETCH(QChar, point);
        QFETCH(QString, text);
        QCOMPARE(tabSeparatedReadings({9.56f, kNaN, 100.0f, -0.5f}, rows, point), text);
    }
};

QTEST_MAIN(TestBandVerdict)
#include "tst_bandverdict.moc"
