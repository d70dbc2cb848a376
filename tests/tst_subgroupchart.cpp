// X̄-R and X̄-S charts: frozen limits against A2·R̄, D3/D4·R̄, A3·S̄, B3/B4·S̄
// worked here from the printed constants; later subgroups do not move them.
#include "values/subgroupchart.h"

#include <QtTest>
#include <cmath>

namespace {

QVector<QVector<double>> groups(int count, int size)
{
    QVector<QVector<double>> g;
    quint32 state = 7;
    for (int i = 0; i < count; ++i) {
        QVector<double> one;
        for (int j = 0; j < size; ++j) {
            state = state * 1664525u + 1013904223u;
            one.append(10.0 + (state >> 8) / double(1 << 24));
        }
        g.append(one);
    }
    return g;
}

} // namespace

class TestSubgroupChart : public QObject
{
    Q_OBJECT

private slots:
    void frozenLimits_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<double>("a");     // A2 or A3
        QTest::addColumn<double>("lower"); // D3 or B3
        QTest::addColumn<double>("upper"); // D4 or B4
        QTest::newRow("R, 5") << 5 << 0.577 << 0.0 << 2.114;
        QTest::newRow("R, 10") << 10 << 0.308 << 0.223 << 1.777;
        QTest::newRow("S, 12") << 12 << 0.886 << 0.354 << 1.646;
        QTest::newRow("S, 25") << 25 << 0.606 << 0.565 << 1.435;
    }
    void frozenLimits()
    {
        QFETCH(int, size);
        QFETCH(double, a);
        QFETCH(double, lower);
        QFETCH(double, upper);
        constexpr int kFrozen = 20;
        QVector<QVector<double>> g = groups(30, size);
        for (double &v : g[25])
            v += 50.0; // a later shift must not move the limits
        const SubgroupChart chart = subgroupChart(g, kFrozen);
        QCOMPARE(chart.usesRange, size <= 10);
        QCOMPARE(chart.frozen, kFrozen);
        double xbar = 0, spread = 0;
        for (int i = 0; i < kFrozen; ++i) {
            double s = 0, lo = 1e9, hi = -1e9;
            for (double v : g[i]) {
                s += v;
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
            const double m = s / size;
            double ss = 0;
            for (double v : g[i])
                ss += (v - m) * (v - m);
            xbar += m / kFrozen;
            spread += (chart.usesRange ? hi - lo : std::sqrt(ss / (size - 1))) / kFrozen;
        }
        // printed constants carry three decimals: compare to that precision
        const double tolerance = 0.002 * spread;
        const SubgroupPoint &p = chart.points[27];
        QVERIFY(std::abs(chart.grandMean - xbar) < 1e-9);
        QVERIFY(std::abs(p.meanUpper - (xbar + a * spread)) < tolerance);
        QVERIFY(std::abs(p.meanLower - (xbar - a * spread)) < tolerance);
        QVERIFY(std::abs(p.spreadCentre - spread) < tolerance);
        QVERIFY(std::abs(p.spreadUpper - upper * spread) < tolerance);
        QVERIFY(std::abs(p.spreadLower - lower * spread) < tolerance);
        QVERIFY(chart.points[25].mean > p.meanUpper);
    }

    // Unequal sizes: each subgroup's mean limits narrow with √n.
    void unequalSizes()
    {
        QVector<QVector<double>> g = groups(10, 4);
        g.append(groups(1, 9).first());
        g.append(QVector<double>{1.0}); // one reading: no figures, no part in the limits
        const SubgroupChart chart = subgroupChart(g, 20);
        QCOMPARE(chart.frozen, 11);
        const double half4 = chart.points[0].meanUpper - chart.grandMean;
        const double half9 = chart.points[10].meanUpper - chart.grandMean;
        QVERIFY(std::abs(half4 / half9 - 3.0 / 2.0) < 1e-9);
        QVERIFY(std::isnan(chart.points[11].mean));
    }
};

QTEST_APPLESS_MAIN(TestSubgroupChart)
#include "tst_subgroupchart.moc"
