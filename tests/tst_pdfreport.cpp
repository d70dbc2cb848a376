// The PDF writer, read back with poppler's pdftotext, pdfinfo, pdfimages and pdftoppm.
#include "pdfreader.h"
#include "report/documentprinting.h"
#include "report/pdfinformation.h"
#include "report/pdfreport.h"
#include "report/reportdata.h"
#include "report/reporttexts.h"
#include "reporttestdata.h"
#include "toolrun.h"

#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QtTest>
#include <algorithm>
#include <limits>
#include <numeric>

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

// What a poppler reader says on its error output (syntax errors of a broken file).
QString readerComplaints(const QString &program, const QStringList &arguments)
{
    return QString::fromUtf8(runTool(program, arguments).errors);
}

// Where pdftotext finds each word of a page, in points from the top left.
QMultiMap<QString, QRectF> wordBoxes(const QString &path, int page)
{
    const QString html =
        QString::fromUtf8(runReader(QStringLiteral("pdftotext"), {"-bbox", "-f", QString::number(page), "-l",
                                                                  QString::number(page), path, "-"}));
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QMultiMap<QString, QRectF> boxes;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        boxes.insert(m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                           QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())));
    }
    return boxes;
}

// A page rendered in colour by poppler.
QImage colourPage(const QString &path, int page, int dpi, const QString &folder)
{
    const QString prefix = QDir(folder).filePath(QStringLiteral("colour"));
    runReader(QStringLiteral("pdftoppm"), {"-r", QString::number(dpi), "-f", QString::number(page), "-l",
                                           QString::number(page), "-singlefile", path, prefix});
    return QImage(prefix + QStringLiteral(".ppm"));
}

int redPixels(const QImage &image, const QRectF &points, int dpi)
{
    const qreal scale = dpi / 72.0;
    const QRect area = QRectF(points.topLeft() * scale, points.bottomRight() * scale).toAlignedRect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 180 && c.green() < 120 && c.blue() < 120)
                ++count;
        }
    return count;
}

