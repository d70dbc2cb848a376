#include "report/pdfreport.h"

#include "report/documentprinting.h"
#include "report/fieldtable.h"
#include "report/reportdata.h"
#include "report/reporttexts.h"
#include "report/valuetablecells.h"
#include "report/valuetablepages.h"

#include <QAbstractTextDocumentLayout>
#include <QBrush>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

namespace {

const QString kFontName = QStringLiteral("Times New Roman");
constexpr int kBodyPointSize = 10;
constexpr int kTitlePointSize = 16;
constexpr int kCommentsHeadingPointSize = 12;
constexpr int kResolution = 300;
constexpr int kBoldWeight = 75;
constexpr int kStatisticsPadding = 4;
const QUrl kLogoResource(QStringLiteral("zrv-report-logo"));
// Rows of the value table laid out in advance to find where its pages break.
constexpr int kProbeRows = 240;

struct Formats
{
    QTextTableFormat grid;
    QTextTableFormat layout;
    QTextTableFormat statistics;
    QTextBlockFormat centred;
    QTextBlockFormat left;
    QTextCharFormat bold;
    QTextCharFormat body;
    QTextCharFormat heading;
    QTextCharFormat statisticsHeading;
};

Formats makeFormats(int pageWidth)
{
    Formats f;
    f.grid.setBorder(1);
    f.grid.setBorderBrush(QBrush(Qt::SolidPattern));
    f.grid.setCellSpacing(0);
    const QTextLength third(QTextLength::FixedLength, pageWidth / 3);
    f.grid.setColumnWidthConstraints({third, third, third});

    f.layout.setBorder(0);
    f.layout.setCellSpacing(0);
    f.layout.setCellPadding(0);

    f.statistics.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    f.statistics.setBorder(1);
    f.statistics.setBorderBrush(QBrush(Qt::black, Qt::SolidPattern));
    f.statistics.setCellSpacing(0);
    f.statistics.setCellPadding(kStatisticsPadding);
    const QTextLength sixth(QTextLength::FixedLength, pageWidth / 6);
    f.statistics.setColumnWidthConstraints({sixth, sixth});

    f.centred.setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    f.left.setAlignment(Qt::AlignLeft);
    f.bold.setFontWeight(kBoldWeight);
    f.body.setFont(QFont(kFontName, kBodyPointSize, QFont::Normal));
    f.heading.setFontPointSize(kTitlePointSize);
    f.heading.setFontWeight(kBoldWeight);
    f.statisticsHeading.setFontWeight(kBoldWeight);
    f.statisticsHeading.setFontPointSize(kBodyPointSize);
    return f;
}

QTextCursor cellCursor(QTextTable *table, int row, int column)
{
    return table->cellAt(row, column).firstCursorPosition();
}

void moveToEnd(QTextCursor &cursor)
{
    cursor.movePosition(QTextCursor::End, QTextCursor::MoveAnchor, 1);
}

void addFieldTable(QTextTable *layout, const Formats &f, const ReportData &data)
{
    const QVector<FieldTableRow> rows = fieldTableRows(data.content.fields, data.includeEmptyFields);
    if (rows.isEmpty())
        return;
    QTextCursor at = cellCursor(layout, 0, 0);
    QTextTable *table = at.insertTable(rows.size(), 2, f.grid);
    for (int r = 0; r < rows.size(); ++r) {
        const FieldTableRow &row = rows.at(r);
        if (row.isSection) {
            table->mergeCells(r, 0, 1, 2);
            QTextCursor cell = cellCursor(table, r, 0);
            cell.setBlockFormat(f.centred);
            cell.insertText(row.text, f.bold);
        } else {
            cellCursor(table, r, 0).insertText(row.text);
            QTextCursor value = cellCursor(table, r, 1);
            value.setBlockFormat(f.centred);
            value.insertText(row.value);
        }
    }
}

void addLogo(QTextDocument &document, QTextTable *layout, int pageWidth, const QImage &logo)
{
    if (logo.isNull())
        return;
    // Kept inside the document: nothing is left behind on disk.
    document.addResource(QTextDocument::ImageResource, kLogoResource, logo);
    QTextImageFormat image;
    image.setName(kLogoResource.toString());
    image.setWidth(pageWidth / 3);
    cellCursor(layout, 0, 1).insertImage(image);
}

ValueTableCells::RowTexts valueRowTexts(const ReportData &data, int row)
{
    if (row == 0)
        return {data.numberHeader, data.content.valueHeader, kDifferenceHeader};
    const float value = data.content.values.at(row - 1);
    return {QString::number(row), reportValueText(value), reportDifferenceText(data.mean.value, value)};
}

// The value table with the rows the pages plan keeps in the document. The
// value rows are left empty when the printer paints their texts.
QTextTable *addValueTable(QTextCursor &cursor, const Formats &f, const ReportData &data,
                          const ValueTablePages &pages, bool withValues)
{
    const int documentRows = pages.documentRows(data.content.values.size() + 1);
    QTextTable *table = cursor.insertTable(documentRows, ValueTableCells::kColumns, f.grid);
    for (int r = 0; r < documentRows; ++r) {
        const ValueTableCells::RowTexts texts =
            r == 0 || withValues ? valueRowTexts(data, pages.tableRow(r)) : ValueTableCells::RowTexts();
        for (int column = 0; column < ValueTableCells::kColumns; ++column) {
            QTextCursor cell = cellCursor(table, r, column);
            cell.setBlockFormat(f.centred);
            cell.insertText(texts[size_t(column)]);
        }
    }
    return table;
}

void addStatistics(QTextCursor &cursor, const Formats &f, const ReportData &data)
{
    QTextTable *table = cursor.insertTable(5, 2, f.statistics);
    table->mergeCells(0, 0, 1, 2);
    QTextCursor heading = cellCursor(table, 0, 0);
    heading.setBlockFormat(f.centred);
    heading.insertText(data.statisticsHeading, f.statisticsHeading);
    const ReportStatistic *order[] = {&data.mean, &data.stdev, &data.maximum, &data.minimum};
    for (int row = 1; row <= 4; ++row) {
        const ReportStatistic &statistic = *order[row - 1];
        QTextCursor label = cellCursor(table, row, 0);
        label.setCharFormat(f.body);
        label.setBlockFormat(f.left);
        label.insertText(statistic.label);
        QTextCursor value = cellCursor(table, row, 1);
        value.setCharFormat(f.body);
        value.setBlockFormat(f.centred);
        value.insertText(reportStatisticText(statistic.value));
    }
}

// Returns the value table.
QTextTable *buildDocument(QTextDocument &document, int pageWidth, const ReportData &data,
                          const ValueTablePages &pages, bool withValues)
{
    Formats f = makeFormats(pageWidth);
    QTextCursor cursor(&document);
    // One edit: otherwise each move of the cursor lays out the document up to it.
    cursor.beginEditBlock();

    QTextTable *layout = cursor.insertTable(1, 2, f.layout);
    addFieldTable(layout, f, data);
    addLogo(document, layout, pageWidth, data.logo);

    moveToEnd(cursor);
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertBlock(f.centred);
    cursor.insertText(data.title, f.heading);

    QTextTable *valueTable = addValueTable(cursor, f, data, pages, withValues);
    moveToEnd(cursor);
    cursor.insertBlock();
    cursor.insertBlock();

    addStatistics(cursor, f, data);
    moveToEnd(cursor);
    cursor.insertBlock();
    cursor.insertBlock();

    for (const QImage &plot : data.plots) {
        cursor.insertImage(plot);
        moveToEnd(cursor);
        cursor.insertBlock();
    }
    if (!data.toleranceText.isEmpty()) {
        cursor.insertBlock();
        cursor.insertText(data.toleranceText, f.body);
    }

    f.heading.setFontPointSize(kCommentsHeadingPointSize);
    moveToEnd(cursor);
    cursor.insertBlock(f.centred);
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertText(data.commentsHeading, f.heading);
    cursor.insertBlock();
    cursor.insertText(data.comments, f.body);
    cursor.insertBlock();
    cursor.insertBlock(f.centred);
    cursor.insertText(data.signature, f.heading);
    cursor.endEditBlock();
    return valueTable;
}

void setUpDocument(QTextDocument &document)
{
    document.setUndoRedoEnabled(false);
    document.setDefaultFont(QFont(kFontName, kBodyPointSize, QFont::Normal));
}

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

