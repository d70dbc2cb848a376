// The operator's whole path through the real window, with real input events:
// the simulated instrument (on a pseudo-terminal) is found, the read lists its
// blocks, every block is double-clicked and shown, the tolerance band is
// switched on, and the report goes out as PDF and as Excel. Both files are
// then read back by independent readers (pdftotext; Python's openpyxl).

#include "blocksets.h"
#include "inputevents.h"
#include "mainwindowtester.h"
#include "modalhelper.h"
#include "openedfiles.h"
#include "pdfreader.h"
#include "simulatedlink.h"
#include "windowtestmain.h"
#include "xlsxreader.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDoubleSpinBox>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr int kFoundTimeoutMs = 10000;

// The instrument's blocks: an empty one, one around the 100 boundary and the
// one the report is made of, read last.
QVector<SimulatedBlock> instrumentBlocks()
{
    return {
        {QStringLiteral("Пустой 0001"), {}},
        {QStringLiteral("Lot A 0002"), {142.5f, 99.96f, 100.0f}},
        {QStringLiteral("Т 0003"), {4.81f, 4.79f, 4.83f, 5.2f}},
    };
}

// The table cuts the value's shortest decimal form toward zero at its decimals.
QString tableText(float v)
{
    const int decimals = std::fabs(v) < 100.0f ? 1 : 0;
    char digits[64];
    const std::to_chars_result end =
        std::to_chars(digits, digits + sizeof digits, v, std::chars_format::fixed);
    QString text = QString::fromLatin1(digits, int(end.ptr - digits));
    int point = text.indexOf(QLatin1Char('.'));
    if (point < 0) {
        point = text.size();
        text += QLatin1Char('.');
    }
    text = text.leftJustified(point + 1 + decimals, QLatin1Char('0'), true);
    return decimals == 0 ? text.left(point) : text;
}

// The reports round instead.
QString reportText(float v)
{
    return QString::number(double(v), 'f', std::fabs(v) < 100.0f ? 1 : 0);
}

// The report's text with the side a reading is out of the band on after it.
QString markedReportText(float v, float lower, float upper)
{
    if (v < lower)
        return reportText(v) + QStringLiteral(" \u25BC");
    if (v > upper)
        return reportText(v) + QStringLiteral(" \u25B2");
    return reportText(v);
}

double roundedToOne(double v)
{
    return std::round(v * 10.0) / 10.0;
}

struct Statistics
{
    double min, max, mean, stdev;
};

Statistics statisticsOf(const QVector<float> &values)
{
    Statistics s{values.first(), values.first(), 0, 0};
    for (const float v : values) {
        s.min = qMin(s.min, double(v));
        s.max = qMax(s.max, double(v));
        s.mean += v;
    }
    s.mean /= values.size();
    double q = 0;
    for (const float v : values)
        q += (double(v) - s.mean) * (double(v) - s.mean);
    s.stdev = std::sqrt(q / (values.size() - 1));
    return s;
}

QStringList cellTexts(const QJsonObject &cells)
{
    QStringList texts;
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        if (it.value().isString())
            texts.append(it.value().toString());
    }
    return texts;
}

