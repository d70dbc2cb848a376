// The PDF report's pages: the summary on page 1, "стр. k из n" on every page,
// the running header, the value table's column header on each of its pages,
// and the unit of the readings; written from a report source as the window
// gathers it, read back with pdftotext page by page.
#include "pdfreader.h"
#include "report/pdfreport.h"
#include "report/reportassembly.h"
#include "toolrun.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kBlockName = QStringLiteral("Корпус насоса");
// A value out of band carries its mark after the number.
const QRegularExpression
    kValueRow(QStringLiteral("^\\s*(\\d+)\\s+-?\\d+\\.\\d+( [\u25B2\u25BC])?\\s+-?\\d+\\.\\d\\s*$"));
const QRegularExpression
    kColumnHeader(QStringLiteral("^\\s*Номер\\s+насоса( \\[мкм\\])?\\s+X\u0305 - x\\s*$"));

// A block of `count` readings around 9.5 in the band [9; 10]; every tenth reading above it.
ReportSource blockSource(int count, const QString &reportNumber, const QString &unit)
{
    ReportSource source;
    QStringList fields;
    for (int i = 0; i < kReportFormFields; ++i)
        fields.append(QStringLiteral("поле %1").arg(i + 1));
    fields[5] = reportNumber;
    source.content.fields = reportFormFields(fields);
    source.content.valueHeader = QStringLiteral("насоса");
    source.hasBlock = true;
    source.block.name = kBlockName;
    source.block.readAt = QDateTime(QDate(2024, 2, 1), QTime(10, 20, 30), Qt::UTC);
    for (int i = 0; i < count; ++i)
        source.block.values.append(i % 10 == 9 ? 10.5f : float(9.2 + (i % 7) * 0.1));
    source.content.values = source.block.values;
    source.statistics = {9.2, 10.5, 9.6, 0.3};
    source.band = {true, 9.0, 10.0};
    source.captions = defaultReportCaptions();
    source.reportNumber = reportNumber;
    source.reportDate = QDate(2024, 2, 1);
    source.unit = unit;
    return source;
}

int pageCount(const QString &path)
{
    static const QRegularExpression pagesLine(QStringLiteral("Pages:\\s+(\\d+)"));
    return pagesLine.match(QString::fromUtf8(runReader("pdfinfo", {path}))).captured(1).toInt();
}

QStringList pageLines(const QString &path, int page)
{
    QStringList lines;
    for (const QString &line : pdfText(path, page).split('\n'))
        if (!line.trimmed().isEmpty())
            lines.append(line);
    return lines;
}

QString writtenPdf(const ReportSource &source, QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    return writePdfReportFile(path, pdfReportData(source, false), true) ? path : QString();
}

} // namespace