    QTextDocument probe;
    setUpDocument(probe);
    prepareDocumentForPrinting(probe, writer);
    QTextTable *table = buildDocument(probe, pageWidth, probeData, {}, false);
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

// Prints the document with the copies of the value table's second page after
// it, and the texts of every value row.
bool printReport(const QTextDocument &document, QPdfWriter &writer, QTextTable *valueTable,
                 const ValueTablePages &pages, const ReportData &data)
{
    const ValueTableCells cells(document, valueTable);
    const int templatePage = pages.copiedPages > 0 ? cells.pageOfRow(pages.firstBreak) : 0;
    QPainter painter(&writer);
    if (!painter.isActive())
        return false;
    const int printedPages = document.pageCount() + pages.copiedPages;
    for (int printed = 0; printed < printedPages; ++printed) {
        if (printed > 0 && !writer.newPage())
            return false;
        const auto [page, copy] = pages.printedPage(printed, templatePage);
        beginDocumentPage(painter, document, page);
        drawDocumentPage(painter, document, page);
        for (int row : cells.rowsOnPage(page)) {
            const int tableRow = copy > 0 ? pages.copiedRow(copy, row) : pages.tableRow(row);
            cells.paintRow(painter, row, valueRowTexts(data, tableRow));
        }
        painter.restore();
        drawPageNumber(painter, document, printed + 1);
    }
    return painter.end();
}

} // namespace

bool writePdfReportFile(const QString &path, const ReportData &data, bool quickValueTable)
{
    QSaveFile file(path);
    // An existing file in a folder we may not create files in is overwritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    bool printed = true;
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setResolution(kResolution);
        const int pageWidth = int(writer.pageLayout().pageSize().sizePoints().width());

        QTextDocument document;
        setUpDocument(document);
        if (quickValueTable) {
            prepareDocumentForPrinting(document, writer);
            const ValueTablePages pages = planValueTable(writer, pageWidth, data);
            QTextTable *valueTable = buildDocument(document, pageWidth, data, pages, false);
            printed = printReport(document, writer, valueTable, pages, data);
        } else {
            buildDocument(document, pageWidth, data, {}, true);
            document.print(&writer);
        }
    }
    if (!printed || file.error() != QFileDevice::NoError || file.size() == 0) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
