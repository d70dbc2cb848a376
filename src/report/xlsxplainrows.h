#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Columns of cells without a format (numbers and yes/no values) side by
// side, the rows that end a sheet written row by row. Besides handing out
// each cell, they make their own SpreadsheetML, the same bytes the xlsx
// library writes for these cells, so that a long run of rows can be made and
// compressed away from the library's single thread.
class XlsxPlainRows
{
public:
    enum class Kind { None, Number, Text, Flag };
    struct Cell
    {
        Kind kind = Kind::None; // None: no cell (past the end of a shorter column)
        double number = 0.0;
        bool flag = false;
        QString text;
    };

    // A number that is not finite is written as the text given instead.
    void addNumbers(const QVector<double> &values, const QString &textIfNotFinite);
    void addFlags(const QVector<bool> &values);

    int rowCount() const { return rows; }
    int columnCount() const { return int(columns.size()); }
    Cell cell(int rowIndex, int columnIndex) const;
    // True when every column has a cell in the row.
    bool rowIsFull(int rowIndex) const;
    // True when every text can be written as it is; a text the library would
    // shorten or encode otherwise must go through it.
    bool textsArePlain(int maxTextLength) const;

    // The rows [from, to) as sheet rows from firstRow on, the columns from
    // firstColumn on (1-based, as the sheet shows them).
    QByteArray xml(int firstRow, int firstColumn, int from, int to) const;

private:
    struct Column
    {
        Kind kind = Kind::Number;
        QVector<double> numbers;
        QVector<bool> flags;
        QByteArray textXml; // the number-less cell's text, escaped
        QString text;
    };
    // Whether the column has a cell in the row, and of which kind.
    static Kind kindAt(const Column &column, int rowIndex);

    QVector<Column> columns;
    int rows = 0;
};
