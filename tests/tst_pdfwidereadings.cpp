// Long blocks with wide readings (too wide for one line of their column),
// printed the quick way: the document lays out the pages around a wide
// reading and the pages after it are copies again. Read back with poppler.
#include "pdfreader.h"
#include "report/pdfreport.h"
#include "report/reportdata.h"
#include "report/reporttexts.h"
#include "reporttestdata.h"
#include "toolrun.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QRegularExpression kValueRow(QStringLiteral("^\\s*(\\d+)\\s+(\\S+)\\s+(\\S+)\\s*$"));
const QRegularExpression kColumnHeader(QStringLiteral("^\\s*Номер\\s+0001\\s"));

// Lines of three words starting with a row number: the value rows.
QVector<QStringList> valueRows(const QString &text)
{
    QVector<QStringList> rows;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = kValueRow.match(line);
        if (match.hasMatch())
            rows.append({match.captured(1), match.captured(2), match.captured(3)});
    }
    return rows;
}

ReportData distinctValues(int count)
{
    ReportData data = sampleReportData(count);
    for (int i = 0; i < count; ++i)
        data.content.values[i] = float(10.0 + i * 0.001);
    return data;
}

} // namespace

class TestPdfWideReadings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        // Rows of the first page and of each full page after it, without wide readings.
        QTemporaryDir dir;
        const QString path = dir.filePath("probe.pdf");
        QVERIFY(writePdfReportFile(path, sampleReportData(300)));
        m_firstPageRows = valueRows(pdfText(path, 1)).size();
        m_fullPageRows = valueRows(pdfText(path, 2)).size();
        QVERIFY(m_firstPageRows > 0 && m_fullPageRows > m_firstPageRows);
    }

    // The pages look exactly as when the document lays out every row.
    void samePagesAsTheWholeDocument_data()
    {
        QTest::addColumn<QVector<int>>("wide"); // readings of 3e38 and -3e38, by row number
        QTest::addColumn<bool>("lastOnAPage");  // the first of them moved to the last row of page 6
        QTest::newRow("on the first page") << QVector<int>{5} << false;
        QTest::newRow("on the second page") << QVector<int>{60} << false;
        QTest::newRow("last row of a page, wrapped onto the next") << QVector<int>{0} << true;
        QTest::newRow("two far apart") << QVector<int>{700, 2000} << false;
    }

    void samePagesAsTheWholeDocument()
    {
        QFETCH(QVector<int>, wide);
        QFETCH(bool, lastOnAPage);
        constexpr int kValues = 2500;
        constexpr int kDpi = 40;
        if (lastOnAPage)
            wide[0] = m_firstPageRows + 5 * m_fullPageRows;
        ReportData data = sampleReportData(kValues);
        for (int row : wide)
            data.content.values[row - 1] = row % 2 ? 3.0e38f : -3.0e38f;
        QTemporaryDir dir;
        const QString plain = dir.filePath("plain.pdf");
        const QString quick = dir.filePath("quick.pdf");
        QVERIFY(writePdfReportFile(plain, data, false));
        QVERIFY(writePdfReportFile(quick, data, true));
        QCOMPARE(pdfText(quick), pdfText(plain));
        const QVector<QByteArray> expected = renderedPages(plain, QFileInfo(plain).path(), kDpi);
        const QVector<QByteArray> actual = renderedPages(quick, QFileInfo(quick).path(), kDpi);
        QVERIFY(expected.size() > 40);
        QCOMPARE(actual.size(), expected.size());
        for (int page = 0; page < expected.size(); ++page)
            QVERIFY2(actual.at(page) == expected.at(page), qPrintable(QString("page %1").arg(page + 1)));
    }

    // A wide reading is printed whole, every reading once and in order, and
    // every page of the table starts with the column header.
    void everyReadingPrintedOnce()
    {
        constexpr int kValues = 3000;
        ReportData data = distinctValues(kValues);
        const QVector<float> wide{3.0e38f, -1.234567e30f};
        const QVector<int> wideRows{1500, 2201};
        for (int i = 0; i < wide.size(); ++i)
            data.content.values[wideRows.at(i) - 1] = wide.at(i);
        QTemporaryDir dir;
        const QString path = dir.filePath("wide.pdf");
        QVERIFY(writePdfReportFile(path, data));

        const QString text = pdfText(path);
        const QStringList words = text.split(QRegularExpression(QStringLiteral("\\s+")));
        for (const float value : wide) {
            QVERIFY2(wrappedIn(words, reportValueText(value)), qPrintable(reportValueText(value)));
            const QString difference = reportDifferenceText(data.mean.value, value);
            QVERIFY2(wrappedIn(words, difference), qPrintable(difference));
        }

        const QVector<QStringList> rows = valueRows(text);
        QCOMPARE(rows.size(), kValues);
        for (int i = 0; i < kValues; ++i) {
            QCOMPARE(rows.at(i).at(0), QString::number(i + 1));
            if (wideRows.contains(i + 1))
                continue;
            const float value = data.content.values.at(i);
            QCOMPARE(rows.at(i).at(1), reportValueText(value));
            QCOMPARE(rows.at(i).at(2), reportDifferenceText(data.mean.value, value));
        }

        const QStringList pages = text.split(QLatin1Char('\f'));
        int pagesWithRows = 0;
        for (int page = 0; page < pages.size(); ++page) {
            const QVector<QStringList> pageRows = valueRows(pages.at(page));
            if (pageRows.isEmpty())
                continue;
            ++pagesWithRows;
            const QStringList lines = pages.at(page).split(QLatin1Char('\n'));
            int header = 0;
            while (header < lines.size() && !kValueRow.match(lines.at(header)).hasMatch()
                   && !kColumnHeader.match(lines.at(header)).hasMatch())
                ++header;
            QVERIFY2(header < lines.size() && kColumnHeader.match(lines.at(header)).hasMatch(),
                     qPrintable(QString("page %1").arg(page + 1)));
        }
        QVERIFY(pagesWithRows > 50);
    }

private:
    int m_firstPageRows = 0;
    int m_fullPageRows = 0;
};

QTEST_MAIN(TestPdfWideReadings)
#include "tst_pdfwidereadings.moc"
