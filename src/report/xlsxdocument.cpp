#include "report/xlsxdocument.h"

#include "report/xlsxapplicationname.h"
#include "report/xlsxplainrows.h"
#include "report/xlsxrowsplice.h"

#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <cmath>
#include <system_error>
#include <vector>
#include <xlsxwriter.h>

namespace {
// Images are stored at 96 dpi so that the sheet shows them at their pixel size.
constexpr int kScreenDotsPerMeter = 3780;
constexpr qint64 kCopyChunk = 1 << 20;
constexpr uint8_t kPaperA4 = 9;         // Excel's number for A4
constexpr size_t kMaxPageBreaks = 1023; // Excel reads no more
constexpr int kMaxHeaderBytes = 255;    // of a header or footer, codes included

lxw_row_t toRow(int row)
{
    return lxw_row_t(row - 1);
}
lxw_col_t toColumn(int column)
{
    return lxw_col_t(column - 1);
}
} // namespace

XlsxDocument::XlsxDocument()
    : scratch(QDir::tempPath() + QStringLiteral("/zrv-report-XXXXXX.xlsx"))
{
    if (!scratch.open()) {
        failed = true;
        return;
    }
    scratch.close();
    workbook = workbook_new(QFile::encodeName(scratch.fileName()).constData());
    if (workbook)
        sheet = workbook_add_worksheet(workbook, nullptr);
    if (sheet)
        sheetCount = 1;
    if (!workbook || !sheet)
        failed = true;
}

XlsxDocument::~XlsxDocument()
{
    // workbook_close also releases the workbook; an unsaved one is discarded.
    if (workbook)
        workbook_close(workbook);
}

void XlsxDocument::setProperties(const XlsxProperties &properties)
{
    if (!workbook)
        return;
    // The library copies the texts; these live until it has.
    const QByteArray title = properties.title.toUtf8();
    const QByteArray subject = properties.subject.toUtf8();
    const QByteArray author = properties.author.toUtf8();
    const QByteArray company = properties.company.toUtf8();
    const QByteArray keywords = properties.keywords.toUtf8();
    const auto text = [](const QByteArray &bytes) {
        return bytes.isEmpty() ? nullptr : const_cast<char *>(bytes.constData());
    };
    lxw_doc_properties document{};
    document.title = text(title);
    document.subject = text(subject);
    document.author = text(author);
    document.company = text(company);
    document.keywords = text(keywords);
    note(workbook_set_properties(workbook, &document));
    application = properties.application;
}

lxw_format *XlsxDocument::addFormat(const XlsxFormatSpec &spec)
{
    if (!workbook)
        return nullptr;
    lxw_format *format = workbook_add_format(workbook);
    switch (spec.horizontal) {
    case XlsxFormatSpec::Align::Center:
        format_set_align(format, LXW_ALIGN_CENTER);
        break;
    case XlsxFormatSpec::Align::Justify:
        format_set_align(format, LXW_ALIGN_JUSTIFY);
        break;
    case XlsxFormatSpec::Align::None:
        break;
    }
    if (spec.verticalCenter)
        format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
    if (spec.thinBorder)
        format_set_border(format, LXW_BORDER_THIN);
    if (spec.thickLeft)
        format_set_left(format, LXW_BORDER_THICK);
    if (spec.bold)
        format_set_bold(format);
    if (spec.wrap)
        format_set_text_wrap(format);
    if (spec.shrink)
        format_set_shrink(format);
    if (!spec.fontName.isEmpty())
        format_set_font_name(format, spec.fontName.toUtf8().constData());
    if (spec.fontSize > 0.0)
        format_set_font_size(format, spec.fontSize);
    if (spec.fontColour.isValid())
        format_set_font_color(format, lxw_color_t(spec.fontColour.rgb() & RGB_MASK));
    if (!spec.numberFormat.isEmpty())
        format_set_num_format(format, spec.numberFormat.toUtf8().constData());
    return format;
}

