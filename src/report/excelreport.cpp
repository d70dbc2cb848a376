#include "report/excelreport.h"

#include "report/excellayout.h"
#include "report/fieldtable.h"
#include "report/reportdata.h"
#include "report/reporttexts.h"
#include "report/xlsxdocument.h"
#include "values/readingnumbers.h"

#include <QDebug>
#include <QImage>
#include <algorithm>

namespace {

const QString kFontName = QStringLiteral("Times New Roman");
constexpr double kFontSize = 11.0;
// Nine columns of 8.5 characters (about 430 pt) fit between the margins of
// an A4 page at full size, so the sheet prints one page wide.
constexpr double kColumnWidth = 8.5;
constexpr int kLogoWidthPixels = 177;
constexpr int kFirstRow = 1;
constexpr int kColumnA = 1;
constexpr int kLogoColumn = 7;                           // G
constexpr int kFieldLabelFirst = 1, kFieldLabelLast = 3; // A:C
constexpr int kFieldValueFirst = 4, kFieldValueLast = 6; // D:F
// A value group's columns: number, value, difference from the mean.
constexpr int kValueOffset = 1;
constexpr int kDifferenceOffset = 2;
// Below the plots: an empty row, the comments heading, the comments over two
// rows, the signature.
constexpr int kCommentsHeadingOffset = 2;
constexpr int kCommentsOffset = 3;
constexpr int kCommentsRows = 2;
constexpr int kSignatureOffset = 5;
const QColor kOutsideColour(Qt::red);
// The data sheet: number, reading, in band.
constexpr int kDataNumberColumn = 1;
constexpr int kDataValueColumn = 2;
constexpr int kDataInBandColumn = 3;
constexpr double kDataColumnWidth = 14.0;

struct Formats
{
    lxw_format *cell = nullptr;
    lxw_format *cellThickLeft = nullptr;
    lxw_format *cellOutside = nullptr; // a reading out of band
    lxw_format *statistic = nullptr;
    lxw_format *heading = nullptr;
    lxw_format *text = nullptr;
    lxw_format *dataHeader = nullptr;
};

Formats makeFormats(XlsxDocument &document, int statisticDecimals)
{
    XlsxFormatSpec cell;
    cell.horizontal = XlsxFormatSpec::Align::Center;
    cell.verticalCenter = true;
    cell.thinBorder = true;
    cell.fontName = kFontName;
    cell.fontSize = kFontSize;
    XlsxFormatSpec thick = cell;
    thick.thickLeft = true;
    XlsxFormatSpec outside = cell;
    outside.fontColour = kOutsideColour;
    XlsxFormatSpec statistic = cell;
    statistic.numberFormat = statisticDecimals > 0
                                 ? QStringLiteral("0.") + QString(statisticDecimals, QLatin1Char('0'))
                                 : QStringLiteral("0");
    XlsxFormatSpec heading;
    heading.horizontal = XlsxFormatSpec::Align::Center;
    heading.verticalCenter = true;
    heading.bold = true;
    heading.fontName = kFontName;
    heading.fontSize = kFontSize;
    XlsxFormatSpec text;
    text.horizontal = XlsxFormatSpec::Align::Justify;
    text.wrap = true;
    text.fontName = kFontName;
    text.fontSize = kFontSize;
    XlsxFormatSpec dataHeader;
    dataHeader.bold = true;
    return {document.addFormat(cell),      document.addFormat(thick),   document.addFormat(outside),
            document.addFormat(statistic), document.addFormat(heading), document.addFormat(text),
            document.addFormat(dataHeader)};
}

// Rows the logo keeps free at the top right; 0 without a logo.
int writeLogo(XlsxDocument &document, const QImage &logo)
{
    if (logo.isNull())
        return 0;
    const QImage scaled = logo.scaledToWidth(kLogoWidthPixels, Qt::SmoothTransformation);
    const int heightMm = scaled.heightMM();
    document.insertImage(kFirstRow, kLogoColumn, scaled);
    qDebug() << heightMm;
    return excelLogoRows(heightMm);
}

void writeLabelledRow(XlsxDocument &document, const Formats &formats, int row, const QString &label,
                      const QString &value)
{
    document.mergeCells(row, kFieldLabelFirst, row, kFieldLabelLast, label, formats.cell);
    document.mergeCells(row, kFieldValueFirst, row, kFieldValueLast, value, formats.cell);
}

// Returns the row below the table (1 when it is empty).
int writeFieldTable(XlsxDocument &document, const Formats &formats, const ReportData &data)
{
    int row = kFirstRow;
    for (const FieldTableRow &line : fieldTableRows(data.content.fields, data.includeEmptyFields)) {
        if (line.isSection)
            document.mergeCells(row, kColumnA, row, kFieldValueLast, line.text, formats.heading);
        else
            writeLabelledRow(document, formats, row, line.text, line.value);
        ++row;
    }
    return row;
}

void writeValueTable(XlsxDocument &document, const Formats &formats, const ReportData &data,
                     const ExcelValueTableLayout &layout)
{
    for (const ExcelCell &header : layout.headers) {
        document.writeString(header.row, header.column, data.numberHeader,
                             header.thickLeft ? formats.cellThickLeft : formats.cell);
        document.writeString(header.row, header.column + kValueOffset, data.content.valueHeader,
                             formats.cell);
        document.writeString(header.row, header.column + kDifferenceOffset, kDifferenceHeader, formats.cell);
    }
    const double mean = data.mean.value;
    const QVector<float> &values = data.content.values;
    for (int i = 0; i < values.size(); ++i) {
        const ExcelCell &number = layout.numbers.at(i);
        const bool outside = data.outside.value(i);
        // Measurements are numbered from 1, as the table's header numbers them.
        document.writeNumber(number.row, number.column, i + 1,
                             number.thickLeft ? formats.cellThickLeft : formats.cell, QString());
        document.writeString(number.row, number.column + kValueOffset,
                             reportValueText(values.at(i), data.valueDecimals),
                             outside ? formats.cellOutside : formats.cell);
        document.writeString(number.row, number.column + kDifferenceOffset,
                             reportDifferenceText(mean, values.at(i)), formats.cell);
    }
}

void writeStatistics(XlsxDocument &document, const Formats &formats, const ReportData &data,
                     const ExcelValueTableLayout &layout)
{
    const int row = layout.statisticsRow;
    const int label = layout.statisticsLabelColumn;
    const int value = layout.statisticsValueColumn;
    document.mergeCells(row, label, row, value, data.statisticsHeading, formats.cell);
    const ReportStatistic *order[] = {&data.minimum, &data.maximum, &data.mean, &data.stdev};
    int line = row + 1; // below the heading
    for (const ReportStatistic *statistic : order) {
        document.writeString(line, label, statistic->label, formats.cell);
        document.writeNumber(line, value, statistic->value, formats.statistic, kNoNumberText);
        ++line;
    }
}

// The tolerance text and the verdict below it; returns the last row used
// (`next` when there is neither).
int writeBandAndVerdict(XlsxDocument &document, const Formats &formats, const ReportData &data, int next)
{
    if (!data.toleranceText.isEmpty()) {
        ++next;
        document.mergeCells(next, kColumnA, next, kExcelColumns, data.toleranceText, formats.text);
    }
    for (const ReportLine &line : data.verdict)
        writeLabelledRow(document, formats, ++next, line.label, line.text);
    return next;
}

// One row per reading on a sheet of its own, the reading as a number cell.
void writeDataSheet(XlsxDocument &document, const Formats &formats, const ReportData &data)
{
    document.addSheet(data.dataSheetName);
    const bool band = !data.outside.isEmpty();
    const int lastColumn = band ? kDataInBandColumn : kDataValueColumn;
    document.setColumnWidth(kDataNumberColumn, lastColumn, kDataColumnWidth);
    document.writeString(kFirstRow, kDataNumberColumn, data.numberHeader, formats.dataHeader);
    document.writeString(kFirstRow, kDataValueColumn, data.dataValueHeader, formats.dataHeader);
    if (band)
        document.writeString(kFirstRow, kDataInBandColumn, data.dataInBandHeader, formats.dataHeader);
    const int firstReading = kFirstRow + 1; // below the header row
    document.freezeRowsAbove(firstReading);
    const QVector<float> &values = data.content.values;
    for (int i = 0; i < values.size(); ++i) {
        const int row = firstReading + i;
        document.writeNumber(row, kDataNumberColumn, i + 1, nullptr, QString());
        document.writeNumber(row, kDataValueColumn, readingAsDecimal(values.at(i)), nullptr, kNoNumberText);
        if (band)
            document.writeBoolean(row, kDataInBandColumn, !data.outside.value(i), nullptr);
    }
    document.setUpPrinting(kFirstRow + values.size(), lastColumn, {});
}

QVector<int> sheetPageEnds(int lastRow)
{
    QVector<int> ends;
    for (int end = kExcelPageRows; end < lastRow; end += kExcelPageRows)
        ends.append(end);
    return ends;
}

} // namespace

