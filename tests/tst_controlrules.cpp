// I-MR limits and the five run rules on synthetic series made to break
// exactly one rule at known points.
#include "values/controlrules.h"

#include <QtTest>
#include <cmath>

using Indices = QVector<int>;

namespace {

constexpr int kLength = 60;

// Alternating ±0.5 σ around 0 breaks none of the rules.
QVector<double> quietSeries()
{
    QVector<double> v(kLength);
    for (int i = 0; i < kLength; ++i)
        v[i] = i % 2 == 0 ? 0.5 : -0.5;
    return v;
}

} // namespace

class TestControlRules : public QObject
{
    Q_OBJECT

private slots:
    void rules_data()
    {
        QTest::addColumn<QVector<double>>("values");
        QTest::addColumn<int>("rule");
        QTest::addColumn<Indices>("expected");

        QTest::newRow("none") << quietSeries() << 0 << Indices{};
        QVector<double> v = quietSeries();
        v[10] = 3.5;
        QTest::newRow("1: beyond 3σ") << v << 1 << Indices{10};
        v = quietSeries();
        v[10] = -3.2;
        QTest::newRow("1: beyond 3σ below") << v << 1 << Indices{10};
        v = quietSeries();
        v[41] = 2.5;
        v[43] = 2.5;
        QTest::newRow("2: 2 of 3 beyond 2σ") << v << 2 << Indices{41, 43};
        v = quietSeries();
        for (int i = 20; i <= 23; ++i)
            v[i] = 1.5;
        QTest::newRow("3: 4 of 5 beyond 1σ") << v << 3 << Indices{20, 21, 22, 23};
        v = quietSeries();
        for (int i = 30; i <= 37; ++i)
            v[i] = 0.5;
        v[38] = -0.5;
        QTest::newRow("4: 8 on one side") << v << 4 << Indices{30, 31, 32, 33, 34, 35, 36, 37};
        v = quietSeries();
        const double rising[] = {-0.5, -0.3, -0.1, 0.1, 0.3, 0.5};
        for (int i = 0; i < 6; ++i)
            v[50 + i] = rising[i];
        QTest::newRow("5: 6 rising") << v << 5 << Indices{50, 51, 52, 53, 54, 55};
        v = quietSeries();
        for (int i = 0; i < 6; ++i)
            v[1 + i] = -rising[i];
        QTest::newRow("5: 6 falling") << v << 5 << Indices{1, 2, 3, 4, 5, 6};
    }
    void rules()
    {
        QFETCH(QVector<double>, values);
        QFETCH(int, rule);
        QFETCH(Indices, expected);
        const RuleBreaks breaks = ruleBreaks(values, 0.0, 1.0);
        for (int r = 1; r <= kRuleCount; ++r)
            QCOMPARE(breaks.points[r - 1], r == rule ? expected : Indices{});
        // A rule switched off reports nothing.
        if (rule > 0)
            QVERIFY(ruleBreaks(values, 0.0, 1.0, 0x1fu & ~(1u << (rule - 1))).points[rule - 1].isEmpty());
    }

    void limits_data()
    {
        QTest::addColumn<QVector<double>>("values");
        QTest::newRow("quiet") << quietSeries();
        QTest::newRow("ramp") << QVector<double>{1, 4, 2, 8, 5, 7};
        QTest::newRow("two") << QVector<double>{10.0, 10.5};
        QTest::newRow("equal") << QVector<double>(10, 3.0);
    }
    void limits()
    {
        QFETCH(QVector<double>, values);
        const ImrLimits l = imrLimits(values);
        // Reference: mean and average moving range summed in another order.
        double mean = 0, mr = 0;
        for (int i = values.size() - 1; i >= 0; --i) {
            mean += values[i] / values.size();
            if (i > 0)
                mr += std::fabs(values[i - 1] - values[i]) / (values.size() - 1);
        }
        QVERIFY(std::abs(l.centre - mean) < 1e-12);
        QVERIFY(std::abs(l.upper - (mean + 2.660 * mr)) < 1e-12);
        QVERIFY(std::abs(l.lower - (mean - 2.660 * mr)) < 1e-12);
        QVERIFY(std::abs(l.rangeCentre - mr) < 1e-12);
        QVERIFY(std::abs(l.rangeUpper - 3.267 * mr) < 1e-12);
        QCOMPARE(l.rangeLower, 0.0);
        QVERIFY(std::abs(l.sigma - mr / 1.128) < 1e-12);
    }

    // One reading has no moving range; σ = 0 judges nothing.
    void degenerate()
    {
        const ImrLimits one = imrLimits({4.0});
        QCOMPARE(one.centre, 4.0);
        QVERIFY(std::isnan(one.upper) && std::isnan(one.sigma));
        QVERIFY(std::isnan(imrLimits({}).centre));
        const RuleBreaks none = ruleBreaks(QVector<double>(20, 3.0), 3.0, 0.0);
        for (const Indices &points : none.points)
            QVERIFY(points.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestControlRules)
#include "tst_controlrules.moc"
