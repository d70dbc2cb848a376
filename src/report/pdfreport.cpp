#include "report/pdfreport.h"

#include "report/documentprinting.h"
#include "report/pdfdocument.h"
#include "report/pdfinformation.h"
#include "report/reportdata.h"
#include "report/valuetablecells.h"
#include "report/valuetablepages.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>
#include <memory>

namespace {

constexpr int kResolution = 300;
// Rows of the value table laid out in advance to find where its pages break.
constexpr int kProbeRows = 240;
// A text measured at least this part of its line's width is left to the
// document to lay out, so that the document alone decides whether it wraps.
constexpr qreal kSafeLineShare = 0.9;

// Finds where the value table's pages break by laying out the start of the
// document as printing will.
ValueTablePages planValueTable(QPdfWriter &writer, int pageWidth, const ReportData &data)
{
    const int totalRows = data.content.values.size() + 1;
    if (totalRows <= kProbeRows)
        return {};
    ReportData probeData = data;
    probeData.content.values.resize(kProbeRows - 1);
    probeData.plots.clear();
    probeData.analysis = {};

    QTextDocument probe;
    setUpReportDocument(probe);
    prepareDocumentForPrinting(probe, writer);
    QTextTable *table = buildReportDocument(probe, pageWidth, probeData, {}, {});
    const qreal pageHeight = probe.pageSize().height();
    QVector<int> breaks;
    int page = -1;
    for (int r = 0; r < kProbeRows; ++r) {
        const QTextBlock block = table->cellAt(r, 0).firstCursorPosition().block();
        const int rowPage = int(probe.documentLayout()->blockBoundingRect(block).top() / pageHeight);
        if (page >= 0 && rowPage != page)
            breaks.append(r);
        page = rowPage;
    }
    if (breaks.size() < 2)
        return {};
    return planValueTablePages(totalRows, breaks.at(0), breaks.at(1) - breaks.at(0));
}

// Rows of the whole table with a text that may not fit on one line of its
// cell (a reading of 3e38 has 39 digits). They are laid out by the document,
// taller where they wrap.
QSet<int> wideValueRows(const QTextDocument &document, const ValueTableCells &cells, const ReportData &data)
{
    QSet<int> wide;
    const QFontMetricsF metrics(document.defaultFont(), document.documentLayout()->paintDevice());
    // Texts no longer than this fit whatever their characters.
    std::array<int, ValueTableCells::kColumns> surelyFitting;
    for (int c = 0; c < ValueTableCells::kColumns; ++c)
        surelyFitting[size_t(c)] = int(cells.lineWidth(c) * kSafeLineShare / metrics.maxWidth());
    for (int row = 1; row <= data.content.values.size(); ++row) {
        const ValueTableCells::RowTexts texts = valueRowTexts(data, row);
        for (int c = 0; c < ValueTableCells::kColumns; ++c) {
            const QString &text = texts[size_t(c)];
            if (text.size() > surelyFitting[size_t(c)]
                && metrics.horizontalAdvance(text) >= cells.lineWidth(c) * kSafeLineShare) {
                wide.insert(row);
                break;
            }
        }
    }
    return wide;
}

// The report's document laid out on the writer's pages, with its value table.
struct LaidOutReport
{
    std::unique_ptr<QTextDocument> document;
    QTextTable *valueTable = nullptr;
    ValueTablePages pages;
};

LaidOutReport layOutReport(QPdfWriter &writer, int pageWidth, const ReportData &data,
                           const ValueTablePages &pages, const FilledValueRows &filled)
{
    LaidOutReport report;
    report.document = std::make_unique<QTextDocument>();
    report.pages = pages;
    setUpReportDocument(*report.document);
    prepareDocumentForPrinting(*report.document, writer);
    report.valueTable = buildReportDocument(*report.document, pageWidth, data, pages, filled);
    return report;
}

// The quick way: only the pages the plan keeps, value rows empty. Rows with
// wide texts are taller than the others; the document lays them out itself,
// and the copied pages end before the first of them.
LaidOutReport layOutQuickly(QPdfWriter &writer, int pageWidth, const ReportData &data)
{
    const ValueTablePages pages = planValueTable(writer, pageWidth, data);
    LaidOutReport report = layOutReport(writer, pageWidth, data, pages, {});
    const ValueTableCells cells(*report.document, report.valueTable);
    const QSet<int> wide = wideValueRows(*report.document, cells, data);
    if (wide.isEmpty())
        return report;
    const int firstWide = *std::min_element(wide.cbegin(), wide.cend());
    return layOutReport(writer, pageWidth, data, pages.copiesBefore(firstWide), {false, wide});
}

// Prints the document with the copies of the value table's second page after
// it, and the texts of every value row the document leaves empty. The pages
// after the first get the report's small header.
bool printReport(const LaidOutReport &report, QPdfWriter &writer, const ReportData &data,
                 const PdfProgress &progress)
{
    const QTextDocument &document = *report.document;
    const ValueTablePages &pages = report.pages;
    const ValueTableCells cells(document, report.valueTable);
    const int templatePage = pages.copiedPages > 0 ? cells.pageOfRow(pages.firstBreak) : 0;
    QPainter painter(&writer);
    if (!painter.isActive())
        return false;
    const int printedPages = document.pageCount() + pages.copiedPages;
    const bool numberFirst = data.pageHeader.startsWith(data.pageHeaderNumber);
    const QString shortenedHeader = numberFirst ? data.pageHeaderNumber : QString();
    const QString keptHeader = data.pageHeader.mid(shortenedHeader.size());
    for (int printed = 0; printed < printedPages; ++printed) {
        if (progress)
            progress(printed + 1, printedPages);
        if (printed > 0 && !writer.newPage())
            return false;
        const auto [page, copy] = pages.printedPage(printed, templatePage);
        beginDocumentPage(painter, document, page);
        drawDocumentPage(painter, document, page);
        for (int row : cells.rowsOnPage(page)) {
            const int tableRow = copy > 0 ? pages.copiedRow(copy, row) : pages.tableRow(row);
            cells.paintRow(painter, row, valueRowTexts(data, tableRow), valueRowColours(data, tableRow));
        }
        painter.restore();
        drawPageNumber(painter, document, printed + 1);
        // The first page names the report in its field table; it carries only its number.
        if (!data.pageOfPages.isEmpty()) {
            const QString right = data.pageOfPages.arg(printed + 1).arg(printedPages);
            if (printed == 0)
                drawPageHeader(painter, document, QString(), QString(), right);
            else
                drawPageHeader(painter, document, shortenedHeader, keptHeader, right);
        }
    }
    return painter.end();
}

PdfInformation documentInformation(const ReportData &data)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return {data.documentTitle,
            data.author,
            data.subject,
            data.creator,
            QStringLiteral("Qt ") + QString::fromLatin1(qVersion()),
            now.addMSecs(-now.time().msec())};
}

