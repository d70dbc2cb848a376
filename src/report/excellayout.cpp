#include "report/excellayout.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kFirstGroupColumn = 1;
constexpr int kLastGroupColumn = kExcelColumns - kExcelGroupWidth + 1;
constexpr int kNarrowStatisticsLabelColumn = 8; // H, beside groups 1 and 2
constexpr int kWideStatisticsLabelColumn = 1;   // A, below a full page
} // namespace

int excelLogoRows(double logoHeightMm)
{
    if (!(logoHeightMm >= 0.0))
        return 0;
    const double rows = logoHeightMm / kExcelMmPerLogoRow + 1.0;
    return rows >= kExcelMaxLogoRows ? kExcelMaxLogoRows : int(rows);
}

int excelImageRows(int pixelHeight)
{
    return (std::max(pixelHeight, 0) + kExcelPixelsPerImageRow - 1) / kExcelPixelsPerImageRow + 1;
}

ExcelValueTableLayout excelValueTableLayout(int top, int valueCount)
{
    ExcelValueTableLayout layout;
    layout.titleRow = top + 1;
    int headerRow = top + 2;
    int row = headerRow + 1;
    // A very tall logo can push the first values past row 45: the first page
    // then reaches down to the next page boundary.
    int pageEnd = kExcelPageRows;
    while (row > pageEnd)
        pageEnd += kExcelPageRows;
    int column = kFirstGroupColumn;
    int bottom = 0;

    layout.headers.append({headerRow, column, false});
    layout.numbers.reserve(valueCount);
    for (int k = 0; k < valueCount; ++k) {
        layout.numbers.append({row, column, column != kFirstGroupColumn});
        ++row;
        if (row <= pageEnd) {
            bottom = std::max(bottom, row);
            continue;
        }
        column += kExcelGroupWidth;
        if (column <= kLastGroupColumn) {
            layout.headers.append({headerRow, column, true});
            row = headerRow + 1;
            bottom = std::max(bottom, row);
        } else {
            headerRow = pageEnd + 2;
            column = kFirstGroupColumn;
            layout.headers.append({headerRow, column, false});
            row = headerRow + 1;
            pageEnd += kExcelPageRows;
        }
    }

    if (column == kLastGroupColumn) {
        layout.statisticsRow = pageEnd + 2;
        layout.statisticsLabelColumn = kWideStatisticsLabelColumn;
    } else {
        layout.statisticsRow = headerRow;
        layout.statisticsLabelColumn = kNarrowStatisticsLabelColumn;
    }
    layout.statisticsValueColumn = layout.statisticsLabelColumn + 1;
    layout.nextRow = std::max(bottom, layout.statisticsRow + kExcelStatisticsRows);
    return layout;
}