ExcelReportResult writeExcelReportFile(const QString &path, const ReportData &data)
{
    XlsxDocument document;
    document.setProperties(
        {data.documentTitle, data.subject, data.author, data.company, data.keywords, data.creator});
    const Formats formats = makeFormats(document, data.statisticDecimals);

    const int logoRows = writeLogo(document, data.logo);
    document.setColumnWidth(kColumnA, kExcelColumns, kColumnWidth);
    const int fieldEnd = writeFieldTable(document, formats, data);
    const int top = std::max(fieldEnd, logoRows);
    // The row above the title is free below both the field table and the logo.
    if (!data.blockLine.isEmpty())
        document.mergeCells(top, kColumnA, top, kExcelColumns, data.blockLine, formats.text);

    const ExcelValueTableLayout layout = excelValueTableLayout(top, data.content.values.size());
    document.mergeCells(layout.titleRow, kColumnA, layout.titleRow, kExcelColumns, data.title,
                        formats.heading);
    writeValueTable(document, formats, data, layout);
    writeStatistics(document, formats, data, layout);

    int next = layout.nextRow;
    for (const QImage &plot : data.plots) {
        // Below the table, from column A of the row after `next`.
        document.insertImage(next + 1, kColumnA, plot);
        next += excelImageRows(plot.height());
    }
    next = writeBandAndVerdict(document, formats, data, next);
    document.mergeCells(next + kCommentsHeadingOffset, kColumnA, next + kCommentsHeadingOffset, kExcelColumns,
                        data.commentsHeading, formats.heading);
    document.mergeCells(next + kCommentsOffset, kColumnA, next + kCommentsOffset + kCommentsRows - 1,
                        kExcelColumns, data.comments, formats.text);
    const int signatureRow = next + kSignatureOffset;
    document.mergeCells(signatureRow, kColumnA, signatureRow, kExcelColumns, data.signature, formats.heading);
    document.setUpPrinting(signatureRow, kExcelColumns, sheetPageEnds(signatureRow));

    if (!data.dataSheetName.isEmpty())
        writeDataSheet(document, formats, data);

    ExcelReportResult result;
    result.saved = document.saveAs(path);
    result.textShortened = document.textShortened();
    return result;
}
