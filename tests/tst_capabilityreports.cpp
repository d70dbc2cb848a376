// Capability and tolerance kinds in both reports: blocks and bands written by
// the real writers, read back by pdftotext and openpyxl, the indices and their
// intervals checked against a reference worked out here.
#include "pdfreader.h"
#include "report/excelreport.h"
#include "report/pdfreport.h"
#include "report/reportassembly.h"
#include "values/blockstatistics.h"
#include "xlsxreader.h"

#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>

namespace {

const QString kDash(QChar(0x2014));
constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Printed at two decimals; the reference's quantiles carry four or five digits.
constexpr double kPrintedTolerance = 0.0101;

// Chi-square percentage points for the degrees of freedom the table uses, from
// a printed table of the distribution (Abramowitz & Stegun, table 26.8):
// degrees, then the quantile at 0.025 and at 0.975.
struct ChiSquarePoints
{
    int degrees;
    double lower;
    double upper;
};
const ChiSquarePoints kChiSquare[] = {
    {1, 0.000982, 5.024}, {23, 11.689, 38.076}, {24, 12.401, 39.364}, {29, 16.047, 45.722}};

ChiSquarePoints chiSquare(int degrees)
{
    for (const ChiSquarePoints &points : kChiSquare)
        if (points.degrees == degrees)
            return points;
    return {degrees, qQNaN(), qQNaN()};
}

struct Index
{
    double value = qQNaN();
    double lower = qQNaN();
    double upper = qQNaN();
};

// The reference: σ within from the average moving range / 1.128, σ overall
// with n - 1; Cp/Pp with the chi-square interval, Cpk/Ppk with Bissell's.
struct Reference
{
    Index cp, cpk, pp, ppk;
};

Index spread(double width, double sigma, int n)
{
    if (n < 2 || !(sigma > 0) || !std::isfinite(width))
        return {};
    const double value = width / (6 * sigma);
    const ChiSquarePoints points = chiSquare(n - 1);
    return {value, value * std::sqrt(points.lower / (n - 1)), value * std::sqrt(points.upper / (n - 1))};
}

Index location(double mean, double sigma, int n, double lower, double upper)
{
    if (n < 2 || !(sigma > 0))
        return {};
    const double value = std::min((upper - mean) / (3 * sigma), (mean - lower) / (3 * sigma));
    const double half = 1.959964 * std::sqrt(1.0 / (9 * n) + value * value / (2.0 * (n - 1)));
    return {value, value - half, value + half};
}

Reference reference(const QVector<float> &values, double lower, double upper)
{
    const int n = values.size();
    double sum = 0;
    for (const float v : values)
        sum += v;
    const double mean = sum / n;
    double squares = 0;
    double ranges = 0;
    for (int i = 0; i < n; ++i) {
        squares += (values[i] - mean) * (values[i] - mean);
        if (i > 0)
            ranges += std::abs(double(values[i]) - double(values[i - 1]));
    }
    const double overall = n > 1 ? std::sqrt(squares / (n - 1)) : qQNaN();
    const double within = n > 1 ? ranges / (n - 1) / 1.128 : qQNaN();
    const double width = upper - lower;
    return {spread(width, within, n), location(mean, within, n, lower, upper), spread(width, overall, n),
            location(mean, overall, n, lower, upper)};
}

// A block of readings around 10 with a spread of about 0.1, the same for every run.
QVector<float> readings(int n)
{
    QVector<float> values;
    for (int i = 0; i < n; ++i)
        values.append(float(10.0 + 0.02 * ((i * 7) % 11 - 5) + 0.01 * ((i * 3) % 5)));
    return values;
}

// The numbers in a printed "0.89" or "[0.82; 0.96]"; empty for "—".
QVector<double> numbers(const QString &text)
{
    QVector<double> found;
    static const QRegularExpression number(QStringLiteral("-?\\d+\\.\\d+"));
    auto it = number.globalMatch(text);
    while (it.hasNext())
        found.append(it.next().captured(0).toDouble());
    return found;
}

} // namespace

class TestCapabilityReports : public QObject
{
    Q_OBJECT

