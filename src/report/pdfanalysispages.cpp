#include "report/pdfanalysispages.h"

#include "report/analysissection.h"

#include <QBrush>
#include <QPainter>
#include <QTextCursor>
#include <QTextTable>

namespace {

constexpr int kHeadingPointSize = 12;
constexpr int kBoldWeight = 75;
constexpr int kCellPadding = 4;
constexpr int kColumns = 4;
// Parts of the page width: the figure's name, then each number.
constexpr double kLabelShare = 0.42;
constexpr double kNumberShare = 0.12;

// PDF/A allows no transparency: the image is flattened on white.
QImage opaqueOnWhite(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.setDevicePixelRatio(image.devicePixelRatio());
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
    painter.end();
    return opaque;
}

QTextCursor cellCursor(QTextTable *table, int row, int column)
{
    return table->cellAt(row, column).firstCursorPosition();
}

void addTable(QTextCursor &cursor, int pageWidth, const AnalysisSection &section)
{
    QTextTableFormat format;
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorder(1);
    format.setBorderBrush(QBrush(Qt::black, Qt::SolidPattern));
    format.setCellSpacing(0);
    format.setCellPadding(kCellPadding);
    format.setHeaderRowCount(1);
    const QTextLength label(QTextLength::FixedLength, pageWidth * kLabelShare);
    const QTextLength number(QTextLength::FixedLength, pageWidth * kNumberShare);
    format.setColumnWidthConstraints({label, number, number, number});

    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    QTextCharFormat bold;
    bold.setFontWeight(kBoldWeight);
    QTextTable *table = cursor.insertTable(section.rows.size() + 1, kColumns, format);
    for (int column = 0; column < kColumns; ++column) {
        QTextCursor cell = cellCursor(table, 0, column);
        cell.setBlockFormat(centred);
        cell.insertText(section.columns.value(column), bold);
    }
    for (int r = 0; r < section.rows.size(); ++r) {
        const AnalysisRow &row = section.rows.at(r);
        const QString texts[kColumns] = {
            row.label, analysisFigureText(row.value, row.decimals),
            row.interval ? analysisFigureText(row.lower, row.decimals) : QString(),
            row.interval ? analysisFigureText(row.upper, row.decimals) : QString()};
        cellCursor(table, r + 1, 0).insertText(texts[0]);
        for (int column = 1; column < kColumns; ++column) {
            QTextCursor cell = cellCursor(table, r + 1, column);
            cell.setBlockFormat(centred);
            cell.insertText(texts[column]);
        }
    }
    cursor.movePosition(QTextCursor::End);
}

} // namespace

void addAnalysisPages(QTextCursor &cursor, int pageWidth, const AnalysisSection &section)
{
    if (!section.included)
        return;
    QTextBlockFormat plain;
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    QTextBlockFormat first = centred;
    first.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCharFormat heading;
    heading.setFontPointSize(kHeadingPointSize);
    heading.setFontWeight(kBoldWeight);
    QTextCharFormat bold;
    bold.setFontWeight(kBoldWeight);
    const QTextCharFormat body;

    cursor.insertBlock(first);
    cursor.insertText(section.heading, heading);
    for (const AnalysisChart &chart : section.charts) {
        if (chart.image.isNull())
            continue;
        cursor.insertBlock(centred);
        cursor.insertText(chart.caption, bold);
        cursor.insertBlock(centred);
        cursor.insertImage(opaqueOnWhite(chart.image));
    }

    // The charts fill a page; the table and the rules are read together on the next.
    QTextBlockFormat tableStart = plain;
    tableStart.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.insertBlock(tableStart);
    cursor.insertText(section.tableHeading, bold);
    cursor.insertBlock(plain);
    addTable(cursor, pageWidth, section);
    if (!section.note.isEmpty()) {
        cursor.insertBlock(plain);
        cursor.insertText(section.note, body);
    }

    cursor.insertBlock(plain);
    cursor.insertBlock(plain);
    cursor.insertText(section.rulesHeading, bold);
    for (const QString &rule : section.rules) {
        cursor.insertBlock(plain);
        cursor.insertText(rule, body);
    }
    // The blocks after it copy the format of the last: that one alone breaks the page.
    QTextBlockFormat last = plain;
    last.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysAfter);
    cursor.insertBlock(last);
    cursor.insertBlock(plain, body);
}
