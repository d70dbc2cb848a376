// Capability of a block: σ within and overall, Cp/Cpk/Pp/Ppk with their 95 %
// intervals and ppm outside, against a reference computed here by other means.
#include "values/capability.h"

#include <QtTest>
#include <cmath>
#include <limits>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// Chi-square CDF by the power series of the lower incomplete gamma function,
// summed term by term in long double (no continued fraction, no Newton).
double referenceChiSquareCdf(double x, double k)
{
    const long double a = k / 2.0L;
    const long double h = x / 2.0L;
    long double term = 1.0L / a;
    long double sum = term;
    for (int i = 1; i < 5000; ++i) {
        term *= h / (a + i);
        sum += term;
        if (term < sum * 1e-19L)
            break;
    }
    return double(sum * std::exp(-h + a * std::log(h) - std::lgamma(a)));
}

// Quantile by plain bisection on the series CDF.
double referenceChiSquareQuantile(double p, double k)
{
    double lo = 0.0, hi = k + 20.0 * std::sqrt(2.0 * k) + 20.0;
    for (int i = 0; i < 200; ++i) {
        const double mid = (lo + hi) / 2.0;
        (referenceChiSquareCdf(mid, k) < p ? lo : hi) = mid;
    }
    return (lo + hi) / 2.0;
}

struct Reference {
    int n = 0;
    double mean = kNone, within = kNone, overall = kNone;
    IndexEstimate cp, cpk, pp, ppk;
    double expectedPpm = kNone, observedPpm = kNone;
};

IndexEstimate referenceSpread(double lsl, double usl, double s, int n)
{
    IndexEstimate e;
    if (std::isnan(lsl) || std::isnan(usl) || !(s > 0) || n < 2 || lsl > usl)
        return e;
    e.value = (usl - lsl) / (6 * s);
    e.lower = e.value * std::sqrt(referenceChiSquareQuantile(0.025, n - 1) / (n - 1));
    e.upper = e.value * std::sqrt(referenceChiSquareQuantile(0.975, n - 1) / (n - 1));
    return e;
}

IndexEstimate referenceLocation(double lsl, double usl, double m, double s, int n)
{
    IndexEstimate e;
    if (!(s > 0) || n < 2 || (std::isnan(lsl) && std::isnan(usl)) || lsl > usl)
        return e;
    const double upper = std::isnan(usl) ? HUGE_VAL : (usl - m) / (3 * s);
    const double lower = std::isnan(lsl) ? HUGE_VAL : (m - lsl) / (3 * s);
    e.value = std::min(upper, lower);
    const double half = 1.959964 * std::sqrt(1.0 / (9 * n) + e.value * e.value / (2.0 * (n - 1)));
    e.lower = e.value - half;
    e.upper = e.value + half;
    return e;
}

Reference reference(const QVector<float> &readings, double lsl, double usl)
{
    Reference r;
    std::vector<double> v;
    for (float x : readings)
        if (!std::isnan(x) && !std::isinf(x))
            v.push_back(x);
    r.n = int(v.size());
    if (r.n == 0)
        return r;
    long double sum = 0;
    for (double x : v)
        sum += x;
    r.mean = double(sum / r.n);
    if (r.n >= 2) {
        long double ss = 0, mr = 0;
        for (size_t i = 0; i < v.size(); ++i) {
            ss += (v[i] - r.mean) * (v[i] - r.mean);
            if (i)
                mr += std::fabs(v[i] - v[i - 1]);
        }
        r.overall = double(std::sqrt(ss / (r.n - 1)));
        r.within = double(mr / (r.n - 1) / 1.128);
    }
    if (lsl > usl || (std::isnan(lsl) && std::isnan(usl)))
        return r;
    int out = 0;
    for (double x : v)
        if ((!std::isnan(lsl) && x < lsl) || (!std::isnan(usl) && x > usl))
            ++out;
    r.observedPpm = 1e6 * out / r.n;
    r.cp = referenceSpread(lsl, usl, r.within, r.n);
    r.pp = referenceSpread(lsl, usl, r.overall, r.n);
    r.cpk = referenceLocation(lsl, usl, r.mean, r.within, r.n);
    r.ppk = referenceLocation(lsl, usl, r.mean, r.overall, r.n);
    if (r.overall > 0) {
        double share = 0;
        if (!std::isnan(usl))
            share += 0.5 * std::erfc((usl - r.mean) / r.overall / std::sqrt(2.0));
        if (!std::isnan(lsl))
            share += 0.5 * std::erfc((r.mean - lsl) / r.overall / std::sqrt(2.0));
        r.expectedPpm = 1e6 * share;
    }
    return r;
}