// The whole file in memory: the information dictionary is completed after
// the writer has finished.
bool printPdf(QBuffer &buffer, const ReportData &data, const PdfInformation &information,
              bool quickValueTable, const PdfProgress &progress)
{
    QPdfWriter writer(&buffer);
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    writer.setTitle(information.title);
    writer.setCreator(information.creator);
    writer.setDocumentXmpMetadata(pdfXmpMetadata(information));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setResolution(kResolution);
    const int pageWidth = int(writer.pageLayout().pageSize().sizePoints().width());

    const LaidOutReport report = quickValueTable ? layOutQuickly(writer, pageWidth, data)
                                                 : layOutReport(writer, pageWidth, data, {}, {true, {}});
    return printReport(report, writer, data, progress);
}

} // namespace

bool writePdfReportFile(const QString &path, const ReportData &data, bool quickValueTable,
                        const PdfProgress &progress)
{
    QSaveFile file(path);
    // An existing file in a folder we may not create files in is overwritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const PdfInformation information = documentInformation(data);
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    if (!printPdf(buffer, data, information, quickValueTable, progress) || pdf.isEmpty()) {
        file.cancelWriting();
        return false;
    }
    buffer.close();
    const QByteArray completed = withPdfInformation(pdf, information);
    if (file.write(completed) != completed.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
