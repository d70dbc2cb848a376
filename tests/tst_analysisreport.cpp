// The process analysis in the reports, through the real window: its check
// box kept in the settings, the PDF's pages after the statistics and the
// workbook's sheet read back by poppler and openpyxl, and both reports as
// before while the box is cleared.
#include "configfile.h"
#include "exportanswerer.h"
#include "mainwindowtester.h"
#include "openedfiles.h"
#include "pdfreader.h"
#include "toolrun.h"
#include "windowtestmain.h"
#include "xlsxreader.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kReadings = 40;
constexpr int kOutlierIndex = 25; // measurement 26
constexpr double kLower = 9.0;
constexpr double kUpper = 11.0;
// The PDF's and the workbook's chart sizes in pixels.
const QSize kPdfChart(600, 280);
const QSize kExcelChart(522, 280);

// Alternating about 10.05, so that no run rule is broken, and one reading far
// above: rule 1 alone, at measurement 26.
QVector<float> ruleOneSeries()
{
    QVector<float> values;
    for (int i = 0; i < kReadings; ++i)
        values.append(i % 2 == 0 ? 10.2f : 9.9f);
    values[kOutlierIndex] = 11.5f;
    return values;
}

// The figures worked out here, apart from the program: σ within from the
// average moving range, σ overall the sample deviation.
struct Reference
{
    int n = 0;
    double mean = 0.0;
    double sigmaWithin = 0.0;
    double sigmaOverall = 0.0;
    double cp = 0.0, cpk = 0.0, pp = 0.0, ppk = 0.0;
    double observedPpm = 0.0;
    QVector<int> beyondThreeSigma; // measurement numbers
};

Reference reference(const QVector<float> &readings, double lower, double upper)
{
    Reference r;
    QVector<double> x;
    for (float v : readings)
        x.append(double(v));
    r.n = x.size();
    double sum = 0.0;
    for (double v : x)
        sum += v;
    r.mean = sum / r.n;
    double ranges = 0.0;
    for (int i = 1; i < r.n; ++i)
        ranges += std::fabs(x[i] - x[i - 1]);
    r.sigmaWithin = ranges / (r.n - 1) / 1.128;
    double squares = 0.0;
    for (double v : x)
        squares += (v - r.mean) * (v - r.mean);
    r.sigmaOverall = std::sqrt(squares / (r.n - 1));
    r.cp = (upper - lower) / (6.0 * r.sigmaWithin);
    r.cpk = std::min(upper - r.mean, r.mean - lower) / (3.0 * r.sigmaWithin);
    r.pp = (upper - lower) / (6.0 * r.sigmaOverall);
    r.ppk = std::min(upper - r.mean, r.mean - lower) / (3.0 * r.sigmaOverall);
    int outside = 0;
    for (int i = 0; i < r.n; ++i) {
        if (x[i] < lower || x[i] > upper)
            ++outside;
        if (std::fabs(x[i] - r.mean) > 3.0 * r.sigmaWithin)
            r.beyondThreeSigma.append(i + 1);
    }
    r.observedPpm = 1e6 * outside / r.n;
    return r;
}

QString fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

bool near(double actual, double expected)
{
    return std::fabs(actual - expected) <= 1e-9 * std::max(1.0, std::fabs(expected));
}

int pdfPageCount(const QString &path)
{
    const QString info = QString::fromUtf8(runReader(QStringLiteral("pdfinfo"), {path}));
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(info);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The first page (from 1) whose text holds `text`; 0: none.
int pageWith(const QString &path, int pages, const QString &text)
{
    for (int page = 1; page <= pages; ++page)
        if (pdfText(path, page).contains(text))
            return page;
    return 0;
}

// The last `count` words of the first line that starts with the label and a space.
QStringList lineNumbers(const QString &text, const QString &label, int count)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(label + QLatin1Char(' '))) {
            const QStringList words = trimmed.split(space, Qt::SkipEmptyParts);
            return words.mid(words.size() - count);
        }
    }
    return {};
}

// The row of a sheet whose first cell holds the text; empty: none.
QJsonArray sheetRow(const QJsonArray &rows, const QString &first)
{
    for (const QJsonValue &row : rows) {
        const QJsonArray cells = row.toArray();
        if (!cells.isEmpty() && cells.at(0).toObject().value(QStringLiteral("value")).toString() == first)
            return cells;
    }
    return {};
}

double cellNumber(const QJsonArray &cells, int column)
{
    const QJsonObject cell = cells.at(column).toObject();
    if (cell.value(QStringLiteral("type")).toString() != QStringLiteral("n"))
        return qQNaN();
    return cell.value(QStringLiteral("value")).toDouble(qQNaN());
}

