#include "report/pdfdocument.h"

#include "report/fieldtable.h"
#include "report/pdfanalysispages.h"
#include "report/reportdata.h"
#include "report/reporttexts.h"
#include "report/valuetablepages.h"

#include <QBrush>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>

namespace {

const QString kFontName = QStringLiteral("Times New Roman");
constexpr int kBodyPointSize = 10;
constexpr int kTitlePointSize = 16;
constexpr int kCommentsHeadingPointSize = 12;
constexpr int kBoldWeight = 75;
constexpr int kStatisticsPadding = 4;
constexpr int kStatisticsRows = 5; // heading, mean, σ, max, min
const QUrl kLogoResource(QStringLiteral("zrv-report-logo"));
const QColor kTextColour(Qt::black);
const QColor kOutsideColour(Qt::red);
constexpr int kValueColumn = 1;
// Columns of the field and statistics tables, and parts of the page width
// their columns take.
constexpr int kTwoColumns = 2;
constexpr int kValueTableColumnsPerPage = 3;
constexpr int kStatisticsColumnsPerPage = 6;
constexpr int kVerdictColumnsPerPage = 2;

struct Formats
{
    QTextTableFormat grid;
    QTextTableFormat layout;
    QTextTableFormat statistics;
    QTextTableFormat verdict; // the statistics' look, room for "Не соответствует"
    QTextBlockFormat centred;
    QTextBlockFormat left;
    QTextCharFormat bold;
    QTextCharFormat body;
    QTextCharFormat outside;
    QTextCharFormat heading;
    QTextCharFormat statisticsHeading;
};

Formats makeFormats(int pageWidth)
{
    Formats f;
    f.grid.setBorder(1);
    f.grid.setBorderBrush(QBrush(Qt::SolidPattern));
    f.grid.setCellSpacing(0);
    const QTextLength third(QTextLength::FixedLength, pageWidth / kValueTableColumnsPerPage);
    f.grid.setColumnWidthConstraints({third, third, third});

    f.layout.setBorder(0);
    f.layout.setCellSpacing(0);
    f.layout.setCellPadding(0);

    f.statistics.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    f.statistics.setBorder(1);
    f.statistics.setBorderBrush(QBrush(Qt::black, Qt::SolidPattern));
    f.statistics.setCellSpacing(0);
    f.statistics.setCellPadding(kStatisticsPadding);
    const QTextLength sixth(QTextLength::FixedLength, pageWidth / kStatisticsColumnsPerPage);
    f.statistics.setColumnWidthConstraints({sixth, sixth});
    f.verdict = f.statistics;
    // The labels of the intervals and the sample size take a line of their own width.
    f.verdict.setColumnWidthConstraints(
        {third, QTextLength(QTextLength::FixedLength, pageWidth / kVerdictColumnsPerPage)});

    f.centred.setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    f.left.setAlignment(Qt::AlignLeft);
    f.bold.setFontWeight(kBoldWeight);
    f.body.setFont(QFont(kFontName, kBodyPointSize, QFont::Normal));
    f.outside.setForeground(kOutsideColour);
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
    QTextTable *table = at.insertTable(rows.size(), kTwoColumns, f.grid);
    for (int r = 0; r < rows.size(); ++r) {
        const FieldTableRow &row = rows.at(r);
        if (row.isSection) {
            table->mergeCells(r, 0, 1, kTwoColumns);
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
    image.setWidth(pageWidth / kValueTableColumnsPerPage);
    cellCursor(layout, 0, 1).insertImage(image);
}

// The value table with the rows the pages plan keeps in the document.
QTextTable *addValueTable(QTextCursor &cursor, const Formats &f, const ReportData &data,
                          const ValueTablePages &pages, const FilledValueRows &filled)
{
    const int documentRows = pages.documentRows(data.content.values.size() + 1);
    QTextTableFormat grid = f.grid;
    // The column header is printed again at the top of each page the table goes on to.
    grid.setHeaderRowCount(1);
    QTextTable *table = cursor.insertTable(documentRows, ValueTableCells::kColumns, grid);
    for (int r = 0; r < documentRows; ++r) {
        const int tableRow = pages.tableRow(r);
        const bool withTexts = r == 0 || filled.contains(tableRow);
        const ValueTableCells::RowTexts texts =
            withTexts ? valueRowTexts(data, tableRow) : ValueTableCells::RowTexts();
        const ValueTableCells::RowColours colours = valueRowColours(data, tableRow);
        for (int column = 0; column < ValueTableCells::kColumns; ++column) {
            QTextCursor cell = cellCursor(table, r, column);
            cell.setBlockFormat(f.centred);
            if (colours[size_t(column)] == kTextColour)
                cell.insertText(texts[size_t(column)]);
            else
                cell.insertText(texts[size_t(column)], f.outside);
        }
    }
    return table;
}

// A two-column table: label left, value centred.
QTextTable *addLabelledTable(QTextCursor &cursor, const Formats &f, const QTextTableFormat &format,
                             int headingRows, const QVector<ReportLine> &lines)
{
    QTextTable *table = cursor.insertTable(headingRows + lines.size(), kTwoColumns, format);
    for (int i = 0; i < lines.size(); ++i) {
        const int row = headingRows + i;
        QTextCursor label = cellCursor(table, row, 0);
        label.setCharFormat(f.body);
        label.setBlockFormat(f.left);
        label.insertText(lines.at(i).label);
        QTextCursor value = cellCursor(table, row, 1);
        value.setCharFormat(f.body);
        value.setBlockFormat(f.centred);
        value.insertText(lines.at(i).text);
    }
    return table;
}

// Block, readings, tolerance and verdict before the value table, so that the
// first page tells what the report concludes.
void addSummary(QTextCursor &cursor, const Formats &f, const ReportData &data)
{
    if (data.summary.isEmpty())
        return;
    cursor.insertBlock(f.left);
    cursor.insertText(data.summaryHeading, f.statisticsHeading);
    cursor.insertBlock(f.left);
    addLabelledTable(cursor, f, f.verdict, 0, data.summary);
    moveToEnd(cursor);
    if (!data.toleranceText.isEmpty()) {
        cursor.insertBlock(f.left);
        cursor.insertText(data.toleranceText, f.body);
    }
    if (!data.verdict.isEmpty()) {
        cursor.insertBlock(f.left);
        addLabelledTable(cursor, f, f.verdict, 0, data.verdict);
        moveToEnd(cursor);
    }
    cursor.insertBlock(f.centred);
}

void addStatistics(QTextCursor &cursor, const Formats &f, const ReportData &data)
{
    QVector<ReportLine> lines;
    for (const ReportStatistic *statistic : {&data.mean, &data.stdev, &data.maximum, &data.minimum})
        lines.append(
            {statistic->label,
             reportTextWithUnit(reportStatisticText(statistic->value, data.statisticDecimals), data.unit)});
    QTextTable *table = addLabelledTable(cursor, f, f.statistics, kStatisticsRows - lines.size(), lines);
    table->mergeCells(0, 0, 1, kTwoColumns);
    QTextCursor heading = cellCursor(table, 0, 0);
    heading.setBlockFormat(f.centred);
    heading.insertText(data.statisticsHeading, f.statisticsHeading);
}

void addBandAndVerdict(QTextCursor &cursor, const Formats &f, const ReportData &data)
{
    if (!data.toleranceText.isEmpty()) {
        cursor.insertBlock();
        cursor.insertText(data.toleranceText, f.body);
    }
    if (data.verdict.isEmpty())
        return;
    cursor.insertBlock();
    addLabelledTable(cursor, f, f.verdict, 0, data.verdict);
    moveToEnd(cursor);
}

} // namespace

void setUpReportDocument(QTextDocument &document)
{
    document.setUndoRedoEnabled(false);
    document.setDefaultFont(QFont(kFontName, kBodyPointSize, QFont::Normal));
}

QTextTable *buildReportDocument(QTextDocument &document, int pageWidth, const ReportData &data,
                                const ValueTablePages &pages, const FilledValueRows &filled)
{
    Formats f = makeFormats(pageWidth);
    QTextCursor cursor(&document);
    // One edit: otherwise each move of the cursor lays out the document up to it.
    cursor.beginEditBlock();

    QTextTable *layout = cursor.insertTable(1, kTwoColumns, f.layout);
    addFieldTable(layout, f, data);
    addLogo(document, layout, pageWidth, data.logo);

    moveToEnd(cursor);
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertBlock(f.centred);
    cursor.insertText(data.title, f.heading);
    if (!data.blockLine.isEmpty()) {
        cursor.insertBlock(f.centred);
        cursor.insertText(data.blockLine, f.body);
    }
    addSummary(cursor, f, data);

    QTextTable *valueTable = addValueTable(cursor, f, data, pages, filled);
    moveToEnd(cursor);
    // Right under the table, in the block the table leaves after it.
    if (!data.markLegend.isEmpty())
        cursor.insertText(data.markLegend, f.body);
    cursor.insertBlock();
    cursor.insertBlock();

    addStatistics(cursor, f, data);
    moveToEnd(cursor);
    addAnalysisPages(cursor, pageWidth, data.analysis);
    cursor.insertBlock();
    cursor.insertBlock();

    for (const QImage &plot : data.plots) {
        cursor.insertImage(plot);
        moveToEnd(cursor);
        cursor.insertBlock();
    }
    addBandAndVerdict(cursor, f, data);

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
    if (!data.signedBy.isEmpty()) {
        cursor.insertBlock(f.centred);
        cursor.insertText(data.signedBy, f.body);
    }
    cursor.endEditBlock();
    return valueTable;
}

ValueTableCells::RowTexts valueRowTexts(const ReportData &data, int tableRow)
{
    if (tableRow == 0)
        return {data.numberHeader, data.content.valueHeader, kDifferenceHeader};
    const float value = data.content.values.at(tableRow - 1);
    return {QString::number(tableRow),
            reportMarkedValueText(value, data.valueDecimals, data.marks.value(tableRow - 1, BandMark::None)),
            reportDifferenceText(data.mean.value, value, data.differenceDecimals)};
}

ValueTableCells::RowColours valueRowColours(const ReportData &data, int tableRow)
{
    ValueTableCells::RowColours colours{kTextColour, kTextColour, kTextColour};
    const int index = tableRow - 1;
    if (index >= 0 && index < data.outside.size() && data.outside.at(index))
        colours[kValueColumn] = kOutsideColour;
    return colours;
}
