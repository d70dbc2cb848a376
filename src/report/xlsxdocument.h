#pragma once

#include "report/cnumericscope.h"

#include <QColor>
#include <QString>
#include <QTemporaryFile>
#include <QVector>
#include <memory>
#include <vector>

class QImage;
class XlsxPlainRows;
class XlsxRowSplice;
struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// Look of a cell. A look, once used in a cell, cannot change: keep one per look.
struct XlsxFormatSpec
{
    enum class Align { None, Center, Justify };
    Align horizontal = Align::None;
    bool verticalCenter = false;
    bool thinBorder = false; // on all four sides
    bool thickLeft = false;  // left border thick instead
    bool bold = false;
    bool wrap = false;
    bool shrink = false;   // a text or number wider than its cell is shown smaller
    QString fontName;      // empty: the workbook's default
    double fontSize = 0.0; // 0: the workbook's default
    QColor fontColour;     // invalid: the workbook's default
    QString numberFormat;  // empty: General
};

// What the workbook says about itself (File > Properties); empty entries are left out.
struct XlsxProperties
{
    QString title;
    QString subject;
    QString author;
    QString company;
    QString keywords;
    QString application; // empty: the library's own
};

// An xlsx workbook. Cells are written into the sheet added last (the first,
// with the default name, exists from the start). Rows and columns are 1-based,
// as the sheet shows them. Strings longer than a cell can hold are shortened
// (see textShortened).
// The workbook is assembled in a private temporary file and only copied over
// the target when complete, so a failed save never leaves a broken file there.
// Its numbers are written with a decimal point whatever the locale the
// program runs in; a document is built and saved on one thread.
class XlsxDocument
{
public:
    // Characters one cell can hold.
    static constexpr int kMaxCellText = 32767;

    XlsxDocument();
    ~XlsxDocument();
    XlsxDocument(const XlsxDocument &) = delete;
    XlsxDocument &operator=(const XlsxDocument &) = delete;

    void setProperties(const XlsxProperties &properties);
    lxw_format *addFormat(const XlsxFormatSpec &spec);
    // How the cells of a sheet are written.
    enum class CellOrder {
        Any,      // in any order
        RowByRow, // top to bottom, each row left to right, each cell once: the sheet
                  // streams them to its file instead of holding them (much quicker)
    };
    // Adds a sheet after the others; cells are written into it from now on.
    void addSheet(const QString &name, CellOrder order = CellOrder::Any);
    // Keeps the rows above `row` in view while the sheet scrolls.
    void freezeRowsAbove(int row);
    void setColumnWidth(int firstColumn, int lastColumn, double width);
    // Merges the range, gives every cell the format and puts the text into the first.
    void mergeCells(int firstRow, int firstColumn, int lastRow, int lastColumn, const QString &text,
                    lxw_format *format);
    void writeString(int row, int column, const QString &text, lxw_format *format);
    // A number that is not finite cannot be stored in a number cell: it is written as
    // the text given instead.
    void writeNumber(int row, int column, double value, lxw_format *format, const QString &textIfNotFinite);
    void writeBoolean(int row, int column, bool value, lxw_format *format);
    // Writes the rows from `row` down, their columns from `column` right, below
    // every cell written so far; on a RowByRow sheet no cell may follow above
    // their last row. There the rows are made and compressed on another thread
    // while the workbook is built: the library writes a long sheet one cell
    // after another and compresses one part after another, on one core.
    void writePlainRows(int row, int column, const XlsxPlainRows &rows);
    // Puts the image, at its pixel size, with its top-left corner in the cell. A null
    // image is skipped.
    void insertImage(int row, int column, const QImage &image);

    // Prints the sheet on A4 portrait pages at its own size, the columns up to
    // lastColumn of the rows up to lastRow, a new page after each of the rows
    // given (at most 1023, as many as Excel reads).
    void setUpPrinting(int lastRow, int lastColumn, const QVector<int> &lastRowsOfPages);

    // Texts printed above and below each page of the sheet, in Excel's codes
    // ("&L", "&C", "&R" for the parts, "&P" the page, "&N" the pages; "&&" a
    // literal "&"). Each is cut to the length Excel reads.
    void setHeaderAndFooter(const QString &header, const QString &footer);
    // Prints the rows on each page of the sheet above what the page holds.
    void repeatRows(int firstRow, int lastRow);
    // Height of a row in points.
    void setRowHeight(int row, double points);

    // Writes the workbook to the path; false when anything failed on the way
    // (then an existing file at the path is left as it was, where the folder allows).
    bool saveAs(const QString &path);

    bool textShortened() const { return shortened; }

private:
    QByteArray cellText(const QString &text);
    void note(int error);

    CNumericScope numbersWithAPoint; // first: it outlives the workbook
    QTemporaryFile scratch;
    lxw_workbook *workbook = nullptr;
    lxw_worksheet *sheet = nullptr;
    int sheetCount = 0;
    std::vector<std::unique_ptr<XlsxRowSplice>> splices;
    QString application;
    bool failed = false;
    bool shortened = false;
};