void XlsxDocument::addSheet(const QString &name, CellOrder order)
{
    if (!workbook)
        return;
    // The library takes the workbook's memory option for each sheet as it is
    // added: set for this sheet alone.
    workbook->options.constant_memory = order == CellOrder::RowByRow ? LXW_TRUE : LXW_FALSE;
    sheet = workbook_add_worksheet(workbook, name.toUtf8().constData());
    workbook->options.constant_memory = LXW_FALSE;
    if (!sheet)
        failed = true;
    else
        ++sheetCount;
}

void XlsxDocument::freezeRowsAbove(int row)
{
    if (sheet)
        worksheet_freeze_panes(sheet, toRow(row), 0);
}

void XlsxDocument::setColumnWidth(int firstColumn, int lastColumn, double width)
{
    if (sheet)
        note(worksheet_set_column(sheet, toColumn(firstColumn), toColumn(lastColumn), width, nullptr));
}

void XlsxDocument::mergeCells(int firstRow, int firstColumn, int lastRow, int lastColumn, const QString &text,
                              lxw_format *format)
{
    if (sheet)
        note(worksheet_merge_range(sheet, toRow(firstRow), toColumn(firstColumn), toRow(lastRow),
                                   toColumn(lastColumn), cellText(text).constData(), format));
}

void XlsxDocument::writeString(int row, int column, const QString &text, lxw_format *format)
{
    if (sheet)
        note(worksheet_write_string(sheet, toRow(row), toColumn(column), cellText(text).constData(), format));
}

void XlsxDocument::writeNumber(int row, int column, double value, lxw_format *format,
                               const QString &textIfNotFinite)
{
    if (!std::isfinite(value)) {
        writeString(row, column, textIfNotFinite, format);
        return;
    }
    // + 0.0 turns a negative zero into zero, which no format prints as "-0".
    if (sheet)
        note(worksheet_write_number(sheet, toRow(row), toColumn(column), value + 0.0, format));
}

void XlsxDocument::writeBoolean(int row, int column, bool value, lxw_format *format)
{
    if (sheet)
        note(worksheet_write_boolean(sheet, toRow(row), toColumn(column), value ? 1 : 0, format));
}

void XlsxDocument::writePlainRows(int row, int column, const XlsxPlainRows &rows)
{
    if (!sheet)
        return;
    const int count = rows.rowCount();
    // The library writes the first and the last row itself, so the sheet's
    // extent is its own; the rows between are made apart where it can be
    // done byte for byte as the library would.
    const bool apart = sheet->optimize && count > 2 && rows.rowIsFull(0) && rows.rowIsFull(count - 1)
                       && rows.textsArePlain(kMaxCellText);
    const auto writeRow = [&](int index) {
        for (int i = 0; i < rows.columnCount(); ++i) {
            const XlsxPlainRows::Cell cell = rows.cell(index, i);
            switch (cell.kind) {
            case XlsxPlainRows::Kind::Number:
                writeNumber(row + index, column + i, cell.number, nullptr, QString());
                break;
            case XlsxPlainRows::Kind::Text:
                writeString(row + index, column + i, cell.text, nullptr);
                break;
            case XlsxPlainRows::Kind::Flag:
                writeBoolean(row + index, column + i, cell.flag, nullptr);
                break;
            case XlsxPlainRows::Kind::None:
                break;
            }
        }
    };
    std::unique_ptr<XlsxRowSplice> splice;
    try {
        if (apart)
            splice = std::make_unique<XlsxRowSplice>(sheetCount, rows, row, column);
    } catch (const std::system_error &) {
        // No thread to be had: the library writes them all.
    }
    if (!splice) {
        for (int index = 0; index < count; ++index)
            writeRow(index);
        return;
    }
    writeRow(0);
    splices.push_back(std::move(splice));
    writeRow(count - 1);
}

void XlsxDocument::insertImage(int row, int column, const QImage &image)
{
    if (!sheet || image.isNull())
        return;
    QImage stored = image;
    stored.setDotsPerMeterX(kScreenDotsPerMeter);
    stored.setDotsPerMeterY(kScreenDotsPerMeter);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!stored.save(&buffer, "PNG")) {
        failed = true;
        return;
    }
    note(worksheet_insert_image_buffer(sheet, toRow(row), toColumn(column),
                                       reinterpret_cast<const unsigned char *>(png.constData()),
                                       size_t(png.size())));
}