QVector<double> cellNumbers(const QJsonObject &cells)
{
    QVector<double> numbers;
    for (auto it = cells.begin(); it != cells.end(); ++it) {
        if (it.value().isDouble())
            numbers.append(it.value().toDouble());
    }
    return numbers;
}

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
        QVERIFY(folder.isValid());
    }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    void init()
    {
        freshSettingsFolder();
        opened.urls.clear();
    }

    void operatorPath_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("pdfTitle");
        QTest::addColumn<QString>("excelTitle");
        QTest::addColumn<QString>("companyCaption");
        QTest::addColumn<QString>("operatorCaption");
        QTest::addColumn<QString>("statisticsHeading");
        QTest::addColumn<QString>("numberHeader");
        QTest::addColumn<QString>("tolerance");

        QTest::newRow("russian") << false << QStringLiteral("Отчет о проведении контроля")
                                 << QStringLiteral("ОТЧЕТ О ПРОВЕДЕНИИ КОНТРОЛЯ")
                                 << QStringLiteral("Компания") << QStringLiteral("Оператор")
                                 << QStringLiteral("Статистика") << QStringLiteral("Номер")
                                 << QStringLiteral("Допуск: [4.8; 5]");
        QTest::newRow("english") << true << QStringLiteral("Test report") << QStringLiteral("TEST REPORT")
                                 << QStringLiteral("Company") << QStringLiteral("Operator")
                                 << QStringLiteral("Data statistics") << QStringLiteral("Number")
                                 << QStringLiteral("Tolerance: [4.8; 5]");
    }

    void operatorPath()
    {
        QFETCH(bool, english);
        QFETCH(QString, pdfTitle);
        QFETCH(QString, excelTitle);
        QFETCH(QString, companyCaption);
        QFETCH(QString, operatorCaption);
        QFETCH(QString, statisticsHeading);
        QFETCH(QString, numberHeader);
        QFETCH(QString, tolerance);
        const QVector<SimulatedBlock> blocks = instrumentBlocks();
        const int reported = blocks.size() - 1;
        const QVector<float> values = blocks.at(reported).values;

        InstrumentSimulator instrument;
        instrument.setBlocks(blocks);
        const auto ports = noPorts();
        QVERIFY(plugInWatched(instrument, *ports));

        MainWindow window(ports);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        Ui::MainWindow *ui = MainWindowTester::ui(window);
        if (english)
            clickMenuAction(window, ui->actionEN);
        QCOMPARE(ui->button_read_data->text(),
                 english ? QStringLiteral("Read data") : QStringLiteral("Прочитать данные"));

        // The form, typed in.
        typeInto(ui->company_name, QStringLiteral("ООО «Контроль» 7"));
        typeInto(ui->report_number, QStringLiteral("17"));
        typeInto(ui->report_operator, QStringLiteral("Petrov P."));
        typeInto(ui->limits_min, 4.8);
        typeInto(ui->limits_max, 5.0);

        // Found, then read; the status line says where the instrument is and how the read went.
        auto *linkStatus = window.findChild<QLabel *>(QStringLiteral("link_status_label"));
        auto *readStatus = window.findChild<QLabel *>(QStringLiteral("read_status_label"));
        QVERIFY(QTest::qWaitFor([ui] { return ui->button_read_data->isEnabled(); }, kFoundTimeoutMs));
        QCOMPARE(linkStatus->text(),
                 (english ? QStringLiteral("Instrument on %1") : QStringLiteral("Прибор на %1"))
                     .arg(instrument.portPath()));
        QVERIFY(readStatus->text().isEmpty());
        QTest::mouseClick(ui->button_read_data, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([ui] { return ui->button_read_data->isEnabled(); }, kFoundTimeoutMs));
        QCOMPARE(readStatus->text(),
                 (english ? QStringLiteral("Blocks read: %1") : QStringLiteral("Прочитано блоков: %1"))
                     .arg(blocks.size()));
        QCOMPARE(ui->block_names_list->count(), blocks.size());
        for (int i = 0; i < blocks.size(); ++i)
            QCOMPARE(ui->block_names_list->item(i)->text(), shownName(blocks.at(i)));

        // Every block shown in turn; the reported one last.
        for (int i = 0; i < blocks.size(); ++i) {
            doubleClickRow(ui->block_names_list, i);
            const QVector<float> &shown = blocks.at(i).values;
            QCOMPARE(ui->table_block_data->rowCount(), shown.size());
            for (int r = 0; r < shown.size(); ++r)
                QCOMPARE(ui->table_block_data->item(r, 0)->text(), tableText(shown.at(r)));
            QCOMPARE(ui->button_export_to_PDF->isEnabled(), !shown.isEmpty());
            QCOMPARE(ui->button_export_to_excel->isEnabled(), !shown.isEmpty());
        }
        const Statistics stats = statisticsOf(values);
        QCOMPARE(ui->min_box->value(), roundedToOne(stats.min));
        QCOMPARE(ui->max_box->value(), roundedToOne(stats.max));
        QCOMPARE(ui->mean_box->value(), roundedToOne(stats.mean));
        QCOMPARE(ui->stdev_box->value(), roundedToOne(stats.stdev));

        // The band on: the table marks what its cut text puts outside [4.8; 5.0].
        clickCheckBox(ui->set_limits_checkbox);
        QVERIFY(ui->set_limits_checkbox->isChecked());
        for (int r = 0; r < values.size(); ++r) {
            const double text = tableText(values.at(r)).toDouble();
            const bool out = text < 4.8 || text > 5.0;
            QCOMPARE(ui->table_block_data->item(r, 0)->foreground().color() == QColor(Qt::red), out);
        }
        // The graph goes into the reports, and with it the tolerance text.
        clickCheckBox(ui->report_graph_checkbox);
        QVERIFY(ui->report_graph_checkbox->isChecked());

        const double mean = ui->mean_box->value();
        const QString pdf = folder.filePath(QStringLiteral("%1 отчёт 17.pdf").arg(english ? "en" : "ru"));
        const QString xlsx = folder.filePath(QStringLiteral("%1 отчёт 17.xlsx").arg(english ? "en" : "ru"));

        // PDF, with the empty fields.
        {
            ModalAnswerer modals;
            modals.queueFile(pdf);
            modals.queueButton(QMessageBox::Yes);
            QTest::mouseClick(ui->button_export_to_PDF, Qt::LeftButton);
            QCOMPARE(modals.boxes.size(), 1);
            QCOMPARE(modals.boxes.at(0).text, english
                                                  ? QStringLiteral("Include empty fields into the report?")
                                                  : QStringLiteral("Включать незаполненные поля в отчет?"));
            QCOMPARE(modals.fileDialogProposals.size(), 1);
            QVERIFY2(QFileInfo(modals.fileDialogProposals.at(0))
                         .fileName()
                         .startsWith(english ? QStringLiteral("Report 17 ") : QStringLiteral("Отчет 17 ")),
                     qPrintable(modals.fileDialogProposals.at(0)));
        }
        // Excel, without them.
        {
            ModalAnswerer modals;
            modals.queueFile(xlsx);
            modals.queueButton(QMessageBox::No);
            QTest::mouseClick(ui->button_export_to_excel, Qt::LeftButton);
            QCOMPARE(modals.boxes.size(), 1);
        }
        QCOMPARE(opened.paths(), (QStringList{pdf, xlsx}));

        // The PDF, read back.
        const QString text = pdfText(pdf, kAllPages, PdfText::ReadingOrder);
        QVERIFY(!text.isEmpty());
        for (const QString &expected : {pdfTitle, companyCaption, QStringLiteral("ООО «Контроль» 7"),
                                        operatorCaption, QStringLiteral("Petrov P."), statisticsHeading,
                                        numberHeader, QStringLiteral("0003"), tolerance})
            QVERIFY2(text.contains(expected), qPrintable(expected));
        // The value table, row by row: number, value rounded with its out-of-band mark, mean minus value.
        const QString layout = pdfText(pdf);
        QVERIFY(!layout.isEmpty());
        for (int i = 0; i < values.size(); ++i) {
            const QString difference = QString::number(mean - double(values.at(i)), 'f', 1);
            const QRegularExpression row(
                QStringLiteral("^\\s*%1\\s+%2\\s+%3\\s*$")
                    .arg(i + 1)
                    .arg(QRegularExpression::escape(markedReportText(values.at(i), 4.8f, 5.0f)),
                         QRegularExpression::escape(difference)),
                QRegularExpression::MultilineOption);
            QVERIFY2(layout.contains(row), qPrintable(row.pattern()));
        }
        // Empty fields included: the city caption is there with no value.
        QVERIFY(text.contains(english ? QStringLiteral("City") : QStringLiteral("Город")));
        QVERIFY(!pdfImages(pdf).isEmpty()); // the graph

        // The workbook, read back.
        const QJsonObject book = readWorkbook(xlsx);
        // The report sheet and the sheet of readings as numbers.
        QCOMPARE(book.value(QStringLiteral("sheets")).toInt(), 2);
        const QJsonObject cells = cellValues(book);
        const QStringList texts = cellTexts(cells);
        for (const QString &expected : {excelTitle, companyCaption, QStringLiteral("ООО «Контроль» 7"),
                                        operatorCaption, QStringLiteral("Petrov P."), QStringLiteral("17"),
                                        numberHeader, QStringLiteral("0003"), tolerance})
            QVERIFY2(texts.contains(expected), qPrintable(expected));
        // Empty fields left out.
        QVERIFY(!texts.contains(english ? QStringLiteral("City") : QStringLiteral("Город")));
        // The value table: rows whose first cell is a number hold value and difference as text.
        QVector<QStringList> tableRows;
        for (int r = 1; r < 200; ++r) {
            const QJsonValue number = cells.value(QStringLiteral("A%1").arg(r));
            if (number.isDouble())
                tableRows.append({QString::number(number.toInt()),
                                  cells.value(QStringLiteral("B%1").arg(r)).toString(),
                                  cells.value(QStringLiteral("C%1").arg(r)).toString()});
        }
        QVector<QStringList> expectedRows;
        for (int i = 0; i < values.size(); ++i)
            expectedRows.append({QString::number(i + 1), markedReportText(values.at(i), 4.8f, 5.0f),
                                 QString::number(mean - double(values.at(i)), 'f', 1)});
        QCOMPARE(tableRows, expectedRows);
        // Statistics are numbers in the sheet, unrounded; their format shows
        // what the boxes show.
        const QVector<double> numbers = cellNumbers(cells);
        const Statistics exact = statisticsOf(values);
        for (const double s : {exact.min, exact.max, exact.mean, exact.stdev}) {
            const bool held = std::any_of(numbers.begin(), numbers.end(), [s](double n) {
                return std::abs(n - s) <= 1e-6 * std::max(1.0, std::abs(s));
            });
            QVERIFY2(held, qPrintable(QString::number(s, 'g', 12)));
        }
        for (const double s :
             {ui->min_box->value(), ui->max_box->value(), ui->mean_box->value(), ui->stdev_box->value()})
            QVERIFY2(
                std::any_of(numbers.begin(), numbers.end(), [s](double n) { return roundedToOne(n) == s; }),
                qPrintable(QString::number(s)));
    }

private:
    OpenedFiles opened;
    QTemporaryDir folder;
};

ZRV_WINDOW_TEST_MAIN(EndToEndTest)
#include "tst_endtoend.moc"