bool near(double actual, double expected, double tolerance = 1e-6)
{
    if (std::isnan(expected))
        return std::isnan(actual);
    return std::abs(actual - expected) <= tolerance * std::max(1.0, std::abs(expected));
}

// A deterministic, roughly normal series with some drift between neighbours.
QVector<float> series(int n, double centre, double spread)
{
    QVector<float> v;
    quint32 state = 12345;
    for (int i = 0; i < n; ++i) {
        double s = 0;
        for (int j = 0; j < 12; ++j) {
            state = state * 1664525u + 1013904223u;
            s += state / 4294967296.0;
        }
        v.append(float(centre + spread * (s - 6.0)));
    }
    return v;
}

} // namespace

class TestCapability : public QObject
{
    Q_OBJECT

private slots:
    // Printed chi-square table values (upper-tail tables, three decimals).
    void chiSquareQuantile_data()
    {
        QTest::addColumn<double>("p");
        QTest::addColumn<double>("dof");
        QTest::addColumn<double>("printed");
        QTest::newRow("1, 0.025") << 0.025 << 1.0 << 0.000982;
        QTest::newRow("1, 0.975") << 0.975 << 1.0 << 5.024;
        QTest::newRow("24, 0.025") << 0.025 << 24.0 << 12.401;
        QTest::newRow("24, 0.975") << 0.975 << 24.0 << 39.364;
        QTest::newRow("99, 0.025") << 0.025 << 99.0 << 73.361;
        QTest::newRow("99, 0.975") << 0.975 << 99.0 << 128.422;
        QTest::newRow("65534, 0.975") << 0.975 << 65534.0 << -1.0;
    }
    void chiSquareQuantile()
    {
        QFETCH(double, p);
        QFETCH(double, dof);
        QFETCH(double, printed);
        const double actual = ::chiSquareQuantile(p, dof);
        if (printed > 0)
            QVERIFY2(std::abs(actual - printed) <= 0.0005 + 5e-4 * printed * (printed < 0.01),
                     qPrintable(QString::number(actual, 'g', 10)));
        const double bisected = referenceChiSquareQuantile(p, dof);
        QVERIFY2(near(actual, bisected, 1e-7),
                 qPrintable(QStringLiteral("%1 vs %2").arg(actual, 0, 'g', 12).arg(bisected, 0, 'g', 12)));
    }

