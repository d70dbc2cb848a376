// The trend's sums: which subgroups are kept, what is counted out, and which
// means break a rule when each mean has the σ of its own subgroup size.

#include "values/trendanalysis.h"

#include <QtTest>
#include <cmath>
#include <limits>

namespace {

constexpr double kSigma = 0.01;
constexpr double kD2For4 = 2.059; // ISO 7870-2, as printed

// n readings spread evenly over `range` about `mean`.
QVector<float> spread(double mean, double range, int n)
{
    QVector<float> values;
    for (int j = 0; j < n; ++j)
        values << float(mean + range * (j / double(n - 1) - 0.5));
    return values;
}

// 20 subgroups of 4 whose ranges give σ = kSigma, their means alternating
// a little about 10.
QVector<QVector<float>> baseline()
{
    QVector<QVector<float>> groups;
    for (int i = 0; i < 20; ++i)
        groups << spread(10.0 + (i % 2 ? 0.1 : -0.1) * kSigma, kD2For4 * kSigma, 4);
    return groups;
}

} // namespace

class TrendAnalysisTest : public QObject
{
    Q_OBJECT

private slots:
    void keptAndCounted_data()
    {
        QTest::addColumn<QVector<QVector<float>>>("subgroups");
        QTest::addColumn<int>("frozenCount");
        QTest::addColumn<QVector<int>>("source");
        QTest::addColumn<int>("leftOut");
        QTest::addColumn<int>("nonFinite");
        QTest::addColumn<int>("frozen");
        const float nan = std::numeric_limits<float>::quiet_NaN();
        const float inf = std::numeric_limits<float>::infinity();
        QTest::newRow("sizes 1 and 26 left out")
            << QVector<QVector<float>>{{1.0f}, {1.0f, 2.0f}, QVector<float>(26, 3.0f), {2.0f, 4.0f, 3.0f}}
            << 20 << QVector<int>{1, 3} << 2 << 0 << 2;
        QTest::newRow("NaN and infinities dropped, their subgroup kept")
            << QVector<QVector<float>>{{1.0f, nan, 2.0f, inf, 3.0f}, {-inf, 2.0f, 2.5f}} << 20
            << QVector<int>{0, 1} << 0 << 3 << 2;
        QTest::newRow("a subgroup left with one finite reading")
            << QVector<QVector<float>>{{nan, 1.0f}, {1.0f, 2.0f}, {2.0f, 2.0f}} << 1 << QVector<int>{1, 2}
            << 1 << 1 << 1;
        QTest::newRow("none of 2 to 25")
            << QVector<QVector<float>>{{}, {nan, nan}, {5.0f}} << 20 << QVector<int>{} << 3 << 2 << 0;
    }
    void keptAndCounted()
    {
        QFETCH(QVector<QVector<float>>, subgroups);
        QFETCH(int, frozenCount);
        const TrendAnalysis t = trendAnalysis(subgroups, frozenCount);
        QTEST(t.source, "source");
        QTEST(t.leftOut, "leftOut");
        QTEST(t.nonFinite, "nonFinite");
        QTEST(t.chart.frozen, "frozen");
        QCOMPARE(t.chart.points.size(), t.source.size());
        for (const SubgroupPoint &p : t.chart.points)
            QVERIFY(std::isfinite(p.mean) && std::isfinite(p.meanUpper) && std::isfinite(p.spreadUpper));
    }

    // Equal readings: σ = 0, limits on the mean, no rule judged, nothing divided by zero.
    void equalReadings()
    {
        QVector<QVector<float>> groups(25, QVector<float>(5, 7.5f));
        groups[22] = QVector<float>(5, 9.0f);
        const TrendAnalysis t = trendAnalysis(groups, 20);
        QCOMPARE(t.chart.sigma, 0.0);
        QCOMPARE(t.chart.points.size(), 25);
        QCOMPARE(t.chart.points[22].meanUpper, 7.5);
        for (const QVector<int> &rule : t.meanBreaks.points)
            QVERIFY(rule.isEmpty());
        QVERIFY(t.spreadBreaks.isEmpty());
    }

    // One shift of 1.5 σ: beyond 3 σ/√9 for a mean of 9 readings, within
    // 3 σ/√2 for a mean of 2; spreads as expected for their sizes.
    void meansJudgedByTheirOwnSize()
    {
        QVector<QVector<float>> groups = baseline();
        const double shifted = 10.0 + 1.5 * kSigma;
        groups << spread(shifted, 2.970 * kSigma, 9);               // 20
        groups << spread(10.0, kD2For4 * kSigma, 4);                // 21
        groups << spread(10.0 - 0.1 * kSigma, kD2For4 * kSigma, 4); // 22
        groups << spread(shifted, 1.128 * kSigma, 2);               // 23
        const TrendAnalysis t = trendAnalysis(groups, 20);
        QVERIFY(t.chart.usesRange);
        QVERIFY(std::abs(t.chart.sigma - kSigma) < 1e-3 * kSigma);
        QCOMPARE(t.meanBreaks.points[0], QVector<int>{20});
        for (int rule = 1; rule < kRuleCount; ++rule)
            QVERIFY2(t.meanBreaks.points[rule].isEmpty(), qPrintable(QString::number(rule + 1)));
        QVERIFY(t.spreadBreaks.isEmpty());

        // Rules switched off are not judged.
        QVERIFY(trendAnalysis(groups, 20, 0x1e).meanBreaks.points[0].isEmpty());
    }

    // A range beyond its own size's upper limit, judged by rule 1 only.
    void spreadBeyondItsLimit()
    {
        QVector<QVector<float>> groups = baseline();
        groups << spread(10.0, 5.0 * kSigma, 4);
        groups << spread(10.0, 5.0 * kSigma, 9); // within D4 · d2 · σ for 9 readings
        const TrendAnalysis t = trendAnalysis(groups, 20);
        QCOMPARE(t.spreadBreaks, QVector<int>{20});
        QVERIFY(trendAnalysis(groups, 20, 0x1e).spreadBreaks.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TrendAnalysisTest)
#include "tst_trendanalysis.moc"
