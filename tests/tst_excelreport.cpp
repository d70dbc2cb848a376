// The Excel writer, read back with openpyxl (Debian's /usr/bin/python3).
#include "officeprint.h"
#include "report/excelreport.h"
#include "report/reportdata.h"
#include "reporttestdata.h"
#include "toolrun.h"
#include "values/readingnumbers.h"
#include "xlsxreader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <clocale>
#include <limits>

namespace {

const QString kNumberHeader = QStringLiteral("Номер");
const QString kMissing = QStringLiteral("\u2014");

bool merged(const QJsonObject &book, const QString &range)
{
    return book.value("merges").toArray().contains(range);
}

// Only the date filled and empty fields left out: the field table is the
// report section row and the date row, so the title is on row 4 and the
// first group holds the values of rows 6 to 45.
ReportData shortFieldTable(int valueCount)
{
    ReportData data = sampleReportData(valueCount);
    for (ReportField &field : data.content.fields)
        if (field.label != QStringLiteral("Дата"))
            field.value.clear();
    data.includeEmptyFields = false;
    data.statisticsHeading = QStringLiteral("Статистика");
    return data;
}

QStringList printedLines(const QString &pdf, int page)
{
    const QString text =
        QString::fromUtf8(runReader(QStringLiteral("pdftotext"), {"-layout", "-f", QString::number(page),
                                                                  "-l", QString::number(page), pdf, "-"}));
    QStringList lines;
    for (const QString &line : text.split('\n'))
        if (!line.trimmed().isEmpty())
            lines.append(line);
    return lines;
}

// The C library's locale as a Russian user's program has it (Qt takes the
// user's), where printf writes "50,8"; made from Debian's locale sources into
// a folder of its own. The C.UTF-8 locale the tests run in comes back after.
class RussianCLocale
{
public:
    RussianCLocale()
    {
        const ToolRun made = runTool(QStringLiteral("localedef"),
                                     {"-i", "ru_RU", "-f", "UTF-8", folder.filePath("ru_RU.UTF-8")});
        qputenv("LOCPATH", QFile::encodeName(folder.path()));
        active = made.ok() && setlocale(LC_ALL, "ru_RU.UTF-8") != nullptr;
        if (!active)
            qWarning("localedef: %s", made.errors.constData());
    }
    ~RussianCLocale()
    {
        setlocale(LC_ALL, "C.UTF-8");
        qunsetenv("LOCPATH");
    }
    bool isActive() const { return active && std::localeconv()->decimal_point == QByteArray(","); }

private:
    QTemporaryDir folder;
    bool active = false;
};

// Number texts in the sheets' XML written with a decimal comma: in a value
// or an attribute (widths, heights, margins).
const char kCommaNumbersScript[] = R"(
import json, re, sys, zipfile
book = zipfile.ZipFile(sys.argv[1])
found = []
for name in book.namelist():
    if name.endswith(".xml"):
        found += re.findall(r'(?:<v>|=\x22)-?[0-9]+,[0-9]+', book.read(name).decode())
print(json.dumps(found[:20]))
)";

QJsonObject writeAndRead(const ReportData &data, QTemporaryDir &dir)
{
    const QString path = dir.filePath("report.xlsx");
    const ExcelReportResult result = writeExcelReportFile(path, data);
    if (!result.saved)
        return {};
    return readWorkbook(path);
}

} // namespace

class TestExcelReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void fieldTableLogoAndTitle_data()
    {
        QTest::addColumn<QSize>("logoSize");
        QTest::addColumn<int>("titleRow");
        QTest::addColumn<int>("logoHeight");
        // 18 rows of fields: the title follows one empty row below them.
        QTest::newRow("no logo") << QSize() << 20 << 0;
        QTest::newRow("logo shorter than the fields") << QSize(354, 200) << 20 << 100;
        // 177 x 500 pixels at 96 dpi: 132 mm, 30 logo rows.
        QTest::newRow("tall logo") << QSize(177, 500) << 31 << 500;
    }

    void fieldTableLogoAndTitle()
    {
        QFETCH(QSize, logoSize);
        QFETCH(int, titleRow);
        QFETCH(int, logoHeight);
        ReportData data = sampleReportData(3);
        data.title = QStringLiteral("ОТЧЕТ О ПРОВЕДЕНИИ КОНТРОЛЯ");
        if (logoSize.isValid()) {
            data.logo = solidImage(logoSize.width(), logoSize.height(), Qt::red);
            data.logo.setDotsPerMeterX(3780);
            data.logo.setDotsPerMeterY(3780);
        }
        QTemporaryDir dir;
        const QJsonObject book = writeAndRead(data, dir);
        QVERIFY(!book.isEmpty());
        // The report keeps the first sheet and its default name; the readings follow.
        QCOMPARE(book.value("sheets").toInt(), 2);
        QCOMPARE(book.value("sheetNames").toArray(), (QJsonArray{"Sheet1", "Данные"}));
        QCOMPARE(book.value("title").toString(), QStringLiteral("Sheet1"));

        // Section rows span A:F in bold, field rows A:C and D:F with thin borders.
        QVERIFY(merged(book, "A1:F1"));
        QCOMPARE(cellValue(book, "A1").toString(), QStringLiteral("Данные о компании"));
        QVERIFY(workbookCell(book, "A1").value("bold").toBool());
        QVERIFY(merged(book, "A2:C2"));
        QVERIFY(merged(book, "D2:F2"));
        QCOMPARE(cellValue(book, "A2").toString(), QStringLiteral("Компания"));
        QCOMPARE(cellValue(book, "D2").toString(), QStringLiteral("знач1"));
        QCOMPARE(workbookCell(book, "D2").value("left").toString(), QStringLiteral("thin"));
        QVERIFY(merged(book, "A7:F7"));
        QCOMPARE(cellValue(book, "A7").toString(), QStringLiteral("Данные об отчете"));
        QCOMPARE(cellValue(book, "A18").toString(), QStringLiteral("Свидетельство о поверке"));

        const QString title = QString("A%1").arg(titleRow);
        QVERIFY(merged(book, QString("A%1:I%1").arg(titleRow)));
        QCOMPARE(cellValue(book, title).toString(), QStringLiteral("ОТЧЕТ О ПРОВЕДЕНИИ КОНТРОЛЯ"));
        QVERIFY(workbookCell(book, title).value("bold").toBool());
        QCOMPARE(cellValue(book, QString("A%1").arg(titleRow + 1)).toString(), kNumberHeader);

        const QJsonArray images = book.value("images").toArray();
        QCOMPARE(images.size(), logoSize.isValid() ? 1 : 0);
        if (logoSize.isValid()) {
            const QJsonObject logo = images.at(0).toObject();
            QCOMPARE(logo.value("row").toInt(), 0);
            QCOMPARE(logo.value("col").toInt(), 6); // G1
            QCOMPARE(logo.value("width").toInt(), 177);
            QCOMPARE(logo.value("height").toInt(), logoHeight);
        }
    }

    // Where values, group headers and statistics land for blocks of various sizes.
    void valueTable_data()
    {
        QTest::addColumn<int>("values");
        QTest::addColumn<QStringList>("headers");      // cells holding "Номер"
        QTest::addColumn<QStringList>("thickHeaders"); // those with a thick left border
        QTest::addColumn<QStringList>("numberCells");  // cell=number pairs
        QTest::addColumn<QStringList>("emptyCells");
        QTest::addColumn<QString>("statistics"); // first cell of the statistics block

        QTest::newRow("3 values") << 3 << QStringList{"A5"} << QStringList{} << QStringList{"A6=1", "A8=3"}
                                  << QStringList{"A9", "D5"} << "H5";
        QTest::newRow("group 1 exactly full") << 40 << QStringList{"A5", "D5"} << QStringList{"D5"}
                                              << QStringList{"A45=40"} << QStringList{"D6", "A46"} << "H5";
        QTest::newRow("third group in use")
            << 100 << QStringList{"A5", "D5", "G5"} << QStringList{"D5", "G5"}
            << QStringList{"D6=41", "G6=81", "G25=100"} << QStringList{"G26"} << "A47";
        QTest::newRow("first page full")
            << 120 << QStringList{"A5", "D5", "G5", "A47"} << QStringList{"D5", "G5"}
            << QStringList{"G45=120"} << QStringList{"A48"} << "H47";
        QTest::newRow("second page begins")
            << 121 << QStringList{"A5", "D5", "G5", "A47"} << QStringList{"D5", "G5"}
            << QStringList{"A48=121"} << QStringList{"A49", "D47"} << "H47";
        // Every page after the first holds 43 rows per group: page 2 ends at
        // row 90, page 3 starts with its header on row 92 and ends at row 135.
        QTest::newRow("third page") << 300 << QStringList{"A47", "D47", "G47", "A92", "D92"}
                                    << QStringList{"D47", "G47", "D92"}
                                    << QStringList{"A90=163",  "D90=206", "G90=249", "A93=250",
                                                   "A135=292", "D93=293", "D100=300"}
                                    << QStringList{"D101", "A136"} << "H92";
    }

    void valueTable()
    {
        QFETCH(int, values);
        QFETCH(QStringList, headers);
        QFETCH(QStringList, thickHeaders);
        QFETCH(QStringList, numberCells);
        QFETCH(QStringList, emptyCells);
        QFETCH(QString, statistics);
        QTemporaryDir dir;
        const QJsonObject book = writeAndRead(shortFieldTable(values), dir);
        QVERIFY(!book.isEmpty());

        QCOMPARE(cellValue(book, "A4").toString(), QStringLiteral("Отчет о проведении контроля"));
        for (const QString &name : headers) {
            QCOMPARE(cellValue(book, name).toString(), kNumberHeader);
            const QString left = workbookCell(book, name).value("left").toString();
            QCOMPARE(left, thickHeaders.contains(name) ? QStringLiteral("thick") : QStringLiteral("thin"));
            const QString column(QChar(name.at(0).unicode() + 1));
            const QString row = name.mid(1);
            QCOMPARE(cellValue(book, column + row).toString(), QStringLiteral("0001"));
            QCOMPARE(workbookCell(book, column + row).value("left").toString(), QStringLiteral("thin"));
            const QString third(QChar(name.at(0).unicode() + 2));
            QCOMPARE(cellValue(book, third + row).toString(), QStringLiteral("X\u0305 - x"));
        }
        for (const QString &pair : numberCells) {
            const QString name = pair.section('=', 0, 0);
            const int number = pair.section('=', 1).toInt();
            QCOMPARE(workbookCell(book, name).value("type").toString(), QStringLiteral("n"));
            QCOMPARE(cellValue(book, name).toInt(), number);
            // Groups 2 and 3 of a page start with a thick line, group 1 does not.
            const bool thick = name.at(0) != QLatin1Char('A');
            QCOMPARE(workbookCell(book, name).value("left").toString(),
                     thick ? QStringLiteral("thick") : QStringLiteral("thin"));
            // Value and difference are texts with thin borders.
            const QString row = name.mid(1);
            const QString valueCell = QString(QChar(name.at(0).unicode() + 1)) + row;
            const QString differenceCell = QString(QChar(name.at(0).unicode() + 2)) + row;
            const float value = shortFieldTable(values).content.values.at(number - 1);
            QCOMPARE(workbookCell(book, valueCell).value("type").toString(), QStringLiteral("s"));
            QCOMPARE(cellValue(book, valueCell).toString(), QString::number(double(value), 'f', 1));
            QCOMPARE(workbookCell(book, valueCell).value("left").toString(), QStringLiteral("thin"));
            QCOMPARE(cellValue(book, differenceCell).toString(),
                     QString::number(10.7 - double(value), 'f', 1));
            QCOMPARE(workbookCell(book, differenceCell).value("font").toString(),
                     QStringLiteral("Times New Roman"));
            QCOMPARE(workbookCell(book, differenceCell).value("size").toDouble(), 11.0);
        }
        for (const QString &name : emptyCells)
            QVERIFY2(cellValue(book, name).isNull(), qPrintable(name));

        // Statistics: heading over label and value column, then min, max, mean, σ as numbers.
        const QChar labelColumn = statistics.at(0);
        const QChar valueColumn(labelColumn.unicode() + 1);
        const int first = statistics.mid(1).toInt();
        QVERIFY(merged(book, QString("%1%3:%2%3").arg(labelColumn).arg(valueColumn).arg(first)));
        QCOMPARE(cellValue(book, statistics).toString(), QStringLiteral("Статистика"));
        const QStringList labels = {"Мин", "Макс", "Среднее", "СКО"};
        const QList<double> numbers = {10.0, 11.5, 10.7, 0.5};
        for (int i = 0; i < 4; ++i) {
            const QString label = QString("%1%2").arg(labelColumn).arg(first + 1 + i);
            const QString value = QString("%1%2").arg(valueColumn).arg(first + 1 + i);
            QCOMPARE(cellValue(book, label).toString(), labels.at(i));
            QCOMPARE(workbookCell(book, value).value("type").toString(), QStringLiteral("n"));
            QCOMPARE(cellValue(book, value).toDouble(), numbers.at(i));
        }
    }

    // Plots, tolerance text, comments and signature below the table.
    void below_data()
    {
        QTest::addColumn<int>("plots");
        QTest::addColumn<bool>("tolerance");
        QTest::addColumn<int>("headingRow");
        // 3 values: the statistics end on row 9, so "next row" is 10.
        QTest::newRow("nothing optional") << 0 << false << 12;
        QTest::newRow("graph and diagram with the band") << 2 << true << 47;
        QTest::newRow("diagram only, no band") << 1 << false << 29;
    }

    void below()
    {
        QFETCH(int, plots);
        QFETCH(bool, tolerance);
        QFETCH(int, headingRow);
        ReportData data = shortFieldTable(3);
        for (int i = 0; i < plots; ++i)
            data.plots.append(solidImage(522, 313, Qt::white));
        if (tolerance)
            data.toleranceText = QStringLiteral("Допуск: [0; 5.5]");
        data.signature = QStringLiteral("Контроль проведён") + QString(36, '_') + QStringLiteral(", подпись");
        QTemporaryDir dir;
        const QJsonObject book = writeAndRead(data, dir);
        QVERIFY(!book.isEmpty());

        const QJsonArray images = book.value("images").toArray();
        QCOMPARE(images.size(), plots);
        for (int i = 0; i < plots; ++i) {
            const QJsonObject image = images.at(i).toObject();
            QCOMPARE(image.value("col").toInt(), 0);
            QCOMPARE(image.value("row").toInt(), 10 + 17 * i);
            QCOMPARE(image.value("width").toInt(), 522);
            QCOMPARE(image.value("height").toInt(), 313);
        }
        if (tolerance) {
            const int row = headingRow - 2;
            QVERIFY(merged(book, QString("A%1:I%1").arg(row)));
            QCOMPARE(cellValue(book, QString("A%1").arg(row)).toString(), data.toleranceText);
            QCOMPARE(workbookCell(book, QString("A%1").arg(row)).value("wrap").toBool(), true);
        }
        const QString heading = QString("A%1").arg(headingRow);
        QVERIFY(merged(book, QString("A%1:I%1").arg(headingRow)));
        QCOMPARE(cellValue(book, heading).toString(), QStringLiteral("Комментарии"));
        QVERIFY(workbookCell(book, heading).value("bold").toBool());
        QVERIFY(merged(book, QString("A%1:I%2").arg(headingRow + 1).arg(headingRow + 2)));
        QCOMPARE(cellValue(book, QString("A%1").arg(headingRow + 1)).toString(), data.comments);
        QCOMPARE(workbookCell(book, QString("A%1").arg(headingRow + 1)).value("horizontal").toString(),
                 QStringLiteral("justify"));
        QVERIFY(merged(book, QString("A%1:I%1").arg(headingRow + 3)));
        const QJsonObject signature = workbookCell(book, QString("A%1").arg(headingRow + 3));
        QCOMPARE(signature.value("value").toString(), data.signature);
        QVERIFY(signature.value("bold").toBool());
        QCOMPARE(signature.value("font").toString(), QStringLiteral("Times New Roman"));
        QCOMPARE(signature.value("size").toDouble(), 11.0);
    }

    void columnWidths()
    {
        QTemporaryDir dir;
        const QJsonObject book = writeAndRead(shortFieldTable(3), dir);
        const QJsonArray columns = book.value("columns").toArray();
        QCOMPARE(columns.size(), 1);
        const QJsonObject span = columns.at(0).toObject();
        QCOMPARE(span.value("min").toInt(), 1);
        QCOMPARE(span.value("max").toInt(), 9);
        // A width of 8.5 characters is stored as Excel stores it: 8.5 digits of
        // 7 pixels plus 5 pixels of padding, in units of one digit, to 1/256.
        QCOMPARE(span.value("width").toDouble(), 9.28515625);
    }

    void numbersThatAreNotFinite()
    {
        ReportData data = shortFieldTable(3);
        data.content.values[1] = std::numeric_limits<float>::infinity();
        data.mean.value = std::numeric_limits<double>::quiet_NaN();
        QTemporaryDir dir;
        const QJsonObject book = writeAndRead(data, dir);
        QVERIFY(!book.isEmpty());
        QCOMPARE(cellValue(book, "B7").toString(), kMissing);
        QCOMPARE(cellValue(book, "C6").toString(), kMissing);
        QCOMPARE(workbookCell(book, "I8").value("type").toString(), QStringLiteral("s"));
        QCOMPARE(cellValue(book, "I8").toString(), kMissing);
        QCOMPARE(workbookCell(book, "I6").value("type").toString(), QStringLiteral("n"));
    }

    void commentLongerThanACell()
    {
        ReportData data = shortFieldTable(3);
        data.comments = QString(40000, QLatin1Char('x'));
        QTemporaryDir dir;
        const QString path = dir.filePath("long.xlsx");
        const ExcelReportResult result = writeExcelReportFile(path, data);
        QVERIFY(result.saved);
        QVERIFY(result.textShortened);
        const QJsonObject book = readWorkbook(path);
        QCOMPARE(cellValue(book, "A13").toString(), QString(32767, QLatin1Char('x')));

        data.comments = QStringLiteral("short");
        const ExcelReportResult plain = writeExcelReportFile(path, data);
        QVERIFY(plain.saved);
        QVERIFY(!plain.textShortened);
    }

    // The block's line stands in the free row above the title; the verdict
    // follows the tolerance text, each row a caption and its text.
    void blockLineAndVerdict_data()
    {
        QTest::addColumn<bool>("band");
        QTest::addColumn<int>("headingRow");
        // 3 values: "next row" is 10; the tolerance on 11, the verdict on 12 to 15.
        QTest::newRow("band on") << true << 17;
        QTest::newRow("band off") << false << 12;
    }

    void blockLineAndVerdict()
    {
        QFETCH(bool, band);
        QFETCH(int, headingRow);
        ReportData data = shortFieldTable(3);
        if (band) {
            data.toleranceText = QStringLiteral("Допуск: [9.6; 10]");
            data.outside = {false, true, false};
            data.verdict = {{"Вне допуска", "1 из 3 (33,3 %)"},
                            {"Заключение", "Не соответствует"},
                            {"Cp", "0,52"},
                            {"Cpk", kMissing}};
        }
        QTemporaryDir dir;
        const QJsonObject book = writeAndRead(data, dir);
        QVERIFY(!book.isEmpty());
        QVERIFY(merged(book, "A3:I3"));
        QCOMPARE(cellValue(book, "A3").toString(), data.blockLine);
        QCOMPARE(cellValue(book, "A4").toString(), QStringLiteral("Отчет о проведении контроля"));
        if (band) {
            QCOMPARE(cellValue(book, "A11").toString(), data.toleranceText);
            for (int i = 0; i < data.verdict.size(); ++i) {
                const int row = 12 + i;
                QVERIFY(merged(book, QString("A%1:C%1").arg(row)));
                QVERIFY(merged(book, QString("D%1:F%1").arg(row)));
                QCOMPARE(cellValue(book, QString("A%1").arg(row)).toString(), data.verdict.at(i).label);
                QCOMPARE(cellValue(book, QString("D%1").arg(row)).toString(), data.verdict.at(i).text);
                QCOMPARE(workbookCell(book, QString("D%1").arg(row)).value("left").toString(),
                         QStringLiteral("thin"));
            }
        }
        QCOMPARE(cellValue(book, QString("A%1").arg(headingRow)).toString(), QStringLiteral("Комментарии"));
        QCOMPARE(cellValue(book, QString("A%1").arg(headingRow + 3)).toString(), data.signature);
    }

    // Out-of-band readings in red, the rest as before; statistics at one decimal.
    void marksAndStatisticFormat()
    {
        ReportData data = shortFieldTable(100);
        data.outside.fill(false, 100);
        for (int i : {0, 39, 40, 99})
            data.outside[i] = true;
        QTemporaryDir dir;
        const QJsonObject book = writeAndRead(data, dir);
        QVERIFY(!book.isEmpty());
        // Groups of 40 rows from row 6: value i is in B, E or H.
        for (int i = 0; i < 100; ++i) {
            const QString name = QString("%1%2").arg(QChar('B' + 3 * (i / 40))).arg(6 + i % 40);
            const QJsonObject value = workbookCell(book, name);
            QCOMPARE(value.value("value").toString(),
                     QString::number(double(data.content.values.at(i)), 'f', 1));
            QCOMPARE(value.value("color").toString(),
                     data.outside.at(i) ? QStringLiteral("FF0000") : QString());
            QCOMPARE(value.value("left").toString(), QStringLiteral("thin"));
            const QString number = QString("%1%2").arg(QChar('A' + 3 * (i / 40))).arg(6 + i % 40);
            QCOMPARE(workbookCell(book, number).value("color").toString(), QString());
        }
        for (int row = 48; row <= 51; ++row) {
            QCOMPARE(workbookCell(book, QString("B%1").arg(row)).value("type").toString(),
                     QStringLiteral("n"));
            QCOMPARE(workbookCell(book, QString("B%1").arg(row)).value("format").toString(),
                     QStringLiteral("0.0"));
        }
    }

    // A reading at four decimals with its mark is wider than its column: the
    // reading and its difference from the mean shrink to their cells instead
    // of being cut off where the next cell begins.
    void longReadingsShrinkToTheirCells()
    {
        ReportData data = shortFieldTable(3);
        data.content.values = {-12345.6789f, 5.0f, 98765.4321f};
        data.valueDecimals = 4;
        data.differenceDecimals = 4;
        data.outside = {true, false, true};
        data.marks = {BandMark::Below, BandMark::None, BandMark::Above};
        QTemporaryDir dir;
        const QJsonObject book = writeAndRead(data, dir);
        QVERIFY(!book.isEmpty());
        for (int i = 0; i < 3; ++i) {
            const QJsonObject value = workbookCell(book, QString("B%1").arg(6 + i));
            QCOMPARE(value.value("value").toString(),
                     QString::number(double(data.content.values.at(i)), 'f', 4)
                         + (i == 0   ? QStringLiteral(" \u25BC")
                            : i == 2 ? QStringLiteral(" \u25B2")
                                     : QString()));
            QVERIFY(value.value("shrink").toBool());
            QCOMPARE(value.value("color").toString(), i == 1 ? QString() : QStringLiteral("FF0000"));
            QVERIFY(workbookCell(book, QString("C%1").arg(6 + i)).value("shrink").toBool());
        }
        // The headings keep their size.
        QVERIFY(!workbookCell(book, QStringLiteral("A5")).value("shrink").toBool());
    }

    // Each marked reading carries its mark after the number; the legend takes
    // the first free row below the table and the statistics, also where the
    // table's first group ends on the page's last row.
    void markLegendBelowTheTable_data()
    {
        QTest::addColumn<int>("values");
        QTest::addColumn<int>("legendRow");
        QTest::newRow("3 values, below the statistics") << 3 << 10;
        QTest::newRow("group 1 exactly full") << 40 << 46;
        QTest::newRow("first page full") << 120 << 52;
        QTest::newRow("second page begins") << 121 << 52;
    }

    void markLegendBelowTheTable()
    {
        QFETCH(int, values);
        QFETCH(int, legendRow);
        ReportData data = shortFieldTable(values);
        data.outside.fill(false, values);
        data.marks.fill(BandMark::None, values);
        data.outside[0] = data.outside[values - 1] = true;
        data.marks[0] = BandMark::Below;
        data.marks[values - 1] = BandMark::Above;
        data.markLegend = QStringLiteral("\u25B2 — выше Max, \u25BC — ниже Min");
        QTemporaryDir dir;
        const QJsonObject book = writeAndRead(data, dir);
        QVERIFY(!book.isEmpty());
        QCOMPARE(cellValue(book, QString("A%1").arg(legendRow)).toString(), data.markLegend);
        QVERIFY(merged(book, QString("A%1:I%1").arg(legendRow)));
        // Every reading's cells are there, the marked ones with their marks.
        const QJsonObject cells = book.value("cells").toObject();
        int numbers = 0;
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            const QJsonObject cell = it.value().toObject();
            const QChar column = it.key().at(0);
            if (cell.value("type").toString() != QStringLiteral("n")
                || !(column == 'A' || column == 'D' || column == 'G'))
                continue;
            const int number = cell.value("value").toInt();
            const QString value = cells.value(QChar(column.unicode() + 1) + it.key().mid(1))
                                      .toObject()
                                      .value("value")
                                      .toString();
            const QString expected = QString::number(double(data.content.values.at(number - 1)), 'f', 1);
            QCOMPARE(value, number == 1        ? expected + QStringLiteral(" \u25BC")
                            : number == values ? expected + QStringLiteral(" \u25B2")
                                               : expected);
            ++numbers;
        }
        QCOMPARE(numbers, values);
    }

    // One row per reading: its number, the reading as a number cell holding
    // the reading's own decimal, and whether it lies in the band.
    void dataSheet_data()
    {
        QTest::addColumn<QVector<float>>("values");
        QTest::addColumn<QVector<bool>>("outside"); // empty: band off
        QTest::newRow("band on") << QVector<float>{9.56f, 9.8f, 10.05f, 9.6f}
                                 << QVector<bool>{true, false, true, false};
        QTest::newRow("band off") << QVector<float>{0.7f, -12.37f, 100.0f} << QVector<bool>{};
        QTest::newRow("huge values and no number")
            << QVector<float>{1e6f, 3.0e38f, -3.0e38f, std::numeric_limits<float>::quiet_NaN()}
            << QVector<bool>{true, true, true, true};
    }

    void dataSheet()
    {
        QFETCH(QVector<float>, values);
        QFETCH(QVector<bool>, outside);
        ReportData data = shortFieldTable(values.size());
        data.content.values = values;
        data.outside = outside;
        QTemporaryDir dir;
        const QJsonObject book = writeAndRead(data, dir);
        QVERIFY(!book.isEmpty());
        const QJsonArray rows = book.value("dataRows").toArray();
        QCOMPARE(rows.size(), values.size() + 1);
        const int columns = outside.isEmpty() ? 2 : 3;
        const QStringList headers = QStringList{"Номер", "Значение", "В допуске"}.mid(0, columns);
        for (int c = 0; c < columns; ++c)
            QCOMPARE(rows.at(0).toArray().at(c).toObject().value("value").toString(), headers.at(c));
        for (int i = 0; i < values.size(); ++i) {
            const QJsonArray row = rows.at(i + 1).toArray();
            QCOMPARE(row.size(), columns);
            QCOMPARE(row.at(0).toObject().value("type").toString(), QStringLiteral("n"));
            QCOMPARE(row.at(0).toObject().value("value").toInt(), i + 1);
            const QJsonObject value = row.at(1).toObject();
            if (std::isfinite(values.at(i))) {
                QCOMPARE(value.value("type").toString(), QStringLiteral("n"));
                QCOMPARE(value.value("value").toDouble(), readingAsDecimal(values.at(i)));
            } else {
                QCOMPARE(value.value("value").toString(), kMissing);
            }
            if (!outside.isEmpty()) {
                QCOMPARE(row.at(2).toObject().value("type").toString(), QStringLiteral("b"));
                QCOMPARE(row.at(2).toObject().value("value").toBool(), !outside.at(i));
            }
        }
        QCOMPARE(rows.at(1).toArray().at(1).toObject().value("value").toDouble(),
                 values.first() == 9.56f ? 9.56 : readingAsDecimal(values.first()));
    }

    // Under a locale whose numbers have a decimal comma every number of the
    // workbook is still written with a point: readings, statistics, column
    // widths, margins. A comma there spoils the file (Excel refuses it,
    // LibreOffice reads 50,8 as 50).
    void numbersUnderACommaLocale()
    {
        ReportData data = shortFieldTable(300);
        data.outside.fill(false, 300);
        data.mean.value = 50.25;
        data.stdev.value = 0.125;
        QTemporaryDir dir;
        const QString path = dir.filePath("report.xlsx");
        {
            const RussianCLocale russian;
            QVERIFY(russian.isActive());
            QVERIFY(writeExcelReportFile(path, data).saved);
        }
        const QByteArray commas = runReader(QStringLiteral("/usr/bin/python3"),
                                            {"-c", QString::fromLatin1(kCommaNumbersScript), path});
        QCOMPARE(QJsonDocument::fromJson(commas).array(), QJsonArray());
        const QJsonObject book = readWorkbook(path);
        const QJsonArray rows = book.value("dataRows").toArray();
        QCOMPARE(rows.size(), 301);
        for (int i = 0; i < 300; ++i)
            QCOMPARE(rows.at(i + 1).toArray().at(1).toObject().value("value").toDouble(),
                     readingAsDecimal(data.content.values.at(i)));
        const QJsonObject values = cellValues(book);
        QVERIFY(std::find(values.begin(), values.end(), QJsonValue(50.25)) != values.end());
        QVERIFY(std::find(values.begin(), values.end(), QJsonValue(0.125)) != values.end());
    }

    // A4 portrait, a page break after each 45-row page of the sheet: printed
    // page k begins with page k's header row.
    void printedPagesFollowTheSheetPages()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("pages.xlsx");
        QVERIFY(writeExcelReportFile(path, shortFieldTable(300)).saved);
        const QJsonObject setup = readWorkbook(path).value("pageSetup").toObject();
        QCOMPARE(setup.value("paper").toInt(), 9);
        QCOMPARE(setup.value("orientation").toString(), QStringLiteral("portrait"));
        // Excel ignores manual breaks on a sheet scaled to fit.
        QCOMPARE(setup.value("fitToPage").toBool(), false);
        QCOMPARE(setup.value("printArea").toArray(), QJsonArray{"$A$1:$I$140"});
        QCOMPARE(setup.value("rowBreaks").toArray(), (QJsonArray{45, 90, 135}));

        const QString pdf = printWithLibreOffice(path, dir.path());
        QVERIFY(!pdf.isEmpty());
        static const QRegularExpression header(QStringLiteral("^\\s*Номер\\s+0001\\s+X\u0305 - x"));
        static const QRegularExpression valueRow(
            QStringLiteral("^\\s*(\\d+)\\s+\\d+\\.\\d\\s+-?\\d+\\.\\d(\\s|$)"));
        // Sheet page 1 holds values 1 to 120 (rows 6 to 45), page 2 121 to 249
        // (48 to 90), page 3 250 to 300 (93 to 135).
        const int firstValue[] = {1, 121, 250};
        const int lastFirstColumn[] = {40, 163, 292};
        for (int page = 1; page <= 3; ++page) {
            QStringList lines = printedLines(pdf, page);
            QVERIFY(lines.size() > 2);
            // Each printed page opens with the report's header and ends with its number.
            QVERIFY2(lines.takeFirst().trimmed()
                         == QStringLiteral("Отчет № 17/2024-К · Фланец 0001 · 01.02.2024"),
                     qPrintable(lines.join('\n')));
            // The pages are counted through both sheets.
            const QString footer = lines.takeLast().trimmed();
            QVERIFY2(footer.contains(QRegularExpression(QStringLiteral("^стр. %1 из \\d+$").arg(page))),
                     qPrintable(footer));
            int headerLine = -1;
            QVector<int> numbers;
            for (int i = 0; i < lines.size(); ++i) {
                if (headerLine < 0 && header.match(lines.at(i)).hasMatch())
                    headerLine = i;
                const QRegularExpressionMatch row = valueRow.match(lines.at(i));
                if (row.hasMatch()) {
                    QVERIFY2(headerLine >= 0, qPrintable(lines.at(i)));
                    numbers.append(row.captured(1).toInt());
                }
            }
            QVERIFY2(page == 1 ? headerLine >= 0 : headerLine == 0, qPrintable(lines.join('\n')));
            QVERIFY(!numbers.isEmpty());
            QCOMPARE(numbers.first(), firstValue[page - 1]);
            QCOMPARE(numbers.last(), lastFirstColumn[page - 1]);
        }
    }

    // The workbook tells what it is, as the PDF does, and which program made it.
    void properties_data()
    {
        QTest::addColumn<QString>("company");
        QTest::addColumn<QString>("application");
        QTest::newRow("every property") << "ООО Ромашка"
                                        << "ZRV 9.9.9";
        QTest::newRow("markup characters") << "Ромашка & <Сыновья>"
                                           << "ZRV <&> 1";
        QTest::newRow("no company") << ""
                                    << "ZRV 9.9.9";
    }

    void properties()
    {
        QFETCH(QString, company);
        QFETCH(QString, application);
        ReportData data = shortFieldTable(60);
        data.company = company;
        data.keywords = QStringLiteral("Отчет № 17; Фланец 0001; 01.02.2024");
        data.creator = application;
        QTemporaryDir dir;
        const QJsonObject book = writeAndRead(data, dir);
        QVERIFY(!book.isEmpty());
        const QJsonObject properties = book.value("properties").toObject();
        QCOMPARE(properties.value("title").toString(), data.documentTitle);
        QCOMPARE(properties.value("subject").toString(), data.subject);
        QCOMPARE(properties.value("creator").toString(), data.author);
        QCOMPARE(properties.value("keywords").toString(), data.keywords);
        QCOMPARE(properties.value("company").toString(), company);
        QCOMPARE(properties.value("application").toString(), application);
        // The package is otherwise intact: the cells read as before.
        QCOMPARE(workbookCell(book, "A4").value("value").toString(), data.title);
        QCOMPARE(book.value("dataRows").toArray().size(), 61);
    }

    void failedSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("missing-folder/report.xlsx");
        QVERIFY(!writeExcelReportFile(path, shortFieldTable(3)).saved);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }
};

QTEST_MAIN(TestExcelReport)
#include "tst_excelreport.moc"