QStringList sheetNames(const QJsonObject &book)
{
    QStringList names;
    for (const QJsonValue &name : book.value(QStringLiteral("sheetNames")).toArray())
        names.append(name.toString());
    return names;
}

} // namespace

class TestAnalysisReport : public QObject
{
    Q_OBJECT

private:
    OpenedFiles opened;
    QScopedPointer<MainWindow> window;
    QTemporaryDir dir;

    Ui::MainWindow *ui() { return MainWindowTester::ui(*window); }

    void prepareWindow(bool english)
    {
        freshSettingsFolder();
        window.reset(new MainWindow(noPorts()));
        if (english)
            ui()->actionEN->trigger();
        window->blockList().showRead({{"T 0001", ruleOneSeries()}});
        MainWindowTester::showBlock(*window, 0);
        ui()->report_date_edit->setDate(QDate(2024, 2, 1));
        ui()->report_graph_checkbox->setChecked(false);
        ui()->report_diagram_checkbox->setChecked(false);
        ui()->set_limits_checkbox->setChecked(true);
        ui()->limits_min->setValue(kLower);
        ui()->limits_max->setValue(kUpper);
    }

    QString exportTo(bool pdf, const QString &name)
    {
        const QString path = dir.filePath(name + (pdf ? ".pdf" : ".xlsx"));
        QFile::remove(path);
        ExportSeen seen;
        ExportAnswerer answerer(&seen, path, false);
        (pdf ? ui()->button_export_to_PDF : ui()->button_export_to_excel)->click();
        return path;
    }

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        QVERIFY(dir.isValid());
        // The series breaks rule 1 at measurement 26 and nothing else, by the reference.
        QCOMPARE(reference(ruleOneSeries(), kLower, kUpper).beyondThreeSigma,
                 QVector<int>{kOutlierIndex + 1});
    }

    void cleanup() { window.reset(); }

    // The box starts cleared, a new settings file has no key for it, and
    // once ticked it is kept across a restart, cleared too.
    void settingKeptAcrossRestart()
    {
        freshSettingsFolder();
        {
            MainWindow first(noPorts());
            QVERIFY(!MainWindowTester::ui(first)->include_analysis_checkbox->isChecked());
            QVERIFY(!readConfig().contains(QStringLiteral("include_analysis")));
            MainWindowTester::ui(first)->include_analysis_checkbox->setChecked(true);
        }
        QCOMPARE(readConfig().value(QStringLiteral("include_analysis")), QJsonValue(true));
        {
            MainWindow second(noPorts());
            QVERIFY(MainWindowTester::ui(second)->include_analysis_checkbox->isChecked());
            MainWindowTester::ui(second)->include_analysis_checkbox->setChecked(false);
        }
        QCOMPARE(readConfig().value(QStringLiteral("include_analysis")), QJsonValue(false));
        MainWindow third(noPorts());
        QVERIFY(!MainWindowTester::ui(third)->include_analysis_checkbox->isChecked());
    }

    void pdfPages_data()
    {
        QTest::addColumn<bool>("english");
        QTest::newRow("russian") << false;
        QTest::newRow("english") << true;
    }

    // On pages of its own after the statistics: the three charts, the
    // capability figures as the reference has them, the broken rule; the
    // PDF without the box has as many pages and the same text as before.
    void pdfPages()
    {
        QFETCH(bool, english);
        prepareWindow(english);
        const QString before = exportTo(true, "before");
        const int pagesBefore = pdfPageCount(before);
        QVERIFY(pagesBefore > 0);
        QCOMPARE(pdfImageCount(before, kPdfChart.width(), kPdfChart.height()), 0);

        ui()->include_analysis_checkbox->setChecked(true);
        const QString with = exportTo(true, "with");
        const int pages = pdfPageCount(with);
        QVERIFY2(pages > pagesBefore, qPrintable(QString::number(pages)));
        QCOMPARE(pdfImageCount(with, kPdfChart.width(), kPdfChart.height()), 3);
        // PDF/A-1b: no image carries a transparency mask.
        QVERIFY(!QString::fromUtf8(runReader(QStringLiteral("pdfimages"), {QStringLiteral("-list"), with}))
                     .contains(QStringLiteral("smask")));

        const QString heading =
            english ? QStringLiteral("Process analysis") : QStringLiteral("Анализ процесса");
        const QString statistics = ui()->stats_label->text();
        const QString rulesHeading =
            english ? QStringLiteral("Broken rules") : QStringLiteral("Нарушения правил");
        const int statisticsPage = pageWith(with, pages, statistics);
        const int analysisPage = pageWith(with, pages, heading);
        QVERIFY(statisticsPage > 0);
        QVERIFY2(analysisPage > statisticsPage,
                 qPrintable(QStringLiteral("%1 %2").arg(statisticsPage).arg(analysisPage)));
        // The pages of the analysis: from its heading to the end of its rules.
        QString analysisText;
        for (int page = analysisPage; page <= pages; ++page)
            analysisText += pdfText(with, page);
        analysisText = analysisText.mid(analysisText.indexOf(heading));
        const int rulesAt = analysisText.indexOf(rulesHeading);
        QVERIFY(rulesAt > 0);
        const QString table = analysisText.left(rulesAt);

        const Reference r = reference(ruleOneSeries(), kLower, kUpper);
        const struct
        {
            const char *label;
            double value;
        } indices[] = {{"Cp", r.cp}, {"Cpk", r.cpk}, {"Pp", r.pp}, {"Ppk", r.ppk}};
        for (const auto &index : indices) {
            const QStringList numbers = lineNumbers(table, QString::fromLatin1(index.label), 3);
            QCOMPARE(numbers.size(), 3);
            QCOMPARE(numbers.at(0), fixed(index.value, 2));
            // The interval holds the index.
            QVERIFY2(numbers.at(1).toDouble() <= index.value && index.value <= numbers.at(2).toDouble(),
                     qPrintable(numbers.join(' ')));
        }
        if (!english) {
            QCOMPARE(lineNumbers(table, QStringLiteral("n"), 1), QStringList{QString::number(r.n)});
            QCOMPARE(lineNumbers(table, QStringLiteral("среднее"), 1), QStringList{fixed(r.mean, 3)});
            QCOMPARE(lineNumbers(table, QStringLiteral("σ внутренняя"), 1),
                     QStringList{fixed(r.sigmaWithin, 4)});
            QCOMPARE(lineNumbers(table, QStringLiteral("σ общая"), 1), QStringList{fixed(r.sigmaOverall, 4)});
            QCOMPARE(lineNumbers(table, QStringLiteral("наблюдаемая доля вне допуска, ppm"), 1),
                     QStringList{fixed(r.observedPpm, 1)});
        }
        const QString rules = analysisText.mid(rulesAt);
        QVERIFY2(rules.contains(english ? QStringLiteral("rule 1: value 26")
                                        : QStringLiteral("правило 1: значение 26")),
                 qPrintable(rules));
        for (int rule = 2; rule <= 5; ++rule)
            QVERIFY(!rules.contains(
                (english ? QStringLiteral("rule %1:") : QStringLiteral("правило %1:")).arg(rule)));

        // Cleared again: the report as before, page for page.
        ui()->include_analysis_checkbox->setChecked(false);
        const QString after = exportTo(true, "after");
        QCOMPARE(pdfPageCount(after), pagesBefore);
        QCOMPARE(pdfText(after), pdfText(before));
        QCOMPARE(pdfImageCount(after, kPdfChart.width(), kPdfChart.height()), 0);
    }

    // Without a band the indices are undefined: "—" in the PDF and text
    // cells in the sheet, the other figures still numbers.
    void withoutBandIndicesAreDashes()
    {
        prepareWindow(false);
        ui()->set_limits_checkbox->setChecked(false);
        ui()->include_analysis_checkbox->setChecked(true);
        const QString pdf = exportTo(true, "noband");
        const int pages = pdfPageCount(pdf);
        const int analysisPage = pageWith(pdf, pages, QStringLiteral("Анализ процесса"));
        QVERIFY(analysisPage > 0);
        const QString table = pdfText(pdf, analysisPage + 1);
        for (const char *index : {"Cp", "Cpk", "Pp", "Ppk"})
            QCOMPARE(lineNumbers(table, QString::fromLatin1(index), 1), QStringList{QStringLiteral("—")});
        QVERIFY(table.contains(QStringLiteral("правило 1: значение 26")));

        const QJsonObject book = readWorkbook(exportTo(false, "noband"));
        const QJsonArray rows = book.value(QStringLiteral("laterSheets"))
                                    .toArray()
                                    .at(0)
                                    .toObject()
                                    .value(QStringLiteral("rows"))
                                    .toArray();
        for (const char *index : {"Cp", "Cpk", "Pp", "Ppk"}) {
            const QJsonArray cells = sheetRow(rows, QString::fromLatin1(index));
            for (int column = 1; column <= 3; ++column)
                QCOMPARE(cells.at(column).toObject().value(QStringLiteral("value")).toString(),
                         QStringLiteral("—"));
        }
        const Reference r = reference(ruleOneSeries(), kLower, kUpper);
        QCOMPARE(cellNumber(sheetRow(rows, QStringLiteral("n")), 1), double(r.n));
        QVERIFY(near(cellNumber(sheetRow(rows, QStringLiteral("σ общая")), 1), r.sigmaOverall));
    }

    void workbookSheet_data()
    {
        QTest::addColumn<bool>("english");
        QTest::newRow("russian") << false;
        QTest::newRow("english") << true;
    }

    // A third sheet with the figures as number cells (interval ends in
    // columns of their own), the broken rule and the three charts; without
    // the box the workbook has the sheets and cells it had.
    void workbookSheet()
    {
        QFETCH(bool, english);
        prepareWindow(english);
        const QJsonObject before = readWorkbook(exportTo(false, "before"));
        const QStringList sheetsBefore = sheetNames(before);
        QCOMPARE(sheetsBefore.size(), 2);
        QVERIFY(before.value(QStringLiteral("laterSheets")).toArray().isEmpty());

        ui()->include_analysis_checkbox->setChecked(true);
        const QJsonObject with = readWorkbook(exportTo(false, "with"));
        const QString sheetName = english ? QStringLiteral("Analysis") : QStringLiteral("Анализ");
        QCOMPARE(sheetNames(with), sheetsBefore + QStringList{sheetName});
        const QJsonObject sheet = with.value(QStringLiteral("laterSheets")).toArray().at(0).toObject();
        QCOMPARE(sheet.value(QStringLiteral("name")).toString(), sheetName);
        const QJsonArray rows = sheet.value(QStringLiteral("rows")).toArray();

        const Reference r = reference(ruleOneSeries(), kLower, kUpper);
        const struct
        {
            const char *label;
            double value;
        } indices[] = {{"Cp", r.cp}, {"Cpk", r.cpk}, {"Pp", r.pp}, {"Ppk", r.ppk}};
        for (const auto &index : indices) {
            const QJsonArray cells = sheetRow(rows, QString::fromLatin1(index.label));
            QVERIFY2(cells.size() >= 4, index.label);
            QVERIFY2(
                near(cellNumber(cells, 1), index.value),
                qPrintable(
                    QStringLiteral("%1 %2 %3").arg(index.label).arg(cellNumber(cells, 1)).arg(index.value)));
            QVERIFY(cellNumber(cells, 2) <= index.value && index.value <= cellNumber(cells, 3));
        }
        if (!english) {
            QCOMPARE(cellNumber(sheetRow(rows, QStringLiteral("n")), 1), double(r.n));
            QVERIFY(near(cellNumber(sheetRow(rows, QStringLiteral("среднее")), 1), r.mean));
            QVERIFY(near(cellNumber(sheetRow(rows, QStringLiteral("σ внутренняя (MR̄ / 1.128)")), 1),
                         r.sigmaWithin));
            QVERIFY(near(cellNumber(sheetRow(rows, QStringLiteral("σ общая")), 1), r.sigmaOverall));
            QVERIFY(near(cellNumber(sheetRow(rows, QStringLiteral("наблюдаемая доля вне допуска, ppm")), 1),
                         r.observedPpm));
        }
        const QString rule =
            english ? QStringLiteral("rule 1: value 26") : QStringLiteral("правило 1: значение 26");
        QVERIFY(!sheetRow(rows, rule).isEmpty());
        const QJsonArray images = sheet.value(QStringLiteral("images")).toArray();
        QCOMPARE(images.size(), 3);
        for (const QJsonValue &image : images) {
            QCOMPARE(image.toObject().value(QStringLiteral("width")).toInt(), kExcelChart.width());
            QCOMPARE(image.toObject().value(QStringLiteral("height")).toInt(), kExcelChart.height());
        }

        // Cleared again: the same sheets and cells as before.
        ui()->include_analysis_checkbox->setChecked(false);
        const QJsonObject after = readWorkbook(exportTo(false, "after"));
        QCOMPARE(sheetNames(after), sheetsBefore);
        QCOMPARE(cellValues(after), cellValues(before));
        QCOMPARE(after.value(QStringLiteral("dataRows")), before.value(QStringLiteral("dataRows")));
        QCOMPARE(after.value(QStringLiteral("images")), before.value(QStringLiteral("images")));
    }
};

ZRV_WINDOW_TEST_MAIN(TestAnalysisReport)
#include "tst_analysisreport.moc"
