// The PDF writer, read back with poppler's pdftotext, pdfinfo, pdfimages and pdftoppm.
#include "pdfreader.h"
#include "report/pdfreport.h"
#include "report/reportdata.h"
#include "reporttestdata.h"
#include "toolrun.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <limits>

namespace {

// Lines of three words starting with a row number: the value rows of the table.
QVector<QStringList> threeColumnRows(const QString &text)
{
    QVector<QStringList> rows;
    static const QRegularExpression row(QStringLiteral("^\\s*(\\d+)\\s+(\\S+)\\s+(\\S+)\\s*$"));
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = row.match(line);
        if (match.hasMatch())
            rows.append({match.captured(1), match.captured(2), match.captured(3)});
    }
    return rows;
}

// Gray pages rendered by poppler, one byte array per page.
QVector<QByteArray> renderedPages(const QString &path, const QString &folder, int dpi)
{
    const QString prefix = QDir(folder).filePath(QFileInfo(path).baseName());
    runReader(QStringLiteral("pdftoppm"), {"-r", QString::number(dpi), "-gray", path, prefix});
    QVector<QByteArray> pages;
    QDir dir(folder);
    for (const QString &name :
         dir.entryList({QFileInfo(path).baseName() + "-*.pgm"}, QDir::Files, QDir::Name)) {
        QFile page(dir.filePath(name));
        page.open(QIODevice::ReadOnly);
        pages.append(page.readAll());
    }
    return pages;
}

} // namespace

class TestPdfReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void wholeReport()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("report.pdf");
        ReportData data = sampleReportData(5);
        data.logo = solidImage(120, 80, Qt::darkGreen);
        data.plots = {solidImage(600, 400, Qt::white), solidImage(600, 400, Qt::yellow)};
        data.toleranceText = QStringLiteral("Допуск: [0; 5.5]");
        QVERIFY(writePdfReportFile(path, data));

        const QString info = QString::fromUtf8(runReader("pdfinfo", {path}));
        QVERIFY2(
            info.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts \\(A4\\)")),
            qPrintable(info));

        const QString text = pdfText(path);
        QStringList order = {"Данные о компании",
                             "Компания",
                             "знач1",
                             "Вебсайт",
                             "знач5",
                             "Данные об отчете",
                             "Номер отчета",
                             "Свидетельство о поверке",
                             "знач15",
                             "Отчет о проведении контроля",
                             "Номер",
                             "0001",
                             "X\u0305 - x",
                             "Статистика",
                             "Среднее",
                             "10.7",
                             "СКО",
                             "0.5",
                             "Макс",
                             "11.5",
                             "Мин",
                             "10.0",
                             "Допуск: [0; 5.5]",
                             "Комментарии",
                             "Замечаний нет",
                             "Контроль проведён" + QString(44, '_') + ", подпись"};
        int at = 0;
        for (const QString &piece : order) {
            const int found = text.indexOf(piece, at);
            QVERIFY2(found >= 0, qPrintable("missing or out of order: " + piece));
            at = found + piece.size();
        }

        QVERIFY(text.contains(QRegularExpression("Номер\\s+0001\\s+X\u0305 - x")));
        const QVector<QStringList> rows = threeColumnRows(text);
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows.at(0), QStringList({"1", "10.0", "0.7"}));
        // 10.25 rounds up to 10.3; 10.7 - 10.25 is just below 0.45 in binary.
        QCOMPARE(rows.at(1), QStringList({"2", "10.3", "0.4"}));
        QCOMPARE(rows.at(4), QStringList({"5", "11.0", "-0.3"}));

        const QVector<PdfImage> images = pdfImages(path);
        QCOMPARE(images.size(), 3);
        QCOMPARE(images.at(0).width, 120);
        for (int i : {1, 2}) {
            QCOMPARE(images.at(i).width, 600);
            QCOMPARE(images.at(i).height, 400);
        }
        QVERIFY(!QFile::exists(QDir::temp().filePath("temp_logo.png")));
    }

    void fieldTable_data()
    {
        QTest::addColumn<bool>("includeEmpty");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("empty fields left out")
            << false << QStringList{"Данные об отчете", "Дата", "01.02.2024"}
            << QStringList{"Данные о компании", "Компания", "Оператор", "Данные о приборе"};
        QTest::newRow("empty fields printed") << true
                                              << QStringList{"Данные о компании", "Компания", "Оператор",
                                                             "Данные о приборе", "Свидетельство о поверке"}
                                              << QStringList{};
    }

    void fieldTable()
    {
        QFETCH(bool, includeEmpty);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        QTemporaryDir dir;
        const QString path = dir.filePath("fields.pdf");
        ReportData data = sampleReportData(1);
        for (ReportField &field : data.content.fields)
            field.value = field.label == QStringLiteral("Дата") ? QStringLiteral("01.02.2024") : QString();
        data.includeEmptyFields = includeEmpty;
        QVERIFY(writePdfReportFile(path, data));
        const QString text = pdfText(path);
        for (const QString &piece : present)
            QVERIFY2(text.contains(piece), qPrintable(piece));
        for (const QString &piece : absent)
            QVERIFY2(!text.contains(piece), qPrintable(piece));
        // A block of one value: the header and one row.
        QVERIFY(text.contains(QRegularExpression("Номер\\s+0001\\s+X\u0305 - x")));
        QCOMPARE(threeColumnRows(text), QVector<QStringList>{QStringList({"1", "10.0", "0.7"})});
    }

    void numbersThatAreNotFinite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("nan.pdf");
        ReportData data = sampleReportData(2);
        data.content.values[1] = std::numeric_limits<float>::quiet_NaN();
        data.stdev.value = std::numeric_limits<double>::quiet_NaN();
        QVERIFY(writePdfReportFile(path, data));
        const QString text = pdfText(path);
        QVERIFY(text.contains(QRegularExpression("СКО\\s+\u2014")));
        QCOMPARE(threeColumnRows(text).at(1), QStringList({"2", "\u2014", "\u2014"}));
        QVERIFY(!text.contains("nan", Qt::CaseInsensitive));
    }

    void unwritablePathFails()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("missing-folder/report.pdf");
        QVERIFY(!writePdfReportFile(path, sampleReportData(3)));
        QVERIFY(!QFile::exists(path));
    }

    // The value table of a long block is printed the quick way; the pages
    // must look exactly as when QTextDocument prints every row itself.
    void quickValueTablePrintsTheSamePages_data()
    {
        QTest::addColumn<int>("values");
        QTest::addColumn<int>("logoHeight");
        QTest::addColumn<int>("dpi");
        QTest::newRow("no logo") << 700 << 0 << 100;
        // The logo fills the first page: the table starts on the second.
        QTest::newRow("tall logo") << 500 << 900 << 100;
        QTest::newRow("long block") << 6000 << 0 << 40;
    }

    void quickValueTablePrintsTheSamePages()
    {
        QFETCH(int, values);
        QFETCH(int, logoHeight);
        QFETCH(int, dpi);
        ReportData data = sampleReportData(values);
        if (logoHeight > 0)
            data.logo = solidImage(150, logoHeight, Qt::blue);
        verifySamePagesBothWays(data, dpi);
    }

    // The last page of the table stays in the document and what follows is
    // laid out from its end: a table that ends exactly at a page end, one row
    // before or one row after it.
    void tableEndingAtAPageEnd_data()
    {
        QTest::addColumn<int>("offset");
        QTest::newRow("one row short") << -1;
        QTest::newRow("exactly full") << 0;
        QTest::newRow("one row over") << 1;
    }

    void tableEndingAtAPageEnd()
    {
        QFETCH(int, offset);
        QTemporaryDir dir;
        const QString probe = dir.filePath("probe.pdf");
        QVERIFY(writePdfReportFile(probe, sampleReportData(300), false));
        const int firstPage = valueRowsOnPage(probe, 1);
        const int fullPage = valueRowsOnPage(probe, 2);
        QVERIFY(firstPage > 0 && fullPage > firstPage);
        const int fourPages = firstPage + 3 * fullPage;
        ReportData data = sampleReportData(fourPages + offset);
        verifySamePagesBothWays(data, 100);
        if (QTest::currentTestFailed())
            return;
        const QString path = dir.filePath("full.pdf");
        QVERIFY(writePdfReportFile(path, data));
        QCOMPARE(valueRowsOnPage(path, 4), offset > 0 ? fullPage : fullPage + offset);
        QCOMPARE(valueRowsOnPage(path, 5), offset > 0 ? offset : 0);
        // No room is left below the table for the statistics.
        QVERIFY(pdfText(path, 5).contains(QStringLiteral("Статистика")));
    }

private:
    static int valueRowsOnPage(const QString &path, int page)
    {
        return threeColumnRows(pdfText(path, page)).size();
    }

    static void verifySamePagesBothWays(const ReportData &data, int dpi)
    {
        QTemporaryDir dir;
        const QString plain = dir.filePath("plain.pdf");
        const QString quick = dir.filePath("quick.pdf");
        QVERIFY(writePdfReportFile(plain, data, false));
        QVERIFY(writePdfReportFile(quick, data, true));
        QCOMPARE(pdfText(quick), pdfText(plain));
        const QVector<QByteArray> expected = renderedPages(plain, dir.path(), dpi);
        const QVector<QByteArray> actual = renderedPages(quick, dir.path(), dpi);
        QVERIFY(expected.size() > 3);
        QCOMPARE(actual.size(), expected.size());
        for (int page = 0; page < expected.size(); ++page)
            QVERIFY2(actual.at(page) == expected.at(page), qPrintable(QString("page %1").arg(page + 1)));
    }
};

QTEST_MAIN(TestPdfReport)
#include "tst_pdfreport.moc"