    // The text beside each label in the report's verdict rows; missing labels absent.
    static QHash<QString, QString> pdfRows(const QString &path, const QStringList &labels)
    {
        const QString text = pdfText(path);
        QHash<QString, QString> rows;
        for (const QString &label : labels) {
            const QRegularExpression row(QStringLiteral("^\\s*") + QRegularExpression::escape(label)
                                             + QStringLiteral("\\s{2,}(\\S.*?)\\s*$"),
                                         QRegularExpression::MultilineOption);
            const QRegularExpressionMatch match = row.match(text);
            if (match.hasMatch())
                rows.insert(label, match.captured(1));
        }
        rows.insert(QStringLiteral("#all"), text);
        return rows;
    }

    static QHash<QString, QString> workbookRows(const QString &path, const QStringList &labels)
    {
        const QJsonObject book = readWorkbook(path);
        const QJsonObject cells = cellValues(book);
        QHash<QString, QString> rows;
        static const QRegularExpression rowDigits(QStringLiteral("\\d+$"));
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            const QString label = it.value().toString();
            if (!labels.contains(label))
                continue;
            const QString row = rowDigits.match(it.key()).captured(0);
            for (auto other = cells.begin(); other != cells.end(); ++other)
                if (other.key() != it.key() && rowDigits.match(other.key()).captured(0) == row)
                    rows.insert(label, other.value().toVariant().toString());
        }
        rows.insert(QStringLiteral("#all"), workbookText(book));
        QStringList footers;
        for (const QJsonValue &sheet : book.value("printing").toArray())
            footers.append(sheet["footer"]["left"].toString());
        rows.insert(QStringLiteral("#footers"), footers.join(QLatin1Char('\n')));
        return rows;
    }

    static void compareIndex(const QHash<QString, QString> &rows, const QString &name, const Index &expected)
    {
        const QString value = rows.value(name);
        const QString interval = rows.value(name + QStringLiteral(", 95 % интервал"));
        if (!std::isfinite(expected.value)) {
            QCOMPARE(value, kDash);
            QCOMPARE(interval, kDash);
            return;
        }
        const QVector<double> shown = numbers(value);
        QCOMPARE(shown.size(), 1);
        QVERIFY2(std::abs(shown[0] - expected.value) < kPrintedTolerance,
                 qPrintable(name + ": " + value + " against " + QString::number(expected.value)));
        const QVector<double> ends = numbers(interval);
        QCOMPARE(ends.size(), 2);
        QVERIFY2(std::abs(ends[0] - expected.lower) < kPrintedTolerance
                     && std::abs(ends[1] - expected.upper) < kPrintedTolerance,
                 qPrintable(name + ": " + interval + " against " + QString::number(expected.lower) + " "
                            + QString::number(expected.upper)));
    }

