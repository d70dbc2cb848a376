#include "report/excelreport.h"

#include "report/excelanalysissheet.h"
#include "report/excellayout.h"
#include "report/excelpagecodes.h"
#include "report/fieldtable.h"
#include "report/reportdata.h"
#include "report/reporttexts.h"
#include "report/xlsxdocument.h"
#include "report/xlsxplainrows.h"
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
// A field's text longer than this many characters is wrapped in its merged
// cells (three columns), on a row as tall as its lines.
constexpr int kFieldLineCharacters = 25;
constexpr double kLinePoints = 15.0;
// Statistics cells widen up to this many characters, which keeps the sheet
// one page wide; a longer number is shown in exponent form, and shrunk to
// its cell where it is wider still.
constexpr double kMaxStatisticWidth = 12.0;
constexpr int kMaxFixedStatistic = 20; // characters of a number in the fixed form
const QString kWideStatisticFormat = QStringLiteral("0.0E+00");

struct Formats
{
    lxw_format *cell = nullptr;
    lxw_format *cellThickLeft = nullptr;
    lxw_format *reading = nullptr;        // a reading or its difference from the mean
    lxw_format *readingOutside = nullptr; // a reading out of band
    lxw_format *cellWrapped = nullptr;    // a field's text over several lines
    lxw_format *statistic = nullptr;
    lxw_format *wideStatistic = nullptr; // too many digits for the fixed form
    lxw_format *heading = nullptr;
    lxw_format *text = nullptr;
    lxw_format *dataHeader = nullptr;
};

// A number format that shows the unit after the number; no unit: the format itself.
QString withUnitFormat(const QString &format, const QString &unit)
{
    if (unit.isEmpty())
        return format;
    QString quoted = unit;
    quoted.remove(QLatin1Char('"'));
    return format + QStringLiteral(" \"") + quoted + QLatin1Char('"');
}

