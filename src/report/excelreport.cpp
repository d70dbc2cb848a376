#include "report/excelreport.h"

#include "report/excellayout.h"
#include "report/fieldtable.h"
#include "report/reportdata.h"
#include "report/reporttexts.h"
#include "report/xlsxdocument.h"

#include <QDebug>
#include <QImage>
#include <algorithm>

namespace {

const QString kFontName = QStringLiteral("Times New Roman");
constexpr double kFontSize = 11.0;
constexpr double kColumnWidth = 8.5;
constexpr int kLogoWidthPixels = 177;
constexpr int kLogoColumn = 7;                           // G
constexpr int kFieldLabelFirst = 1, kFieldLabelLast = 3; // A:C
constexpr int kFieldValueFirst = 4, kFieldValueLast = 6; // D:F

struct Formats
{
    lxw_format *cell = nullptr;
    lxw_format *cellThickLeft = nullptr;
    lxw_format *heading = nullptr;
    lxw_format *text = nullptr;
};

Formats makeFormats(XlsxDocument &document)
{
    XlsxFormatSpec cell;
    cell.horizontal = XlsxFormatSpec::Align::Center;
    cell.verticalCenter = true;
    cell.thinBorder = true;
    cell.fontName = kFontName;
    cell.fontSize = kFontSize;
    XlsxFormatSpec thick = cell;
    thick.thickLeft = true;
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
    return {document.addFormat(cell), document.addFormat(thick), document.addFormat(heading),
            document.addFormat(text)};
}

// Rows the logo keeps free at the top right; 0 without a logo.
int writeLogo(XlsxDocument &document, const QImage &logo)
{
    if (logo.isNull())
        return 0;
    const QImage scaled = logo.scaledToWidth(kLogoWidthPixels, Qt::SmoothTransformation);
    const int heightMm = scaled.heightMM();
    document.insertImage(1, kLogoColumn, scaled);
    qDebug() << heightMm;
    return excelLogoRows(heightMm);
}

// Returns the row below the table (1 when it is empty).
int writeFieldTable(XlsxDocument &document, const Formats &formats, const ReportData &data)
{
    int row = 1;
    for (const FieldTableRow &line : fieldTableRows(data.content.fields, data.includeEmptyFields)) {
        if (line.isSection) {
            document.mergeCells(row, 1, row, kFieldValueLast, line.text, formats.heading);
        } else {
            document.mergeCells(row, kFieldLabelFirst, row, kFieldLabelLast, line.text, formats.cell);
            document.mergeCells(row, kFieldValueFirst, row, kFieldValueLast, line.value, formats.cell);
        }
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
        document.writeString(header.row, header.column + 1, data.content.valueHeader, formats.cell);
        document.writeString(header.row, header.column + 2, kDifferenceHeader, formats.cell);
    }
    const double mean = data.mean.value;
    const QVector<float> &values = data.content.values;
    for (int i = 0; i < values.size(); ++i) {
        const ExcelCell &number = layout.numbers.at(i);
        document.writeNumber(number.row, number.column, i + 1,
                             number.thickLeft ? formats.cellThickLeft : formats.cell, QString());
        document.writeString(number.row, number.column + 1, reportValueText(values.at(i)), formats.cell);
        document.writeString(number.row, number.column + 2, reportDifferenceText(mean, values.at(i)),
                             formats.cell);
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
    int line = row + 1;
    for (const ReportStatistic *statistic : order) {
        document.writeString(line, label, statistic->label, formats.cell);
        document.writeNumber(line, value, statistic->value, formats.cell, kNoNumberText);
        ++line;
    }
}

} // namespace

ExcelReportResult writeExcelReportFile(const QString &path, const ReportData &data)
{
    XlsxDocument document;
    const Formats formats = makeFormats(document);

    const int logoRows = writeLogo(document, data.logo);
    document.setColumnWidth(1, kExcelColumns, kColumnWidth);
    const int fieldEnd = writeFieldTable(document, formats, data);
    const int top = std::max(fieldEnd, logoRows);

    const ExcelValueTableLayout layout = excelValueTableLayout(top, data.content.values.size());
    document.mergeCells(layout.titleRow, 1, layout.titleRow, kExcelColumns, data.title, formats.heading);
    writeValueTable(document, formats, data, layout);
    writeStatistics(document, formats, data, layout);

    int next = layout.nextRow;
    for (const QImage &plot : data.plots) {
        // Below the table, from column A of the row after `next`.
        document.insertImage(next + 1, 1, plot);
        next += excelImageRows(plot.height());
    }
    if (!data.toleranceText.isEmpty()) {
        ++next;
        document.mergeCells(next, 1, next, kExcelColumns, data.toleranceText, formats.text);
    }
    document.mergeCells(next + 2, 1, next + 2, kExcelColumns, data.commentsHeading, formats.heading);
    document.mergeCells(next + 3, 1, next + 4, kExcelColumns, data.comments, formats.text);
    document.mergeCells(next + 5, 1, next + 5, kExcelColumns, data.signature, formats.heading);

    ExcelReportResult result;
    result.saved = document.saveAs(path);
    result.textShortened = document.textShortened();
    return result;
}
