// How the Excel report prints: header and footer, print titles, page breaks
// that cut neither the statistics, a plot nor the verdict with its signature,
// field and statistics cells that show their whole text, and the unit of the
// readings; read back with openpyxl and from LibreOffice's print.
#include "officeprint.h"
#include "report/excelreport.h"
#include "report/reportassembly.h"
#include "reporttestdata.h"
#include "toolrun.h"
#include "xlsxreader.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr int kPixelsPerRow = 20;
const QString kHeader = QStringLiteral("Отчет № 17/2024-К · Фланец 0001 · 01.02.2024");

// The report with the band on, its verdict and two plots below the table.
ReportData reportWithPlots(int valueCount)
{
    ReportData data = sampleReportData(valueCount);
    data.pageHeaderNumber = QStringLiteral("Отчет № 17/2024-К");
    data.toleranceText = QStringLiteral("Допуск: [9; 10]");
    data.outside = QVector<bool>(valueCount, true);
    data.verdict = {
        {"Вне допуска", "все"}, {"Заключение", "Не соответствует"}, {"Cp", "0,50"}, {"Cpk", "0,40"}};
    data.plots = {solidImage(600, 330, Qt::blue), solidImage(600, 330, Qt::green)};
    return data;
}

// The text of each printed page.
QStringList printedPages(const QString &pdf)
{
    const QString text = QString::fromUtf8(runReader(QStringLiteral("pdftotext"), {"-layout", pdf, "-"}));
    QStringList pages = text.split(QLatin1Char('\f'));
    while (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// Row of the first sheet whose cell in column A holds text starting so; 0: none.
int rowStarting(const QJsonObject &book, const QString &start)
{
    const QJsonObject cells = book.value("cells").toObject();
    for (auto it = cells.begin(); it != cells.end(); ++it)
        if (it.key().startsWith('A') && it.value().toObject().value("value").toString().startsWith(start))
            return it.key().mid(1).toInt();
    return 0;
}

QVector<int> rowBreaks(const QJsonObject &book)
{
    QVector<int> breaks;
    for (const QJsonValue &b : book.value("pageSetup").toObject().value("rowBreaks").toArray())
        breaks.append(b.toInt());
    return breaks;
}

// True when a page ends after one of the rows first to last - 1.
bool cut(const QVector<int> &breaks, int first, int last)
{
    for (int b : breaks)
        if (b >= first && b < last)
            return true;
    return false;
}

} // namespace

class TestExcelReportLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Both sheets name the report and block above each page and number the
    // pages below; the data sheet repeats its header row on each page.
    void headerFooterAndPrintTitles_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("shortened");
        QTest::newRow("short number") << QStringLiteral("17/2024-К") << false;
        QTest::newRow("long number") << QStringLiteral("Н&").repeated(200) << true;
    }

    void headerFooterAndPrintTitles()
    {
        QFETCH(QString, number);
        QFETCH(bool, shortened);
        QTemporaryDir dir;
        ReportData data = reportWithPlots(200);
        data.pageHeaderNumber = QStringLiteral("Отчет № ") + number;
        data.pageHeader = data.pageHeaderNumber + QStringLiteral(" · Фланец 0001 · 01.02.2024");
        const QString path = dir.filePath("report.xlsx");
        QVERIFY(writeExcelReportFile(path, data).saved);
        const QJsonArray printing = readWorkbook(path).value("printing").toArray();
        QCOMPARE(printing.size(), 2);
        for (const QJsonValue &sheet : printing) {
            const QString left = sheet["header"]["left"].toString();
            QVERIFY2(left.endsWith(QStringLiteral(" · Фланец 0001 · 01.02.2024")), qPrintable(left));
            QVERIFY(left.toUtf8().size() <= 255);
            QCOMPARE(left.startsWith(data.pageHeaderNumber), !shortened);
            QCOMPARE(left.contains(QStringLiteral("\u2026 · Фланец")), shortened);
            QCOMPARE(sheet["footer"]["right"].toString(), QStringLiteral("стр. &P из &N"));
        }
        QVERIFY2(printing.at(1)["printTitleRows"].toString().contains(QRegularExpression("^\\$?1:\\$?1$")),
                 qPrintable(printing.at(1)["printTitleRows"].toString()));
    }

    // Wherever the table ends, no page break falls inside the statistics, a
    // plot or the tolerance-to-signature block.
    void blocksBelowTheTableAreNotCut_data()
    {
        QTest::addColumn<int>("values");
        for (int values : {3, 60, 100, 120, 200, 360, 370, 500})
            QTest::addRow("%d values", values) << values;
    }

    void blocksBelowTheTableAreNotCut()
    {
        QFETCH(int, values);
        QTemporaryDir dir;
        const QString path = dir.filePath("report.xlsx");
        QVERIFY(writeExcelReportFile(path, reportWithPlots(values)).saved);
        const QJsonObject book = readWorkbook(path);
        const QVector<int> breaks = rowBreaks(book);
        const QJsonArray images = book.value("images").toArray();
        QCOMPARE(images.size(), 2);
        for (const QJsonValue &image : images) {
            const int first = image["row"].toInt() + 1;
            const int rows = (image["height"].toInt() + kPixelsPerRow - 1) / kPixelsPerRow;
            QVERIFY2(!cut(breaks, first, first + rows - 1), qPrintable(QString::number(first)));
        }
        const int tolerance = rowStarting(book, QStringLiteral("Допуск"));
        const int signature = rowStarting(book, QStringLiteral("Контроль проведён"));
        QVERIFY(tolerance > 0 && signature > tolerance);
        QVERIFY(!cut(breaks, tolerance, signature));
        const QJsonObject cells = book.value("cells").toObject();
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            if (it.value().toObject().value("value").toString() != QStringLiteral("Статистика"))
                continue;
            const int heading = it.key().mid(1).toInt();
            QVERIFY(!cut(breaks, heading, heading + 4));
        }
        // The value table's own pages still end every 45 rows.
        for (int end = 45; end + 45 < values / 3; end += 45)
            QVERIFY2(breaks.contains(end), qPrintable(QString::number(end)));
    }

    // As LibreOffice prints it: the statistics on one page, the verdict and
    // signature on one page, a long field's whole text, wide statistics as
    // numbers (no "###"), the header and footer (with the verdict) on each page.
    void printedByLibreOffice()
    {
        QTemporaryDir dir;
        ReportData data = reportWithPlots(330);
        const QString longNumber =
            QStringLiteral("2024-КОНТРОЛЬ-ОТК-%1-ФИНАЛ").arg(QString(60, QLatin1Char('7')));
        data.content.fields[5].value = longNumber;
        data.mean.value = 123456789.25;
        data.stdev.value = 3e38;
        data.unit = QStringLiteral("мкм");
        data.pageVerdict = QStringLiteral("Заключение: Не соответствует · Cpk 0,40 · Ppk 0,38");
        const QString path = dir.filePath("printed.xlsx");
        QVERIFY(writeExcelReportFile(path, data).saved);
        const QJsonObject book = readWorkbook(path);
        QVERIFY(book.value("rowHeights").toObject().size() > 0);

        const QString pdf = printWithLibreOffice(path, dir.path());
        QVERIFY(!pdf.isEmpty());
        if (qEnvironmentVariableIsSet("ZRV_KEEP_PRINT"))
            QFile::copy(pdf, qEnvironmentVariable("ZRV_KEEP_PRINT"));
        const QStringList pages = printedPages(pdf);
        QVERIFY(pages.size() >= 3);
        QString all;
        for (int i = 0; i < pages.size(); ++i) {
            const QString &page = pages.at(i);
            QVERIFY2(page.contains(kHeader), qPrintable(QString::number(i + 1)));
            QVERIFY2(page.contains(QStringLiteral("стр. %1 из %2").arg(i + 1).arg(pages.size())),
                     qPrintable(page));
            QVERIFY2(page.contains(data.pageVerdict), qPrintable(page));
            QVERIFY2(!page.contains(QStringLiteral("###")), qPrintable(page));
            if (page.contains(QStringLiteral("Статистика")))
                for (const char *label : {"Мин", "Макс", "Среднее", "СКО"})
                    QVERIFY2(page.contains(QString::fromUtf8(label)), label);
            // The verdict rows (the foot repeats only the verdict, Cpk and Ppk).
            if (page.contains(QStringLiteral("Вне допуска")))
                for (const char *line : {"Допуск: [9; 10]", "0,50", "Комментарии", "подпись"})
                    QVERIFY2(page.contains(QString::fromUtf8(line)), line);
            all += page;
        }
        QVERIFY(all.contains(QStringLiteral("Вне допуска")));
        QVERIFY(all.contains(QStringLiteral("123456789.3 мкм")));
        QVERIFY(all.contains(QStringLiteral("3.0E+38 мкм")));
        QString joined = all;
        joined.remove(QRegularExpression(QStringLiteral("\\s")));
        // The label beside the wrapped value is read between its lines.
        joined.remove(QStringLiteral("Номеротчета"));
        QVERIFY2(joined.contains(longNumber), qPrintable(all.left(3000)));
    }

    // The unit after the value headers of both sheets and in the statistics'
    // number format; without one the headers and formats are as they were.
    void unit_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("valueHeader");
        QTest::addColumn<QString>("dataHeader");
        QTest::addColumn<QString>("format");
        QTest::newRow("none") << QString() << "насоса"
                              << "Значение"
                              << "0.0";
        QTest::newRow("мкм") << QStringLiteral("мкм") << "насоса [мкм]"
                             << "Значение [мкм]"
                             << "0.0 \"мкм\"";
    }

    void unit()
    {
        QFETCH(QString, unit);
        QFETCH(QString, valueHeader);
        QFETCH(QString, dataHeader);
        QFETCH(QString, format);
        ReportSource source;
        source.content.fields = reportFormFields({});
        source.content.valueHeader = QStringLiteral("насоса");
        source.content.values = {9.5f, 9.7f, 10.2f};
        source.hasBlock = true;
        source.block.name = QStringLiteral("Корпус насоса");
        source.block.values = source.content.values;
        source.statistics = {9.5, 10.2, 9.8, 0.4};
        source.band = {true, 9.0, 10.0};
        source.captions = defaultReportCaptions();
        source.unit = unit;
        QTemporaryDir dir;
        const QString path = dir.filePath("unit.xlsx");
        QVERIFY(writeExcelReportFile(path, excelReportData(source, true)).saved);
        const QJsonObject book = readWorkbook(path);
        const QString text = workbookText(book);
        QVERIFY2(text.split('\n').contains(valueHeader), qPrintable(text));
        QCOMPARE(book.value("dataRows").toArray().at(0).toArray().at(1)["value"].toString(), dataHeader);
        int statistics = 0;
        const QJsonObject cells = book.value("cells").toObject();
        for (auto it = cells.begin(); it != cells.end(); ++it)
            if (it.value().toObject().value("value").toDouble() == 9.8) {
                QCOMPARE(it.value().toObject().value("format").toString(), format);
                ++statistics;
            }
        QCOMPARE(statistics, 1);
        const QString tolerance =
            unit.isEmpty() ? QStringLiteral("Допуск: [9; 10]") : QStringLiteral("Допуск: [9; 10] мкм");
        QVERIFY2(text.split('\n').contains(tolerance), qPrintable(text));
    }
};

QTEST_MAIN(TestExcelReportLayout)
#include "tst_excelreportlayout.moc"
