#include "report/pdfreport.h"

#include "report/documentprinting.h"
#include "report/pdfdocument.h"
#include "report/pdfinformation.h"
#include "report/reportdata.h"
#include "report/reportlayout.h"
#include "report/valuetablecells.h"
#include "report/valuetablepages.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

namespace {

constexpr int kResolution = 300;

// Prints the document with the copies of the value table's second page after
// it, and the texts of every value row the document leaves empty. The pages
// after the first get the report's small header.
bool printReport(const LaidOutReport &report, QPdfWriter &writer, const ReportData &data,
                 const PdfProgress &progress)
{
    const QTextDocument &document = *report.document;
    const ValueTablePages &pages = report.pages;
    const ValueTableCells cells(document, report.valueTable);
    // The document's page each run of copies is printed before.
    QVector<int> runPages;
    if (pages.allCopiedPages() > 0) {
        runPages.append(cells.pageOfRow(pages.firstBreak) + 1);
        for (const ValueTablePages::Run &run : pages.laterRuns)
            runPages.append(cells.pageOfRow(run.documentRow));
    }
    QPainter painter(&writer);
    if (!painter.isActive())
        return false;
    const int printedPages = document.pageCount() + pages.allCopiedPages();
    const bool numberFirst = data.pageHeader.startsWith(data.pageHeaderNumber);
    const QString shortenedHeader = numberFirst ? data.pageHeaderNumber : QString();
    const QString keptHeader = data.pageHeader.mid(shortenedHeader.size());
    for (int printed = 0; printed < printedPages; ++printed) {
        if (progress)
            progress(printed + 1, printedPages);
        if (printed > 0 && !writer.newPage())
            return false;
        const auto [page, copy, run] = pages.printedPage(printed, runPages);
        beginDocumentPage(painter, document, page);
        drawDocumentPage(painter, document, page);
        for (int row : cells.rowsOnPage(page)) {
            const int tableRow = copy > 0 ? pages.copiedRow(run, copy, row) : pages.tableRow(row);
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

    const LaidOutReport report = quickValueTable ? layOutReportQuickly(writer, pageWidth, data)
                                                 : layOutWholeReport(writer, pageWidth, data);
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
