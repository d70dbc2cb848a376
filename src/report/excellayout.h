#pragma once

#include <QVector>

// Row and column arithmetic of the Excel report's sheet. Rows and columns are
// 1-based, as the sheet shows them (A1 = row 1, column 1).

constexpr int kExcelColumns = 9;    // A to I
constexpr int kExcelGroupWidth = 3; // number, value, difference
constexpr int kExcelPageRows = 45;  // each page of the value table ends 45 rows further
constexpr double kExcelMmPerLogoRow = 4.5;
constexpr int kExcelMaxLogoRows = 1000; // a logo claiming an absurd resolution stays bounded
constexpr int kExcelPixelsPerImageRow = 20;
constexpr int kExcelStatisticsRows = 5;

// Rows kept free for a logo of the given height in millimetres.
int excelLogoRows(double logoHeightMm);
// Rows an image of the given pixel height takes, with one row of space below.
int excelImageRows(int pixelHeight);

struct ExcelCell
{
    int row = 0;
    int column = 0;
    bool thickLeft = false; // groups 2 and 3 of a page start with a thick line

    bool operator==(const ExcelCell &other) const
    {
        return row == other.row && column == other.column && thickLeft == other.thickLeft;
    }
};

// Where the value table, the statistics and what follows them go.
struct ExcelValueTableLayout
{
    int titleRow = 0;
    QVector<ExcelCell> headers; // first cell ("Number") of each group header
    QVector<ExcelCell> numbers; // number cell of each value, in value order
    int statisticsRow = 0;
    int statisticsLabelColumn = 0;
    int statisticsValueColumn = 0;
    int nextRow = 0;      // images start on the row below this one
    int firstPageEnd = 0; // last row of the first page
    int lastPageEnd = 0;  // last row of the value table's last page
};

// Last rows of the sheet's printed pages: the value table's pages, 45 rows
// each after the first, then pages of 45 rows that each of the blocks below (first
// and last row) starts a new one of where it would be cut, unless it is
// taller than a page.
struct ExcelRowBlock
{
    int first = 0;
    int last = 0;
};
QVector<int> excelPageEnds(const ExcelValueTableLayout &layout, const QVector<ExcelRowBlock> &blocks);

// top: the larger of the row below the field table and the logo rows.
// Groups of three columns fill down to each page's end, three groups side by
// side; then a new page starts two rows below, 45 rows longer.
// tallerRows: rows' worth of height that rows above the table have beyond
// the usual (wrapped fields); the first page ends that much earlier.
ExcelValueTableLayout excelValueTableLayout(int top, int valueCount, int tallerRows = 0);
