// Histogram bins: the Freedman–Diaconis count, the cap, every reading counted once.
#include "values/histogrambins.h"

#include <QtTest>
#include <algorithm>
#include <cmath>
#include <limits>

class TestHistogramBins : public QObject
{
    Q_OBJECT

private slots:
    void bins_data()
    {
        QTest::addColumn<QVector<float>>("readings");
        QTest::addColumn<int>("bins");
        QTest::addColumn<int>("counted");

        // 1…8: quartiles 2.75 and 6.25, IQR 3.5, width 7 / 2 = 3.5, span 7 → 2 bins
        QTest::newRow("one to eight") << QVector<float>{1, 2, 3, 4, 5, 6, 7, 8} << 2 << 8;
        QVector<float> uniform;
        for (int i = 0; i < 1000; ++i)
            uniform.append(float(i));
        // IQR 499.5, width 999 / 10 = 99.9, span 999 → 10 bins
        QTest::newRow("uniform 1000") << uniform << 10 << 1000;
        QVector<float> wide = uniform;
        wide.append(1e7f);
        QTest::newRow("far outlier: capped") << wide << 100 << 1001;
        QTest::newRow("equal values") << QVector<float>(20, 3.5f) << 1 << 20;
        QTest::newRow("one reading") << QVector<float>{2.0f} << 1 << 1;
        constexpr float nan = std::numeric_limits<float>::quiet_NaN();
        QTest::newRow("NaN left out") << QVector<float>{nan, 1, 2, 3, 4, 5, 6, 7, 8} << 2 << 8;
        QTest::newRow("none") << QVector<float>{nan} << 0 << 0;
    }
    void bins()
    {
        QFETCH(QVector<float>, readings);
        QFETCH(int, bins);
        QFETCH(int, counted);
        const HistogramBins h = histogramBins(readings);
        QCOMPARE(h.counts.size(), bins);
        int sum = 0;
        for (int c : h.counts)
            sum += c;
        QCOMPARE(sum, counted);
        if (bins > 1) {
            const auto finite = std::max_element(readings.begin(), readings.end(),
                [](float a, float b) { return std::isnan(b) ? false : (std::isnan(a) || a < b); });
            QVERIFY(std::abs(h.start + bins * h.width - *finite) < 1e-6 * std::max(1.0f, *finite));
        }
    }
};

QTEST_APPLESS_MAIN(TestHistogramBins)
#include "tst_histogrambins.moc"