void XlsxDocument::setUpPrinting(int lastRow, int lastColumn, const QVector<int> &lastRowsOfPages)
{
    if (!sheet)
        return;
    worksheet_set_paper(sheet, kPaperA4);
    worksheet_set_portrait(sheet);
    // No "fit to pages": Excel then ignores the manual breaks. The caller
    // keeps the columns narrower than the page.
    note(worksheet_print_area(sheet, 0, 0, toRow(lastRow), toColumn(lastColumn)));
    // The list ends with 0; a break given at a 0-based row falls above it,
    // which is below the 1-based row of the same number.
    std::vector<lxw_row_t> breaks;
    for (const int row : lastRowsOfPages)
        if (row > 0 && row < lastRow && breaks.size() < kMaxPageBreaks)
            breaks.push_back(lxw_row_t(row));
    breaks.push_back(0);
    if (breaks.size() > 1)
        note(worksheet_set_h_pagebreaks(sheet, breaks.data()));
}

namespace {
// The text cut on a character boundary to the bytes Excel takes, never
// inside an "&" code.
QByteArray headerBytes(const QString &text)
{
    QString cut = text;
    while (cut.toUtf8().size() > kMaxHeaderBytes) {
        cut.chop(1);
        if (cut.endsWith(QLatin1Char('&')))
            cut.chop(1);
    }
    return cut.toUtf8();
}
} // namespace

void XlsxDocument::setHeaderAndFooter(const QString &header, const QString &footer)
{
    if (!sheet)
        return;
    note(worksheet_set_header(sheet, headerBytes(header).constData()));
    note(worksheet_set_footer(sheet, headerBytes(footer).constData()));
}

void XlsxDocument::repeatRows(int firstRow, int lastRow)
{
    if (sheet && firstRow > 0)
        note(worksheet_repeat_rows(sheet, toRow(firstRow), toRow(lastRow)));
}

void XlsxDocument::setRowHeight(int row, double points)
{
    if (sheet)
        note(worksheet_set_row(sheet, toRow(row), points, nullptr));
}

bool XlsxDocument::saveAs(const QString &path)
{
    if (!workbook)
        return false;
    const lxw_error closed = workbook_close(workbook);
    workbook = nullptr;
    sheet = nullptr;
    if (closed != LXW_NO_ERROR) {
        qDebug() << "xlsx:" << lxw_strerror(closed);
        return false;
    }
    if (failed)
        return false;

    QFile assembled(scratch.fileName());
    if (!assembled.open(QIODevice::ReadOnly))
        return false;
    QByteArray package = withApplicationName(assembled.readAll(), application);
    for (const std::unique_ptr<XlsxRowSplice> &splice : splices)
        if (!package.isEmpty())
            package = splice->joinedInto(package);
    if (package.isEmpty())
        return false;
    QSaveFile target(path);
    // An existing file in a folder we may not create files in is overwritten in place.
    target.setDirectWriteFallback(true);
    if (!target.open(QIODevice::WriteOnly))
        return false;
    for (qint64 at = 0; at < package.size(); at += kCopyChunk) {
        const QByteArray chunk = package.mid(int(at), int(kCopyChunk));
        if (target.write(chunk) != chunk.size()) {
            target.cancelWriting();
            return false;
        }
    }
    return target.commit();
}

QByteArray XlsxDocument::cellText(const QString &text)
{
    if (text.size() <= kMaxCellText)
        return text.toUtf8();
    shortened = true;
    int length = kMaxCellText;
    // Never cut a character in two.
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length).toUtf8();
}

void XlsxDocument::note(int error)
{
    if (error != LXW_NO_ERROR) {
        qDebug() << "xlsx:" << lxw_strerror(lxw_error(error));
        failed = true;
    }
}