// A document of a title and a long table, printed page by page with the
// helpers or by QTextDocument::print.
void fillProbeDocument(QTextDocument &document)
{
    document.setDefaultFont(QFont(QStringLiteral("Times New Roman"), 10));
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("Заголовок"));
    QTextTableFormat grid;
    grid.setBorder(1);
    grid.setCellSpacing(0);
    const int rows = 150;
    QTextTable *table = cursor.insertTable(rows, 3, grid);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < 3; ++c)
            table->cellAt(r, c).firstCursorPosition().insertText(QString::number(r * 3 + c));
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
        QTest::addColumn<QVector<int>>("wide");    // values of 3e38 and -3e38, by index
        QTest::addColumn<QVector<int>>("outside"); // values printed red, by index
        QTest::newRow("no logo") << 700 << 0 << 100 << QVector<int>{} << QVector<int>{};
        // The logo fills the first page: the table starts on the second.
        QTest::newRow("tall logo") << 500 << 900 << 100 << QVector<int>{} << QVector<int>{};
        QTest::newRow("long block") << 6000 << 0 << 40 << QVector<int>{} << QVector<int>{};
        // Rows two lines high, on the first, a middle and the last page.
        QTest::newRow("values wider than their column")
            << 700 << 0 << 100 << QVector<int>{3, 350, 698} << QVector<int>{};
        // Pages are copied up to the first of them, the rest laid out.
        QTest::newRow("wide values late in a long block")
            << 1500 << 0 << 60 << QVector<int>{1100, 1101, 1450} << QVector<int>{};
        QTest::newRow("out-of-band readings in red")
            << 700 << 0 << 100 << QVector<int>{} << QVector<int>{0, 1, 200, 450, 699};
    }

    void quickValueTablePrintsTheSamePages()
    {
        QFETCH(int, values);
        QFETCH(int, logoHeight);
        QFETCH(int, dpi);
        QFETCH(QVector<int>, wide);
        QFETCH(QVector<int>, outside);
        ReportData data = sampleReportData(values);
        if (logoHeight > 0)
            data.logo = solidImage(150, logoHeight, Qt::blue);
        for (int i : wide)
            data.content.values[i] = i % 2 ? 3.0e38f : -3.0e38f;
        if (!outside.isEmpty()) {
            data.outside.fill(false, values);
            for (int i : outside)
                data.outside[i] = true;
            data.toleranceText = QStringLiteral("Допуск: [10; 11]");
            data.verdict = {{"Вне допуска", "5 из 700 (0,7 %)"}, {"Заключение", "Не соответствует"}};
        }
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

    // A reading too long for its column (3e38 has 39 digits) wraps in its
    // cell instead of losing digits, in the table and in the difference column.
    void wideValuesKeepEveryDigit()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("wide.pdf");
        ReportData data = sampleReportData(400);
        data.content.values[2] = 3.0e38f;
        data.content.values[350] = -3.0e38f;
        QVERIFY(writePdfReportFile(path, data));
        const QStringList words = pdfText(path).split(QRegularExpression(QStringLiteral("\\s+")));
        for (const float value : {3.0e38f, -3.0e38f}) {
            const QString valueText = reportValueText(value);
            QCOMPARE(valueText.count(QRegularExpression("\\d")), 39);
            QVERIFY2(wrappedIn(words, valueText), qPrintable(valueText));
            QVERIFY2(wrappedIn(words, reportDifferenceText(data.mean.value, value)), qPrintable(valueText));
        }
        // Every row is there once, in order, the wide ones included.
        QVector<int> numbers;
        for (const QStringList &row : threeColumnRows(pdfText(path)))
            numbers.append(row.first().toInt());
        QVector<int> expected(400);
        std::iota(expected.begin(), expected.end(), 1);
        QCOMPARE(numbers, expected);
    }

    void pagesAfterTheFirstCarryAHeader()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("pages.pdf");
        QVector<int> progress;
        int announcedPages = 0;
        QVERIFY(writePdfReportFile(path, sampleReportData(300), true, [&](int page, int pages) {
            progress.append(page);
            announcedPages = pages;
        }));
        const QRegularExpression pagesLine(QStringLiteral("Pages:\\s+(\\d+)"));
        const int pages =
            pagesLine.match(QString::fromUtf8(runReader("pdfinfo", {path}))).captured(1).toInt();
        QVERIFY(pages >= 3);
        QCOMPARE(announcedPages, pages);
        QVector<int> each(pages);
        std::iota(each.begin(), each.end(), 1);
        QCOMPARE(progress, each);

        // The first page names the report in its field table: its header is the page count alone.
        const QString first = pdfText(path, 1);
        QVERIFY(!first.contains(QStringLiteral("Отчет № 17/2024-К")));
        const QStringList firstLines = first.trimmed().split('\n');
        QVERIFY2(firstLines.first().contains(
                     QRegularExpression(QStringLiteral("^\\s*стр. 1 из %1\\s*$").arg(pages))),
                 qPrintable(firstLines.first()));
        QCOMPARE(firstLines.last().trimmed(), QStringLiteral("1"));
        for (int page = 2; page <= pages; ++page) {
            QStringList lines = pdfText(path, page).split('\n');
            lines.erase(std::remove_if(lines.begin(), lines.end(),
                                       [](const QString &line) { return line.trimmed().isEmpty(); }),
                        lines.end());
            QVERIFY(!lines.isEmpty());
            // The header comes first; the page number stays at the bottom.
            QVERIFY2(
                lines.first().contains(QRegularExpression(
                    QStringLiteral("^\\s*Отчет № 17/2024-К · Фланец 0001 · 01.02.2024\\s+стр. %1 из %2\\s*$")
                        .arg(page)
                        .arg(pages))),
                qPrintable(lines.first()));
            QVERIFY2(lines.last().trimmed() == QString::number(page), qPrintable(lines.last()));
        }
    }

    void blockLineAndVerdict()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("verdict.pdf");
        ReportData data = sampleReportData(5);
        data.toleranceText = QStringLiteral("Допуск: [9.6; 10]");
        data.outside = {false, true, false, false, true};
        data.verdict = {{"Вне допуска", "2 из 5 (40,0 %)"},
                        {"Заключение", "Не соответствует"},
                        {"Cp", "1,23"},
                        {"Cpk", "\u2014"}};
        QVERIFY(writePdfReportFile(path, data));
        const QString text = pdfText(path);
        const QStringList order = {"Отчет о проведении контроля",
                                   "Блок: Фланец 0001; показаний: 5; считан: 01.02.2024 10:20:30",
                                   "Номер",
                                   "Статистика",
                                   "Допуск: [9.6; 10]",
                                   "Вне допуска",
                                   "2 из 5 (40,0 %)",
                                   "Заключение",
                                   "Не соответствует",
                                   "Cp",
                                   "1,23",
                                   "Cpk",
                                   "\u2014",
                                   "Комментарии"};
        int at = 0;
        for (const QString &piece : order) {
            const int found = text.indexOf(piece, at);
            QVERIFY2(found >= 0, qPrintable("missing or out of order: " + piece));
            at = found + piece.size();
        }
    }

    // Out-of-band readings are printed red; the others, and the other
    // columns, black.
    void outOfBandReadingsAreRed()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("red.pdf");
        ReportData data = sampleReportData(20);
        data.outside.fill(false, 20);
        // Texts found nowhere else on the page (20.0 to 21.9).
        for (int i = 0; i < 20; ++i)
            data.content.values[i] = 20.0f + i * 0.1f;
        for (int i : {1, 4, 7, 19})
            data.outside[i] = true;
        QVERIFY(writePdfReportFile(path, data));
        constexpr int dpi = 144;
        const QImage page = colourPage(path, 1, dpi, dir.path());
        QVERIFY(!page.isNull());
        const QMultiMap<QString, QRectF> words = wordBoxes(path, 1);
        for (int i = 0; i < 20; ++i) {
            const QString word = reportValueText(data.content.values.at(i));
            QCOMPARE(words.count(word), 1);
            const int red = redPixels(page, words.value(word), dpi);
            QVERIFY2(data.outside.at(i) ? red > 0 : red == 0, qPrintable(word));
            const QString number = QString::number(i + 1);
            for (const QRectF &box : words.values(number))
                QCOMPARE(redPixels(page, box, dpi), 0);
        }
    }

    void documentInformation_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("author");
        QTest::addColumn<QString>("subject");
        QTest::newRow("all given") << "Отчет о проведении контроля · Фланец DN80 0007"
                                   << "Иванов И. И."
                                   << "ООО Ромашка";
        QTest::newRow("markup characters") << "A <b> & \"c\" 'd' (e) \\f"
                                           << "<Оператор>"
                                           << "R&D";
        QTest::newRow("no author, no company") << "Отчет"
                                               << ""
                                               << "";
    }

    // An archivable PDF/A-1b file that says what it is, read by pdfinfo.
    void documentInformation()
    {
        QFETCH(QString, title);
        QFETCH(QString, author);
        QFETCH(QString, subject);
        QTemporaryDir dir;
        const QString path = dir.filePath("info.pdf");
        ReportData data = sampleReportData(300);
        data.documentTitle = title;
        data.author = author;
        data.subject = subject;
        QVERIFY(writePdfReportFile(path, data));

        const QString info = QString::fromUtf8(runReader("pdfinfo", {path}));
        QVERIFY2(info.contains(QRegularExpression("^Title:\\s+" + QRegularExpression::escape(title) + "$",
                                                  QRegularExpression::MultilineOption)),
                 qPrintable(info));
        QCOMPARE(info.contains(QRegularExpression("^Author:\\s+" + QRegularExpression::escape(author) + "$",
                                                  QRegularExpression::MultilineOption)),
                 !author.isEmpty());
        QCOMPARE(info.contains(QRegularExpression("^Subject:\\s+" + QRegularExpression::escape(subject) + "$",
                                                  QRegularExpression::MultilineOption)),
                 !subject.isEmpty());
        QVERIFY(info.contains(
            QRegularExpression("^Creator:\\s+ZRV 9\\.9\\.9$", QRegularExpression::MultilineOption)));
        QVERIFY(info.contains(QRegularExpression("^Pages:\\s+\\d+$", QRegularExpression::MultilineOption)));
        QCOMPARE(readerComplaints("pdfinfo", {path}), QString());
        QCOMPARE(readerComplaints("pdftotext", {path, "-"}), QString());

        // The XMP metadata says the same and declares PDF/A-1b.
        const QString meta = QString::fromUtf8(runReader("pdfinfo", {"-meta", path}));
        QVERIFY(meta.contains(QStringLiteral("pdfaid:part=\"1\"")));
        QVERIFY(meta.contains(QStringLiteral("pdfaid:conformance=\"B\"")));
        QVERIFY(meta.contains(title.toHtmlEscaped()));
        QCOMPARE(meta.contains(QStringLiteral("<dc:creator>")), !author.isEmpty());
        QVERIFY(meta.contains(QStringLiteral("xmp:CreatorTool=\"ZRV 9.9.9\"")));
        // Every font is embedded, as PDF/A requires.
        const QStringList fonts =
            QString::fromUtf8(runReader("pdffonts", {path})).split('\n', Qt::SkipEmptyParts);
        QVERIFY(fonts.size() > 2);
        for (const QString &font : fonts.mid(2))
            QVERIFY2(font.contains(QRegularExpression("\\syes\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$")),
                     qPrintable(font));
    }

    // Anything but the file QPdfWriter writes is left as it is.
    void informationOfAnUnknownLayoutIsLeftAlone()
    {
        const PdfInformation information{"t", "a", "s", "c", "p", QDateTime::currentDateTimeUtc()};
        for (const QByteArray &pdf :
             {QByteArray(), QByteArray("not a pdf"),
              QByteArray("%PDF-1.4\n1 0 obj\n<<>>\nendobj\ntrailer\n<< /Info 1 0 R >>\n")})
            QCOMPARE(withPdfInformation(pdf, information), pdf);
    }

    // The pages are printed one by one as QTextDocument::print prints them.
    void pageByPageAsPrintDoes()
    {
        QTemporaryDir dir;
        const QString printed = dir.filePath("printed.pdf");
        const QString ours = dir.filePath("ours.pdf");
        for (const QString &path : {printed, ours}) {
            QPdfWriter writer(path);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setResolution(300);
            QTextDocument document;
            if (path == printed) {
                fillProbeDocument(document);
                document.print(&writer);
                continue;
            }
            prepareDocumentForPrinting(document, writer);
            fillProbeDocument(document);
            QPainter painter(&writer);
            for (int page = 0; page < document.pageCount(); ++page) {
                if (page > 0)
                    writer.newPage();
                beginDocumentPage(painter, document, page);
                drawDocumentPage(painter, document, page);
                painter.restore();
                drawPageNumber(painter, document, page + 1);
            }
        }
        const QVector<QByteArray> expected = renderedPages(printed, dir.path(), 60);
        const QVector<QByteArray> actual = renderedPages(ours, dir.path(), 60);
        QVERIFY(expected.size() > 2);
        QCOMPARE(actual.size(), expected.size());
        for (int page = 0; page < expected.size(); ++page)
            QVERIFY2(actual.at(page) == expected.at(page), qPrintable(QString("page %1").arg(page + 1)));
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
