// The plain functions behind the reports: field rows, texts, proposed file
// name, locked-file check, Excel sheet arithmetic, pages of the PDF value table.
#include "filefaults.h"
#include "report/excellayout.h"
#include "report/exportpath.h"
#include "report/fieldtable.h"
#include "report/reporttexts.h"
#include "report/savefailure.h"
#include "report/valuetablepages.h"
#include "reporttestdata.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <limits>

Q_DECLARE_METATYPE(QVector<FieldTableRow>)
Q_DECLARE_METATYPE(QVector<ReportField>)
Q_DECLARE_METATYPE(ExcelCell)
Q_DECLARE_METATYPE(QVector<ExcelCell>)

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

FieldTableRow section(const QString &text)
{
    return {true, text, QString()};
}
FieldTableRow field(const QString &label, const QString &value)
{
    return {false, label, value};
}

} // namespace

class TestReportHelpers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void fieldRows_data()
    {
        QTest::addColumn<QVector<ReportField>>("fields");
        QTest::addColumn<bool>("includeEmpty");
        QTest::addColumn<QVector<FieldTableRow>>("rows");

        const QVector<ReportField> mixed = {{"Компания", "ООО", "Данные о компании"},
                                            {"Город", "", "Данные о компании"},
                                            {"Номер отчета", "", "Данные об отчете"},
                                            {"Дата", "01.02.2024", "Данные об отчете"},
                                            {"Название прибора", "", "Данные о приборе"}};
        QTest::newRow("empty fields left out")
            << mixed << false
            << QVector<FieldTableRow>{section("Данные о компании"), field("Компания", "ООО"),
                                      section("Данные об отчете"), field("Дата", "01.02.2024")};
        QTest::newRow("empty fields printed")
            << mixed << true
            << QVector<FieldTableRow>{section("Данные о компании"), field("Компания", "ООО"),
                                      field("Город", ""),           section("Данные об отчете"),
                                      field("Номер отчета", ""),    field("Дата", "01.02.2024"),
                                      section("Данные о приборе"),  field("Название прибора", "")};
        QTest::newRow("only the date filled")
            << QVector<ReportField>{{"Компания", "", "A"}, {"Дата", "01.02.2024", "B"}, {"Тип", "", "C"}}
            << false << QVector<FieldTableRow>{section("B"), field("Дата", "01.02.2024")};
        QTest::newRow("empty section caption has no row")
            << QVector<ReportField>{{"Компания", "x", ""}, {"Город", "y", ""}} << false
            << QVector<FieldTableRow>{field("Компания", "x"), field("Город", "y")};
        QTest::newRow("a section text seen again starts a new section row")
            << QVector<ReportField>{{"a", "1", "S"}, {"b", "2", "T"}, {"c", "3", "S"}} << false
            << QVector<FieldTableRow>{section("S"),    field("a", "1"), section("T"),
                                      field("b", "2"), section("S"),    field("c", "3")};
        QTest::newRow("values are not trimmed") << QVector<ReportField>{{"a", " ", "S"}} << false
                                                << QVector<FieldTableRow>{section("S"), field("a", " ")};
    }

    void fieldRows()
    {
        QFETCH(QVector<ReportField>, fields);
        QFETCH(bool, includeEmpty);
        QFETCH(QVector<FieldTableRow>, rows);
        QCOMPARE(fieldTableRows(fields, includeEmpty), rows);
    }

    void valueTexts_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<double>("mean");
        QTest::addColumn<QString>("valueText");
        QTest::addColumn<QString>("differenceText");
        // A difference that rounds to zero carries no sign.
        QTest::newRow("one decimal below 100") << 12.34f << 12.3 << "12.3"
                                               << "0.0";
        QTest::newRow("negative zero value") << -0.0f << 0.0 << "0.0"
                                             << "0.0";
        QTest::newRow("tiny negative value") << -0.04f << 1.0 << "0.0"
                                             << "1.0";
        QTest::newRow("rounds, not cuts") << 99.96f << 50.0 << "100.0"
                                          << "-50.0";
        QTest::newRow("exactly 100 has none") << 100.0f << 100.0 << "100"
                                              << "0.0";
        QTest::newRow("large value rounds") << 1234.5f << 1000.0 << "1235"
                                            << "-234.5";
        QTest::newRow("negative") << -150.6f << 0.0 << "-151"
                                  << "150.6";
        QTest::newRow("NaN value") << std::numeric_limits<float>::quiet_NaN() << 1.0 << "\u2014"
                                   << "\u2014";
        QTest::newRow("infinite value") << std::numeric_limits<float>::infinity() << 1.0 << "\u2014"
                                        << "\u2014";
        QTest::newRow("no mean") << 5.0f << kNaN << "5.0"
                                 << "\u2014";
    }

    void valueTexts()
    {
        QFETCH(float, value);
        QFETCH(double, mean);
        QFETCH(QString, valueText);
        QFETCH(QString, differenceText);
        QCOMPARE(reportValueText(value), valueText);
        QCOMPARE(reportDifferenceText(mean, value), differenceText);
    }

    void statisticText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("one decimal") << 10.66 << "10.7";
        QTest::newRow("whole") << 3.0 << "3.0";
        QTest::newRow("rounds to zero from below: no sign") << -0.04 << "0.0";
        QTest::newRow("negative zero") << -0.0 << "0.0";
        QTest::newRow("negative") << -0.06 << "-0.1";
        QTest::newRow("NaN") << kNaN << "\u2014";
        QTest::newRow("infinite") << -kInf << "\u2014";
    }

    void statisticText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(reportStatisticText(value), text);
    }

    void tolerance_data()
    {
        QTest::addColumn<double>("minimum");
        QTest::addColumn<double>("maximum");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << 0.0 << 5.5 << "Допуск: [0; 5.5]";
        QTest::newRow("negative") << -2.5 << 100.0 << "Допуск: [-2.5; 100]";
        QTest::newRow("six significant digits") << 123456.7 << 999999.0 << "Допуск: [123457; 999999]";
        const double unbounded = std::numeric_limits<double>::infinity();
        QTest::newRow("upper limit only") << -unbounded << 6.0 << "Допуск: [-\u221E; 6]";
        QTest::newRow("lower limit only") << 4.0 << unbounded << "Допуск: [4; +\u221E]";
    }

    void tolerance()
    {
        QFETCH(double, minimum);
        QFETCH(double, maximum);
        QFETCH(QString, text);
        QCOMPARE(reportToleranceText(QStringLiteral("Допуск: ["), minimum, maximum), text);
    }

    void valueHeader_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("header");
        QTest::newRow("two words") << "T 0001"
                                   << "0001";
        QTest::newRow("one word") << "T0001"
                                  << "";
        QTest::newRow("runs of white space") << "  T \t 0001   mm "
                                             << "0001";
        QTest::newRow("empty") << ""
                               << "";
    }

    void valueHeader()
    {
        QFETCH(QString, name);
        QFETCH(QString, header);
        QCOMPARE(reportValueHeader(name), header);
    }

    void proposedPath_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("path");
        QTest::newRow("report number") << "17"
                                       << "pdf"
                                       << "C:\\Отчет 17 14_05_09.pdf";
        // Never two spaces in a row in the name.
        QTest::newRow("empty number: one space") << ""
                                                 << "xlsx"
                                                 << "C:\\Отчет 14_05_09.xlsx";
        QTest::newRow("one space: one space") << " "
                                              << "pdf"
                                              << "C:\\Отчет 14_05_09.pdf";
        QTest::newRow("two spaces: one space") << "  "
                                               << "pdf"
                                               << "C:\\Отчет 14_05_09.pdf";
        QTest::newRow("spaces around and inside the number") << " 17 \t  2024 "
                                                             << "pdf"
                                                             << "C:\\Отчет 17 _ 2024 14_05_09.pdf";
        QTest::newRow("runs of spaces inside the number") << "17   А"
                                                          << "pdf"
                                                          << "C:\\Отчет 17 А 14_05_09.pdf";
        // A number with a slash names a file, not a folder.
        QTest::newRow("slash in the number") << "17/2024-К"
                                             << "pdf"
                                             << "C:\\Отчет 17_2024-К 14_05_09.pdf";
        QTest::newRow("every character a name cannot hold")
            << "a/b\\c:d*e?f\"g<h>i|j\tk"
            << "xlsx"
            << "C:\\Отчет a_b_c_d_e_f_g_h_i_j_k 14_05_09.xlsx";
        // The name "Отчет " + number + " 14_05_09.pdf" takes 10 + 1 + 1 + 12 bytes
        // besides the number, leaving 231 bytes: 115 two-byte letters.
        QTest::newRow("long Cyrillic number cut to 255 bytes")
            << QString(130, QChar(0x0416)) << "pdf"
            << "C:\\Отчет " + QString(115, QChar(0x0416)) + " 14_05_09.pdf";
        QTest::newRow("long Latin number cut to 255 bytes")
            << QString(300, QLatin1Char('7')) << "xlsx"
            << "C:\\Отчет " + QString(230, QLatin1Char('7')) + " 14_05_09.xlsx";
        // A character outside the basic plane is never split in two.
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        QString emojis;
        for (int i = 0; i < 60; ++i)
            emojis += emoji;
        QString kept;
        for (int i = 0; i < 57; ++i)
            kept += emoji;
        QTest::newRow("four-byte characters stay whole") << emojis << "pdf"
                                                         << "C:\\Отчет " + kept + " 14_05_09.pdf";
    }

    void fileNameSafe_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("safe");
        QTest::newRow("plain") << "17-2024 К"
                               << "17-2024 К";
        QTest::newRow("slashes") << "17/2024\\К"
                                 << "17_2024_К";
        QTest::newRow("reserved") << ":*?\"<>|"
                                  << "_______";
        QTest::newRow("control characters") << QString("a\nb\rc") + QChar(0x7F) + QChar(0x01) << "a_b_c__";
        QTest::newRow("dots and spaces stay") << " ..x.. "
                                              << " ..x.. ";
        QTest::newRow("empty") << ""
                               << "";
    }

    // The report's number texts: a point in every language, never a negative zero.
    void numberTexts_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<double>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("value") << "value" << 9.56 << "9.6";
        QTest::newRow("value cut to zero") << "value" << -0.04 << "0.0";
        QTest::newRow("negative value") << "value" << -0.06 << "-0.1";
        QTest::newRow("difference from below zero") << "difference" << -0.03 << "0.0";
        QTest::newRow("difference") << "difference" << -0.07 << "-0.1";
        QTest::newRow("statistic") << "statistic" << -0.049 << "0.0";
        QTest::newRow("negative zero") << "statistic" << -0.0 << "0.0";
    }

    void numberTexts()
    {
        QFETCH(QString, kind);
        QFETCH(double, number);
        QFETCH(QString, text);
        QString printed;
        if (kind == QLatin1String("value"))
            printed = reportValueText(float(number));
        else if (kind == QLatin1String("difference"))
            printed = reportDifferenceText(0.0, float(-number));
        else
            printed = reportStatisticText(number);
        QCOMPARE(printed, text);
    }

    // One decimal unless σ needs more to keep two significant digits.
    void statisticDecimals_data()
    {
        QTest::addColumn<double>("stdev");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("printed");
        QTest::newRow("wide spread") << 1.3 << 1 << "1.3";
        QTest::newRow("0.1") << 0.1 << 1 << "0.1";
        QTest::newRow("0.05") << 0.05 << 3 << "0.050";
        QTest::newRow("coating: 0.00226") << 0.00226 << 4 << "0.0023";
        QTest::newRow("0.0000123") << 0.0000123 << 6 << "0.000012";
        QTest::newRow("no spread") << 0.0 << 1 << "0.0";
        QTest::newRow("one reading") << kNaN << 1 << "\u2014";
    }

    void statisticDecimals()
    {
        QFETCH(double, stdev);
        QFETCH(int, decimals);
        QFETCH(QString, printed);
        QCOMPARE(reportStatisticDecimals(stdev), decimals);
        QCOMPARE(reportStatisticText(stdev, reportStatisticDecimals(stdev)), printed);
    }

    // A chosen count of decimals for the readings is the least the
    // statistics print with; a tiny σ still gets its two digits.
    void statisticDecimalsAtAChoice_data()
    {
        QTest::addColumn<double>("stdev");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<int>("decimals");
        QTest::newRow("Авто") << 0.59 << -1 << 1;
        QTest::newRow("2") << 0.59 << 2 << 2;
        QTest::newRow("3") << 0.59 << 3 << 3;
        QTest::newRow("Авто, coating") << 0.00226 << -1 << 4;
        QTest::newRow("2, coating") << 0.00226 << 2 << 4;
        QTest::newRow("4, wide spread") << 12.5 << 4 << 4;
        QTest::newRow("2, one reading") << kNaN << 2 << 2;
    }

    void statisticDecimalsAtAChoice()
    {
        QFETCH(double, stdev);
        QFETCH(int, chosen);
        QFETCH(int, decimals);
        QCOMPARE(reportStatisticDecimals(stdev, chosen), decimals);
    }

    void fileNameSafe()
    {
        QFETCH(QString, text);
        QFETCH(QString, safe);
        QCOMPARE(::fileNameSafe(text), safe);
    }

    // Told apart after a failed save; the reasons a root user cannot meet are skipped.
    void saveFailureCauses()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QCOMPARE(saveFailureCause(dir.filePath(QString(128, QChar(0x0416)) + ".pdf")),
                 SaveFailureCause::NameTooLong);
        QCOMPARE(saveFailureCause(dir.filePath("missing/report.pdf")), SaveFailureCause::FolderNotWritable);
        QCOMPARE(saveFailureCause(dir.filePath("report.pdf")), SaveFailureCause::Unknown);
        QFile file(dir.filePath("read-only.pdf"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(file.setPermissions(QFile::ReadOwner));
        if (QFileInfo(file).isWritable())
            QSKIP("files without write permission stay writable for this user");
        QCOMPARE(saveFailureCause(file.fileName()), SaveFailureCause::FileOpen);
    }

    void proposedPath()
    {
        QFETCH(QString, number);
        QFETCH(QString, extension);
        QFETCH(QString, path);
        QVERIFY(path.mid(QStringLiteral("C:\\").size()).toUtf8().size() <= 255);
        QCOMPARE(proposedReportPath(QStringLiteral("C:\\"), QStringLiteral("Отчет"), number, QTime(14, 5, 9),
                                    extension),
                 path);
    }

    // Long numbers are cut on a character boundary so that the name, with
    // room the caller keeps, fits 255 bytes of UTF-8.
    void proposedNameFits_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<int>("reserved");
        QTest::addColumn<int>("keptCharacters"); // of the number; -1: all
        const QString latin300 = QString(300, QLatin1Char('7'));
        const QString cyrillic130 = QString(130, QChar(0x0416)); // Ж: two bytes each
        QString emoji;
        for (int i = 0; i < 120; ++i)
            emoji += QString::fromUcs4(U"\U0001F600"); // four bytes, a surrogate pair
        // 255 - "Отчет " (11) - " 14_05_09.pdf" (13) = 231 bytes for the number.
        QTest::newRow("300 Latin characters") << latin300 << 0 << 231;
        QTest::newRow("130 Cyrillic characters") << cyrillic130 << 0 << 115;
        QTest::newRow("emoji: pairs kept whole") << emoji << 0 << 2 * 57;
        QTest::newRow("room kept for the caller") << latin300 << 31 << 200;
        QTest::newRow("short number untouched") << QStringLiteral("17-Ж") << 0 << -1;
        QTest::newRow("cut leaves no space before the time")
            << QString(230, QLatin1Char('7')) + QStringLiteral(" 8") << 0 << 230;
    }

    void proposedNameFits()
    {
        QFETCH(QString, number);
        QFETCH(int, reserved);
        QFETCH(int, keptCharacters);
        const QString path = proposedReportPath(QStringLiteral("/tmp/"), QStringLiteral("Отчет"), number,
                                                QTime(14, 5, 9), QStringLiteral("pdf"), reserved);
        const QString name = path.mid(5);
        QVERIFY2(name.toUtf8().size() + reserved <= 255, qPrintable(QString::number(name.toUtf8().size())));
        // Whole characters only: the UTF-8 form reads back unchanged.
        QCOMPARE(QString::fromUtf8(name.toUtf8()), name);
        const QString kept = keptCharacters < 0 ? number : number.left(keptCharacters);
        QCOMPARE(name, QStringLiteral("Отчет ") + kept + QStringLiteral(" 14_05_09.pdf"));
        QVERIFY(!name.contains(QStringLiteral("  ")));
    }

    void defaultFolder()
    {
#ifdef Q_OS_WIN
        QCOMPARE(defaultReportFolder(), QStringLiteral("C:\\"));
#else
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString expected = QFileInfo(documents).isDir() ? documents : QDir::homePath();
        QCOMPARE(defaultReportFolder(), expected + "/");
#endif
    }

    void fileLocked_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("locked");
        QTest::newRow("no file") << "missing" << false;
        QTest::newRow("writable file") << "writable" << false;
        QTest::newRow("folder") << "folder" << true;
        QTest::newRow("read-only file") << "read-only" << true;
    }

    void fileLocked()
    {
        QFETCH(QString, kind);
        QFETCH(bool, locked);
        QTemporaryDir dir;
        const QString path = dir.filePath("report.pdf");
        if (kind == "writable" || kind == "read-only") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("old");
        }
        if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir("report.pdf"));
        if (kind == "read-only" && !makeUnwritable(path))
            QSKIP("no way to make a file unwritable for this user here");
        QCOMPARE(isFileLocked(path), locked);
        if (kind == "read-only")
            makeWritable(path);
        if (kind == "writable" || kind == "missing")
            QCOMPARE(QFile::exists(path), kind == "writable");
    }

    void logoAndImageRows()
    {
        QCOMPARE(excelLogoRows(0), 1);
        QCOMPARE(excelLogoRows(26), 6); // 26 / 4.5 + 1 = 6.8
        QCOMPARE(excelLogoRows(132), 30);
        QCOMPARE(excelLogoRows(1e9), kExcelMaxLogoRows);
        QCOMPARE(excelLogoRows(kNaN), 0);
        QCOMPARE(excelImageRows(313), 17);
        QCOMPARE(excelImageRows(320), 17);
        QCOMPARE(excelImageRows(321), 18);
        QCOMPARE(excelImageRows(0), 1);
    }

    void sheetLayout_data()
    {
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("values");
        QTest::addColumn<QVector<ExcelCell>>("headers");
        QTest::addColumn<int>("lastIndex");
        QTest::addColumn<ExcelCell>("lastNumber");
        QTest::addColumn<ExcelCell>("statistics"); // row, label column
        QTest::addColumn<int>("nextRow");

        QTest::newRow("3 values") << 3 << 3 << QVector<ExcelCell>{{5, 1, false}} << 2
                                  << ExcelCell{8, 1, false} << ExcelCell{5, 8, false} << 10;
        QTest::newRow("group 1 exactly full")
            << 3 << 40 << QVector<ExcelCell>{{5, 1, false}, {5, 4, true}} << 39 << ExcelCell{45, 1, false}
            << ExcelCell{5, 8, false} << 45;
        QTest::newRow("third group") << 3 << 81
                                     << QVector<ExcelCell>{{5, 1, false}, {5, 4, true}, {5, 7, true}} << 80
                                     << ExcelCell{6, 7, true} << ExcelCell{47, 1, false} << 52;
        QTest::newRow("page 2 begins")
            << 3 << 121 << QVector<ExcelCell>{{5, 1, false}, {5, 4, true}, {5, 7, true}, {47, 1, false}}
            << 120 << ExcelCell{48, 1, false} << ExcelCell{47, 8, false} << 52;
        QTest::newRow("page 2 ends at row 90")
            << 3 << 249 << QVector<ExcelCell>{{5, 1, false}, {5, 4, true},  {5, 7, true},  {47, 1, false},
                                              {47, 4, true}, {47, 7, true}, {92, 1, false}}
            << 248 << ExcelCell{90, 7, true} << ExcelCell{92, 8, false} << 97;
        QTest::newRow("page 3 as long as page 2")
            << 3 << 334 << QVector<ExcelCell>{{5, 1, false}, {5, 4, true},  {5, 7, true},   {47, 1, false},
                                              {47, 4, true}, {47, 7, true}, {92, 1, false}, {92, 4, true}}
            << 333 << ExcelCell{134, 4, true} << ExcelCell{92, 8, false} << 135;
        QTest::newRow("title below a tall logo") << 30 << 1 << QVector<ExcelCell>{{32, 1, false}} << 0
                                                 << ExcelCell{33, 1, false} << ExcelCell{32, 8, false} << 37;
        // A logo taller than the first page: that page reaches to row 90.
        QTest::newRow("first values below row 45")
            << 60 << 30 << QVector<ExcelCell>{{62, 1, false}, {62, 4, true}} << 29 << ExcelCell{64, 4, true}
            << ExcelCell{62, 8, false} << 90;
    }

    void sheetLayout()
    {
        QFETCH(int, top);
        QFETCH(int, values);
        QFETCH(QVector<ExcelCell>, headers);
        QFETCH(int, lastIndex);
        QFETCH(ExcelCell, lastNumber);
        QFETCH(ExcelCell, statistics);
        QFETCH(int, nextRow);
        const ExcelValueTableLayout layout = excelValueTableLayout(top, values);
        QCOMPARE(layout.titleRow, top + 1);
        QCOMPARE(layout.headers, headers);
        QCOMPARE(layout.numbers.size(), values);
        QCOMPARE(layout.numbers.first(), (ExcelCell{top + 3, 1, false}));
        QCOMPARE(layout.numbers.at(lastIndex), lastNumber);
        QCOMPARE(layout.statisticsRow, statistics.row);
        QCOMPARE(layout.statisticsLabelColumn, statistics.column);
        QCOMPARE(layout.statisticsValueColumn, statistics.column + 1);
        QCOMPARE(layout.nextRow, nextRow);
        // No two values share a cell.
        QSet<QPair<int, int>> used;
        for (const ExcelCell &cell : layout.numbers)
            used.insert({cell.row, cell.column});
        QCOMPARE(used.size(), values);
    }

    void valueTablePages_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("firstBreak");
        QTest::addColumn<int>("perPage");
        QTest::addColumn<int>("copies");
        QTest::newRow("breaks unknown") << 1000 << 0 << 0 << 0;
        QTest::newRow("one page") << 10 << 14 << 50 << 0;
        QTest::newRow("two pages") << 60 << 14 << 50 << 0;
        QTest::newRow("three pages") << 114 << 14 << 50 << 0;
        QTest::newRow("one row on a fourth page") << 115 << 14 << 50 << 1;
        QTest::newRow("four full pages") << 164 << 14 << 50 << 1;
        QTest::newRow("many pages") << 65536 << 14 << 50 << 1309;
    }

    void valueTablePages()
    {
        QFETCH(int, rows);
        QFETCH(int, firstBreak);
        QFETCH(int, perPage);
        QFETCH(int, copies);
        const ValueTablePages pages = planValueTablePages(rows, firstBreak, perPage);
        QCOMPARE(pages.copiedPages, copies);
        // Every row of the table is shown once: by the document or on a copy.
        QVector<int> shown(rows, 0);
        const int documentRows = pages.documentRows(rows);
        for (int row = 0; row < documentRows; ++row)
            ++shown[pages.tableRow(row)];
        for (int copy = 1; copy <= pages.copiedPages; ++copy)
            for (int row = firstBreak; row < firstBreak + perPage; ++row)
                ++shown[pages.copiedRow(copy, row)];
        QCOMPARE(shown, QVector<int>(rows, 1));
        if (copies > 0) {
            // The document keeps the first two pages and the last.
            QCOMPARE(pages.tableRow(firstBreak + perPage - 1), firstBreak + perPage - 1);
            QCOMPARE(pages.tableRow(documentRows - 1), rows - 1);
            QVERIFY(documentRows - (firstBreak + perPage) <= perPage);
        }
    }

    // A row two lines high: the copies end before its page; the document
    // holds every row from there.
    void copiesBeforeATallRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("copies");
        QTest::addColumn<bool>("planKept");
        // 1000 rows, the second page from row 14, 50 rows a page: 18 copies
        // of the second page (rows 64 to 963).
        QTest::newRow("on the first page") << 10 << 0 << false;
        QTest::newRow("on the second page") << 63 << 0 << false;
        QTest::newRow("on the first copied page") << 64 << 0 << true;
        QTest::newRow("on the second copied page") << 114 << 1 << true;
        QTest::newRow("last row of a copied page") << 163 << 1 << true;
        QTest::newRow("on the last page") << 999 << 18 << true;
    }

    void copiesBeforeATallRow()
    {
        QFETCH(int, row);
        QFETCH(int, copies);
        QFETCH(bool, planKept);
        constexpr int rows = 1000, firstBreak = 14, perPage = 50;
        const ValueTablePages planned = planValueTablePages(rows, firstBreak, perPage);
        QCOMPARE(planned.copiedPages, 18);
        const ValueTablePages pages = planned.copiesBefore(row);
        QCOMPARE(pages.copiedPages, copies);
        QCOMPARE(pages.firstBreak, planKept ? firstBreak : 0);
        // Every row is shown once; the tall row and all after it by the document.
        QVector<int> shown(rows, 0);
        const int documentRows = pages.documentRows(rows);
        for (int r = 0; r < documentRows; ++r)
            ++shown[pages.tableRow(r)];
        for (int copy = 1; copy <= pages.copiedPages; ++copy)
            for (int r = firstBreak; r < firstBreak + perPage; ++r) {
                QVERIFY(pages.copiedRow(copy, r) < row);
                ++shown[pages.copiedRow(copy, r)];
            }
        QCOMPARE(shown, QVector<int>(rows, 1));
    }

    void printedPages_data()
    {
        QTest::addColumn<int>("copies");
        QTest::addColumn<int>("templatePage");
        QTest::addColumn<QVector<int>>("documentPages");
        QTest::addColumn<QVector<int>>("copyNumbers");
        QTest::newRow("no copies") << 0 << 0 << QVector<int>{0, 1, 2} << QVector<int>{0, 0, 0};
        QTest::newRow("table from the first page")
            << 2 << 1 << QVector<int>{0, 1, 1, 1, 2, 3} << QVector<int>{0, 0, 1, 2, 0, 0};
        QTest::newRow("table pushed to the second page")
            << 1 << 2 << QVector<int>{0, 1, 2, 2, 3} << QVector<int>{0, 0, 0, 1, 0};
    }

    void printedPages()
    {
        QFETCH(int, copies);
        QFETCH(int, templatePage);
        QFETCH(QVector<int>, documentPages);
        QFETCH(QVector<int>, copyNumbers);
        ValueTablePages pages;
        pages.firstBreak = 14;
        pages.rowsPerPage = 50;
        pages.copiedPages = copies;
        for (int printed = 0; printed < documentPages.size(); ++printed) {
            const ValueTablePages::PrintedPage page = pages.printedPage(printed, templatePage);
            QCOMPARE(page.documentPage, documentPages.at(printed));
            QCOMPARE(page.copy, copyNumbers.at(printed));
        }
    }
};

QTEST_MAIN(TestReportHelpers)
#include "tst_reporthelpers.moc"