private slots:
    void verdictRows_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("on");
        QTest::addColumn<double>("lower");
        QTest::addColumn<double>("upper");
        QTest::addColumn<int>("kind"); // ToleranceKind
        QTest::addColumn<QString>("note");
        const QString inverted = QStringLiteral("Допуск задан неверно: Min больше Max");
        const QString allOut = QStringLiteral("все значения вне допуска — проверьте допуск");
        const int two = int(ToleranceKind::TwoSided);
        const int lowerOnly = int(ToleranceKind::LowerOnly);
        const int upperOnly = int(ToleranceKind::UpperOnly);
        for (const bool pdf : {true, false}) {
            const QByteArray format = pdf ? "pdf, " : "xlsx, ";
            const auto row = [&format](const char *name) -> QTestData & {
                return QTest::newRow((format + name).constData());
            };
            row("both sides, n = 30") << pdf << 30 << true << 9.8 << 10.2 << two << "";
            row("lower only") << pdf << 30 << true << 9.95 << 10.0 << lowerOnly << "";
            row("upper only") << pdf << 30 << true << 0.0 << 10.05 << upperOnly << "";
            row("inverted") << pdf << 30 << true << 10.2 << 9.8 << two << inverted;
            row("off") << pdf << 30 << false << 9.8 << 10.2 << two << "";
            row("far from the data") << pdf << 30 << true << 100.0 << 101.0 << two << allOut;
            row("n = 1") << pdf << 1 << true << 9.8 << 10.2 << two << "";
            row("n = 2") << pdf << 2 << true << 9.8 << 10.2 << two << "";
            row("n = 24") << pdf << 24 << true << 9.8 << 10.2 << two << "";
            row("n = 25") << pdf << 25 << true << 9.8 << 10.2 << two << "";
        }
    }

    void verdictRows()
    {
        QFETCH(bool, pdf);
        QFETCH(int, n);
        QFETCH(bool, on);
        QFETCH(double, lower);
        QFETCH(double, upper);
        QFETCH(int, kind);
        QFETCH(QString, note);
        const QVector<float> values = readings(n);
        ReportSource source;
        source.hasBlock = true;
        source.block = MemoryBlock{QStringLiteral("Покрытие 0007"), values};
        source.content.values = values;
        source.statistics = computeStatistics(values);
        source.band = {on, lower, upper, ToleranceKind(kind)};
        source.captions = defaultReportCaptions();
        source.reportDate = QDate(2024, 2, 1);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(pdf ? "report.pdf" : "report.xlsx");
        if (pdf)
            QVERIFY(writePdfReportFile(path, pdfReportData(source, false)));
        else
            QVERIFY(writeExcelReportFile(path, excelReportData(source, false)).saved);

        const QStringList labels = {"Вне допуска",
                                    "Заключение",
                                    "Cp",
                                    "Cpk",
                                    "Pp",
                                    "Ppk",
                                    "Объём выборки, n",
                                    "Cp, 95 % интервал",
                                    "Cpk, 95 % интервал",
                                    "Pp, 95 % интервал",
                                    "Ppk, 95 % интервал",
                                    "Примечание"};
        const QHash<QString, QString> rows = pdf ? pdfRows(path, labels) : workbookRows(path, labels);
        const QString all = rows.value(QStringLiteral("#all"));
        // Each printed page of the workbook's sheets closes with the verdict,
        // Cpk and Ppk as the verdict rows give them.
        if (!pdf) {
            const QString footer =
                on ? QStringLiteral("Заключение: %1 · Cpk %2 · Ppk %3")
                         .arg(rows.value("Заключение"), rows.value("Cpk"), rows.value("Ppk"))
                   : QString();
            for (const QString &sheetFooter : rows.value(QStringLiteral("#footers")).split(QLatin1Char('\n')))
                QCOMPARE(sheetFooter, footer);
        }
        if (!on) {
            QVERIFY2(all.contains(QStringLiteral("Допуск не задан — заключение не выносится")),
                     qPrintable(all));
            for (const QString &label : labels)
                QVERIFY2(!rows.contains(label), qPrintable(label));
            return;
        }

        // The limits that apply, as the test reads the kind.
        const double activeLow = kind == int(ToleranceKind::UpperOnly) ? -kInfinity : lower;
        const double activeHigh = kind == int(ToleranceKind::LowerOnly) ? kInfinity : upper;
        int outside = 0;
        for (const float v : values)
            outside += (v < float(activeLow) || v > float(activeHigh)) ? 1 : 0;
        QCOMPARE(rows.value("Вне допуска"), QStringLiteral("%1 из %2 (%3 %)")
                                                .arg(outside)
                                                .arg(n)
                                                .arg(QString::number(100.0 * outside / n, 'f', 1)));
        QCOMPARE(rows.value("Заключение"),
                 outside == 0 ? QStringLiteral("Соответствует") : QStringLiteral("Не соответствует"));
        QCOMPARE(rows.value("Объём выборки, n"),
                 n < 25 ? QStringLiteral("%1 — малая выборка (n < 25)").arg(n) : QString::number(n));
        QCOMPARE(rows.value("Примечание"), note);
        if (kind == int(ToleranceKind::LowerOnly))
            QVERIFY2(all.contains(QStringLiteral("Допуск: [%1; +∞]").arg(lower)), qPrintable(all));
        if (kind == int(ToleranceKind::UpperOnly))
            QVERIFY2(all.contains(QStringLiteral("Допуск: [-∞; %1]").arg(upper)), qPrintable(all));

        if (activeLow > activeHigh) {
            for (const char *name : {"Cp", "Cpk", "Pp", "Ppk"})
                compareIndex(rows, name, Index{});
            return;
        }
        const Reference expected = reference(values, activeLow, activeHigh);
        compareIndex(rows, "Cp", expected.cp);
        compareIndex(rows, "Cpk", expected.cpk);
        compareIndex(rows, "Pp", expected.pp);
        compareIndex(rows, "Ppk", expected.ppk);
        // One-sided: no spread index at all; two-sided from n = 2 on.
        QCOMPARE(std::isfinite(expected.cp.value), kind == int(ToleranceKind::TwoSided) && n >= 2);
        QCOMPARE(std::isfinite(expected.cpk.value), n >= 2);
    }
};

QTEST_MAIN(TestCapabilityReports)
#include "tst_capabilityreports.moc"
