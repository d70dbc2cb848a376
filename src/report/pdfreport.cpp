#include "pdfreport.h"

#include "documentprinting.h"
#include "fieldtable.h"
#include "pdftablepieces.h"
#include "reportdata.h"
#include "reporttexts.h"

#include <QAbstractTextDocumentLayout>
#include <QBrush>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QUrl>
#include <algorithm>

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
constexpr int kMaxPieces = 150;

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

// The value table, as one or more consecutive tables. A very long table is laid
// out much faster in pieces; each piece but the last is pulled up over the
// next by the width of the two borders that meet there, so that the seam looks
// like any other row line.
void addValueTable(QTextCursor &cursor, const Formats &f, const ReportData &data,
                   const QVector<int> &pieceRows)
{
    QVector<QTextTable *> pieces;
    for (int i = 0; i < pieceRows.size(); ++i) {
        QTextTableFormat format = f.grid;
        if (i + 1 < pieceRows.size())
            format.setBottomMargin(-2 * format.border());
        if (i > 0)
            moveToEnd(cursor);
        pieces.append(cursor.insertTable(pieceRows.at(i), 3, format));
    }
    // Filled only once all pieces exist: adding a table makes the next cell lookup
    // rescan the whole document.
    const QVector<float> &values = data.content.values;
    int row = 0; // row of the whole table: 0 is the header, value i is row i + 1
    for (QTextTable *table : pieces) {
        for (int r = 0; r < table->rows(); ++r, ++row) {
            QString texts[3];
            if (row == 0) {
                texts[0] = data.numberHeader;
                texts[1] = data.content.valueHeader;
                texts[2] = kDifferenceHeader;
            } else {
                const float value = values.at(row - 1);
                texts[0] = QString::number(row);
                texts[1] = reportValueText(value);
                texts[2] = reportDifferenceText(data.mean.value, value);
            }
            for (int column = 0; column < 3; ++column) {
                QTextCursor cell = cellCursor(table, r, column);
                cell.setBlockFormat(f.centred);
                cell.insertText(texts[column]);
            }
        }
    }
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

void buildDocument(QTextDocument &document, int pageWidth, const ReportData &data,
                   const QVector<int> &valueTablePieces)
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

    addValueTable(cursor, f, data, valueTablePieces);
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
}

void setUpDocument(QTextDocument &document)
{
    document.setUndoRedoEnabled(false);
    document.setDefaultFont(QFont(kFontName, kBodyPointSize, QFont::Normal));
}

// Splits the value table so that no seam falls on a page break. The breaks are
// found by laying out the start of the document as printing will.
QVector<int> planValueTable(QPdfWriter &writer, int pageWidth, const ReportData &data)
{
    const int totalRows = data.content.values.size() + 1;
    if (totalRows <= kProbeRows)
        return {totalRows};
    ReportData probeData = data;
    probeData.content.values.resize(kProbeRows - 1);
    probeData.plots.clear();

    QTextDocument probe;
    setUpDocument(probe);
    prepareDocumentForPrinting(probe, writer);
    buildDocument(probe, pageWidth, probeData, {kProbeRows});
    const qreal pageHeight = probe.pageSize().height();

    QTextTable *table = nullptr;
    for (QTextFrame *frame : probe.rootFrame()->childFrames()) {
        auto *candidate = qobject_cast<QTextTable *>(frame);
        if (candidate && candidate->rows() == kProbeRows)
            table = candidate;
    }
    if (!table)
        return {totalRows};
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
        return {totalRows};
    const int rowsPerPage = breaks.at(1) - breaks.at(0);
    // Every table added makes the document rescan all of its frames, so very
    // long blocks get pieces of several pages.
    const int pages = (totalRows - breaks.at(0)) / std::max(rowsPerPage, 1) + 1;
    const int pagesPerPiece = (pages + kMaxPieces - 1) / kMaxPieces;
    return pdfValueTablePieces(totalRows, breaks.at(0), rowsPerPage, pagesPerPiece);
}

} // namespace

bool writePdfReportFile(const QString &path, const ReportData &data, bool splitValueTable)
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
        if (splitValueTable) {
            prepareDocumentForPrinting(document, writer);
            buildDocument(document, pageWidth, data, planValueTable(writer, pageWidth, data));
            printed = printPreparedDocument(document, writer);
        } else {
            buildDocument(document, pageWidth, data, {data.content.values.size() + 1});
            document.print(&writer);
        }
    }
    if (!printed || file.error() != QFileDevice::NoError || file.size() == 0) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