class TestPdfReportLayout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Page 1 tells the block, its readings, the band and the verdict before
    // the first value row; every page says which of how many it is; every
    // page the value table goes on to starts its rows with the column header.
    void summaryPageNumbersAndColumnHeaders()
    {
        QTemporaryDir dir;
        const QString path = writtenPdf(blockSource(1000, QStringLiteral("17/2024-К"), QString()), dir);
        QVERIFY(!path.isEmpty());
        const int pages = pageCount(path);
        QVERIFY(pages > 10);

        const QString first = pdfText(path, 1, PdfText::ReadingOrder);
        const int firstValue = first.indexOf(QRegularExpression(QStringLiteral("\\n1\\s")));
        QVERIFY(firstValue > 0);
        const QStringList summary = {QStringLiteral("Сводка"),      kBlockName,
                                     QStringLiteral("Показаний"),   QStringLiteral("1000"),
                                     QStringLiteral("01.02.2024"),  QStringLiteral("Допуск: [9; 10]"),
                                     QStringLiteral("Вне допуска"), QStringLiteral("100 из 1"),
                                     QStringLiteral("Заключение"),  QStringLiteral("Не соответствует"),
                                     QStringLiteral("Cp"),          QStringLiteral("Cpk")};
        for (const QString &piece : summary) {
            const int at = first.indexOf(piece);
            QVERIFY2(at >= 0 && at < firstValue, qPrintable(piece + "\n" + first.left(firstValue + 200)));
        }

        int rowsSeen = 0;
        for (int page = 1; page <= pages; ++page) {
            const QStringList lines = pageLines(path, page);
            QVERIFY(lines.size() > 2);
            QVERIFY2(lines.first().contains(
                         QRegularExpression(QStringLiteral("стр. %1 из %2\\s*$").arg(page).arg(pages))),
                     qPrintable(lines.first()));
            QCOMPARE(lines.last().trimmed(), QString::number(page));
            int firstRow = -1;
            for (int i = 0; i < lines.size() && firstRow < 0; ++i)
                if (kValueRow.match(lines.at(i)).hasMatch())
                    firstRow = i;
            if (firstRow < 0)
                continue;
            ++rowsSeen;
            QVERIFY2(kColumnHeader.match(lines.at(firstRow - 1)).hasMatch(),
                     qPrintable(QStringLiteral("page %1: %2").arg(page).arg(lines.at(firstRow - 1))));
        }
        QVERIFY(rowsSeen > 10);
    }

    // Every reading above the band carries its mark on whichever page it is
    // printed, the rows the printer paints onto copied pages included; the
    // legend follows the table's last row once.
    void marksOnEveryPage()
    {
        QTemporaryDir dir;
        const QString path = writtenPdf(blockSource(1000, QStringLiteral("17/2024-К"), QString()), dir);
        QVERIFY(!path.isEmpty());
        const int pages = pageCount(path);
        const QString legend = QStringLiteral("\u25B2 — выше Max");
        QVector<bool> marked;
        int legendPage = 0;
        int lastRowPage = 0;
        for (int page = 1; page <= pages; ++page) {
            const QStringList lines = pageLines(path, page);
            for (const QString &line : lines) {
                const QRegularExpressionMatch row = kValueRow.match(line);
                if (row.hasMatch()) {
                    QCOMPARE(row.captured(1).toInt(), marked.size() + 1);
                    marked.append(!row.captured(2).isEmpty());
                    lastRowPage = page;
                }
                if (line.trimmed() == legend) {
                    QCOMPARE(legendPage, 0);
                    QCOMPARE(marked.size(), 1000);
                    legendPage = page;
                }
            }
        }
        QCOMPARE(marked.size(), 1000);
        for (int i = 0; i < marked.size(); ++i)
            QVERIFY2(marked.at(i) == (i % 10 == 9), qPrintable(QString::number(i + 1)));
        QVERIFY(legendPage >= lastRowPage);
    }

    // A report number too long for the running header gives way; the block
    // and the date stay whole.
    void longReportNumberIsShortenedInTheHeader_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<bool>("shortened");
        QTest::newRow("short") << QStringLiteral("17/2024-К") << false;
        QTest::newRow("long") << QStringLiteral("Н").repeated(300) << true;
    }

    void longReportNumberIsShortenedInTheHeader()
    {
        QFETCH(QString, number);
        QFETCH(bool, shortened);
        QTemporaryDir dir;
        const QString path = writtenPdf(blockSource(400, number, QString()), dir);
        QVERIFY(!path.isEmpty());
        const int pages = pageCount(path);
        QVERIFY(pages >= 2);
        for (int page = 2; page <= pages; ++page) {
            const QString header = pageLines(path, page).first();
            QVERIFY2(header.contains(QStringLiteral(" · %1 · 01.02.2024").arg(kBlockName)),
                     qPrintable(header));
            QVERIFY2(header.contains(QStringLiteral("стр. %1 из %2").arg(page).arg(pages)),
                     qPrintable(header));
            QCOMPARE(header.contains(QStringLiteral("Отчет № ") + number), !shortened);
            QCOMPARE(header.contains(QStringLiteral("\u2026 · ")), shortened);
        }
    }

    // The unit follows the value header in brackets, the tolerance and each
    // statistic; without one every text is as it was.
    void unit_data()
    {
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("absent");
        QTest::newRow("none") << QString()
                              << QStringList{"Номер насоса X\u0305 - x", "Допуск: [9; 10]", "Среднее 9.6"}
                              << QStringList{"[мкм]", "мкм"};
        QTest::newRow("мкм") << QStringLiteral(" мкм ")
                             << QStringList{"Номер насоса [мкм] X\u0305 - x",
                                            "Допуск: [9; 10] мкм",
                                            "Среднее 9.6 мкм",
                                            "σ 0.3 мкм",
                                            "Min 9.2 мкм",
                                            "Max 10.5 мкм"}
                             << QStringList{};
    }

    void unit()
    {
        QFETCH(QString, unit);
        QFETCH(QStringList, present);
        QFETCH(QStringList, absent);
        QTemporaryDir dir;
        const QString path = writtenPdf(blockSource(20, QStringLiteral("5"), unit), dir);
        QVERIFY(!path.isEmpty());
        QString text = pdfText(path);
        text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
        for (const QString &piece : present)
            QVERIFY2(text.contains(piece), qPrintable(piece + "\n" + text));
        for (const QString &piece : absent)
            QVERIFY2(!text.contains(piece), qPrintable(piece));
    }
};

QTEST_MAIN(TestPdfReportLayout)
#include "tst_pdfreportlayout.moc"