    void capability_data()
    {
        QTest::addColumn<QVector<float>>("readings");
        QTest::addColumn<double>("lsl");
        QTest::addColumn<double>("usl");
        QTest::addColumn<int>("excluded");

        QTest::newRow("n = 1") << QVector<float>{10.0f} << 9.0 << 11.0 << 0;
        QTest::newRow("n = 2") << QVector<float>{10.0f, 10.5f} << 9.0 << 11.0 << 0;
        QTest::newRow("n = 24") << series(24, 20.0, 0.01) << 19.97 << 20.04 << 0;
        QTest::newRow("n = 25") << series(25, 20.0, 0.01) << 19.97 << 20.04 << 0;
        QTest::newRow("n = 200, some outside") << series(200, 5.0, 0.5) << 4.0 << 6.0 << 0;
        QTest::newRow("equal values") << QVector<float>(30, 7.25f) << 7.0 << 7.5 << 0;
        QTest::newRow("NaN and inf excluded")
            << QVector<float>{1.0f, kNaN, 1.2f, kInf, 0.9f, -kInf, 1.1f, 1.05f} << 0.5 << 1.5 << 3;
        QTest::newRow("all NaN") << QVector<float>{kNaN, kNaN} << 0.0 << 1.0 << 2;
        QTest::newRow("upper limit only") << series(50, 3.0, 0.1) << kNone << 3.5 << 0;
        QTest::newRow("lower limit only") << series(50, 3.0, 0.1) << 2.8 << kNone << 0;
        QTest::newRow("no limits") << series(50, 3.0, 0.1) << kNone << kNone << 0;
        QTest::newRow("inverted limits") << series(50, 3.0, 0.1) << 3.5 << 2.5 << 0;
        QTest::newRow("mean outside the band") << series(40, 10.0, 0.2) << 10.5 << 11.0 << 0;
    }
    void capability()
    {
        QFETCH(QVector<float>, readings);
        QFETCH(double, lsl);
        QFETCH(double, usl);
        QFETCH(int, excluded);

        const ProcessCapability c = processCapability(readings, SpecLimits{lsl, usl});
        const Reference r = reference(readings, lsl, usl);
        QCOMPARE(c.n, r.n);
        QCOMPARE(c.excluded, excluded);
        QCOMPARE(c.smallSample, r.n < 25);
        QVERIFY(near(c.mean, r.mean, 1e-9));
        QVERIFY(near(c.sigmaWithin, r.within, 1e-9));
        QVERIFY(near(c.sigmaOverall, r.overall, 1e-9));
        const auto same = [](const IndexEstimate &a, const IndexEstimate &b) {
            return near(a.value, b.value, 1e-7) && near(a.lower, b.lower, 1e-6)
                && near(a.upper, b.upper, 1e-6);
        };
        QVERIFY(same(c.cp, r.cp));
        QVERIFY(same(c.cpk, r.cpk));
        QVERIFY(same(c.pp, r.pp));
        QVERIFY(same(c.ppk, r.ppk));
        QVERIFY2(near(c.expectedPpmOutside, r.expectedPpm, 1e-6),
                 qPrintable(QString::number(c.expectedPpmOutside)));
        QVERIFY(near(c.observedPpmOutside, r.observedPpm, 1e-9));
    }

    // σ = 0 and n < 2 leave every index undefined; one-sided limits leave Cp and Pp so.
    void undefinedFigures()
    {
        const ProcessCapability equal = processCapability(QVector<float>(30, 7.25f), {7.0, 7.5});
        QCOMPARE(equal.sigmaOverall, 0.0);
        QVERIFY(std::isnan(equal.cp.value) && std::isnan(equal.cpk.value));
        QVERIFY(std::isnan(equal.pp.value) && std::isnan(equal.ppk.lower));
        QVERIFY(std::isnan(equal.expectedPpmOutside));
        QCOMPARE(equal.observedPpmOutside, 0.0);

        const ProcessCapability one = processCapability({10.0f}, {9.0, 11.0});
        QCOMPARE(one.mean, 10.0);
        QVERIFY(std::isnan(one.sigmaWithin) && std::isnan(one.sigmaOverall));
        QVERIFY(std::isnan(one.cpk.value));

        const ProcessCapability upper = processCapability(series(50, 3.0, 0.1), {kNone, 3.5});
        QVERIFY(std::isnan(upper.cp.value) && std::isnan(upper.pp.value));
        QVERIFY(upper.cpk.value > 0 && upper.cpk.lower < upper.cpk.value);
    }

    // A worked example by hand: readings 1, 2, 3, 4, 5 in the band 0…6.
    void handExample()
    {
        const ProcessCapability c = processCapability({1, 2, 3, 4, 5}, {0.0, 6.0});
        QCOMPARE(c.mean, 3.0);
        QVERIFY(near(c.sigmaOverall, std::sqrt(2.5)));
        QVERIFY(near(c.sigmaWithin, 1.0 / 1.128));
        QVERIFY(near(c.cp.value, 1.128));
        QVERIFY(near(c.pp.value, 1.0 / std::sqrt(2.5)));
        QVERIFY(near(c.cpk.value, 1.128));
        // Cp lower = Cp * sqrt(0.484419 / 4), chi-square 0.025 with 4 degrees of freedom
        QVERIFY(near(c.cp.lower, 1.128 * std::sqrt(0.484419 / 4), 1e-5));
        QVERIFY(near(c.cp.upper, 1.128 * std::sqrt(11.1433 / 4), 1e-5));
    }
};

QTEST_APPLESS_MAIN(TestCapability)
#include "tst_capability.moc"