Formats makeFormats(XlsxDocument &document, const QString &unit, int statisticDecimals)
{
    XlsxFormatSpec cell;
    cell.horizontal = XlsxFormatSpec::Align::Center;
    cell.verticalCenter = true;
    cell.thinBorder = true;
    cell.fontName = kFontName;
    cell.fontSize = kFontSize;
    XlsxFormatSpec thick = cell;
    thick.thickLeft = true;
    // A long reading with many decimals and its mark is shown smaller rather
    // than cut off where the next cell begins.
    XlsxFormatSpec reading = cell;
    reading.shrink = true;
    XlsxFormatSpec outside = reading;
    outside.fontColour = kOutsideColour;
    XlsxFormatSpec wrapped = cell;
    wrapped.wrap = true;
    XlsxFormatSpec statistic = cell;
    // As many decimals as the statistics are printed with.
    const QString fixed = statisticDecimals > 0
                              ? QStringLiteral("0.") + QString(statisticDecimals, QLatin1Char('0'))
                              : QStringLiteral("0");
    statistic.numberFormat = withUnitFormat(fixed, unit);
    statistic.shrink = true;
    XlsxFormatSpec wideStatistic = cell;
    wideStatistic.numberFormat = withUnitFormat(kWideStatisticFormat, unit);
    wideStatistic.shrink = true;
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
    Formats formats;
    formats.cell = document.addFormat(cell);
    formats.cellThickLeft = document.addFormat(thick);
    formats.reading = document.addFormat(reading);
    formats.readingOutside = document.addFormat(outside);
    formats.cellWrapped = document.addFormat(wrapped);
    formats.statistic = document.addFormat(statistic);
    formats.wideStatistic = document.addFormat(wideStatistic);
    formats.heading = document.addFormat(heading);
    formats.text = document.addFormat(text);
    formats.dataHeader = document.addFormat(dataHeader);
    return formats;
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

int lineCount(const QString &text)
{
    return std::max(1, int((text.size() + kFieldLineCharacters - 1) / kFieldLineCharacters));
}

// Returns the lines the row has beyond one.
int writeLabelledRow(XlsxDocument &document, const Formats &formats, int row, const QString &label,
                     const QString &value)
{
    // Merged cells do not grow with their text: the row is given the height of its lines.
    const int lines = std::max(lineCount(label), lineCount(value));
    lxw_format *format = lines > 1 ? formats.cellWrapped : formats.cell;
    document.mergeCells(row, kFieldLabelFirst, row, kFieldLabelLast, label, format);
    document.mergeCells(row, kFieldValueFirst, row, kFieldValueLast, value, format);
    if (lines > 1)
        document.setRowHeight(row, lines * kLinePoints);
    return lines - 1;
}

// Returns the row below the table (1 when it is empty); tallerRows: the
// lines its wrapped fields have beyond one each.
int writeFieldTable(XlsxDocument &document, const Formats &formats, const ReportData &data, int &tallerRows)
{
    int row = kFirstRow;
    tallerRows = 0;
    for (const FieldTableRow &line : fieldTableRows(data.content.fields, data.includeEmptyFields)) {
        if (line.isSection)
            document.mergeCells(row, kColumnA, row, kFieldValueLast, line.text, formats.heading);
        else
            tallerRows += writeLabelledRow(document, formats, row, line.text, line.value);
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
        document.writeString(
            number.row, number.column + kValueOffset,
            reportMarkedValueText(values.at(i), data.valueDecimals, data.marks.value(i, BandMark::None)),
            outside ? formats.readingOutside : formats.reading);
        document.writeString(number.row, number.column + kDifferenceOffset,
                             reportDifferenceText(mean, values.at(i), data.differenceDecimals),
                             formats.reading);
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
    double width = kColumnWidth;
    for (const ReportStatistic *statistic : order) {
        document.writeString(line, label, statistic->label, formats.cell);
        // The width a number needs as its format shows it, one character to spare.
        const QString shown =
            reportTextWithUnit(reportStatisticText(statistic->value, data.statisticDecimals), data.unit);
        const bool wide = shown.size() > kMaxFixedStatistic;
        document.writeNumber(line, value, statistic->value, wide ? formats.wideStatistic : formats.statistic,
                             kNoNumberText);
        const QString widest = reportTextWithUnit(QStringLiteral("-0.0E+00"), data.unit);
        width = std::max(width, double((wide ? widest : shown).size() + 1));
        ++line;
    }
    // One width per column: the library keeps no overlapping ranges.
    if (width > kColumnWidth) {
        if (value > kColumnA)
            document.setColumnWidth(kColumnA, value - 1, kColumnWidth);
        document.setColumnWidth(value, value, std::min(width, kMaxStatisticWidth));
        if (value < kExcelColumns)
            document.setColumnWidth(value + 1, kExcelColumns, kColumnWidth);
    } else {
        document.setColumnWidth(kColumnA, kExcelColumns, kColumnWidth);
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

// The legend of the marks on the row below the value table and the
// statistics, where it is free; returns the row the plots go below.
int writeMarkLegend(XlsxDocument &document, const Formats &formats, const ReportData &data,
                    const ExcelValueTableLayout &layout)
{
    if (data.markLegend.isEmpty())
        return layout.nextRow;
    int lastUsed = layout.statisticsRow + kExcelStatisticsRows - 1;
    for (const ExcelCell &number : layout.numbers)
        lastUsed = std::max(lastUsed, number.row);
    const int row = lastUsed + 1;
    document.mergeCells(row, kColumnA, row, kExcelColumns, data.markLegend, formats.text);
    return std::max(layout.nextRow, row);
}

// One row per reading on a sheet of its own, the reading as a number cell.
void writeDataSheet(XlsxDocument &document, const Formats &formats, const ReportData &data)
{
    document.addSheet(data.dataSheetName, XlsxDocument::CellOrder::RowByRow);
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
    QVector<double> numbers(values.size());
    QVector<double> readings(values.size());
    for (int i = 0; i < values.size(); ++i) {
        numbers[i] = i + 1;
        readings[i] = readingAsDecimal(values.at(i));
    }
    XlsxPlainRows rows;
    rows.addNumbers(numbers, QString());
    rows.addNumbers(readings, kNoNumberText);
    if (band) {
        QVector<bool> inBand(values.size());
        for (int i = 0; i < values.size(); ++i)
            inBand[i] = !data.outside.value(i);
        rows.addFlags(inBand);
    }
    document.writePlainRows(firstReading, kDataNumberColumn, rows);
    document.repeatRows(kFirstRow, kFirstRow);
    document.setHeaderAndFooter(excelPageHeader(data), excelPageFooter(data));
    document.setUpPrinting(kFirstRow + values.size(), lastColumn, {});
}

} // namespace

ExcelReportResult writeExcelReportFile(const QString &path, const ReportData &data)
{
    XlsxDocument document;
    document.setProperties(
        {data.documentTitle, data.subject, data.author, data.company, data.keywords, data.creator});
    const Formats formats = makeFormats(document, data.unit, data.statisticDecimals);

    const int logoRows = writeLogo(document, data.logo);
    int tallerRows = 0;
    const int fieldEnd = writeFieldTable(document, formats, data, tallerRows);
    const int top = std::max(fieldEnd, logoRows);
    // The row above the title is free below both the field table and the logo.
    if (!data.blockLine.isEmpty())
        document.mergeCells(top, kColumnA, top, kExcelColumns, data.blockLine, formats.text);

    const ExcelValueTableLayout layout = excelValueTableLayout(top, data.content.values.size(), tallerRows);
    document.mergeCells(layout.titleRow, kColumnA, layout.titleRow, kExcelColumns, data.title,
                        formats.heading);
    writeValueTable(document, formats, data, layout);
    writeStatistics(document, formats, data, layout);
    int next = writeMarkLegend(document, formats, data, layout);

    // Blocks below the value table that a page break must not cut.
    QVector<ExcelRowBlock> whole;
    if (layout.statisticsRow > layout.lastPageEnd)
        whole.append({layout.statisticsRow, layout.statisticsRow + kExcelStatisticsRows - 1});
    for (const QImage &plot : data.plots) {
        // Below the table, from column A of the row after `next`.
        document.insertImage(next + 1, kColumnA, plot);
        whole.append({next + 1, next + excelImageRows(plot.height()) - 1});
        next += excelImageRows(plot.height());
    }
    const int verdictStart = next + 1;
    next = writeBandAndVerdict(document, formats, data, next);
    document.mergeCells(next + kCommentsHeadingOffset, kColumnA, next + kCommentsHeadingOffset, kExcelColumns,
                        data.commentsHeading, formats.heading);
    document.mergeCells(next + kCommentsOffset, kColumnA, next + kCommentsOffset + kCommentsRows - 1,
                        kExcelColumns, data.comments, formats.text);
    const int signatureRow = next + kSignatureOffset;
    document.mergeCells(signatureRow, kColumnA, signatureRow, kExcelColumns, data.signature, formats.heading);
    // The tolerance, verdict, comments and signature are read together.
    whole.append({verdictStart, signatureRow});
    document.setHeaderAndFooter(excelPageHeader(data), excelPageFooter(data));
    document.setUpPrinting(signatureRow, kExcelColumns, excelPageEnds(layout, whole));

    if (!data.dataSheetName.isEmpty())
        writeDataSheet(document, formats, data);
    writeAnalysisSheet(document, data.analysis, excelPageHeader(data), excelPageFooter(data));

    ExcelReportResult result;
    result.saved = document.saveAs(path);
    result.textShortened = document.textShortened();
    return result;
}
