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

ExcelValueTableLayout excelValueTableLayout(int top, int valueCount, int tallerRows)
{
    ExcelValueTableLayout layout;
    layout.titleRow = top + 1;
    int headerRow = top + 2;
    int row = headerRow + 1;
    // A very tall logo can push the first values past row 45: the first page
    // then reaches down to the next page boundary.
    int pageEnd = kExcelPageRows - std::clamp(tallerRows, 0, kExcelPageRows / 2);
    while (row > pageEnd)
        pageEnd += kExcelPageRows;
    layout.firstPageEnd = pageEnd;
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
    layout.lastPageEnd = pageEnd;
    layout.nextRow = std::max(bottom, layout.statisticsRow + kExcelStatisticsRows);
    return layout;
}

QVector<int> excelPageEnds(const ExcelValueTableLayout &layout, const QVector<ExcelRowBlock> &blocks)
{
    const int lastPageEnd = layout.lastPageEnd;
    QVector<int> ends;
    // A tall logo's first page may reach over more than one page's rows.
    for (int end = kExcelPageRows; end < layout.firstPageEnd; end += kExcelPageRows)
        ends.append(end);
    for (int end = layout.firstPageEnd; end < lastPageEnd; end += kExcelPageRows)
        ends.append(end);
    // The page being filled: rows after pageStart up to pageEnd.
    int pageStart = ends.isEmpty() ? 0 : ends.last();
    int pageEnd = lastPageEnd;
    const auto nextPage = [&](int end) {
        ends.append(end);
        pageStart = end;
        pageEnd = end + kExcelPageRows;
    };
    for (const ExcelRowBlock &block : blocks) {
        while (block.first > pageEnd)
            nextPage(pageEnd);
        if (block.last > pageEnd && block.first - 1 > pageStart)
            nextPage(block.first - 1);
        while (block.last > pageEnd)
            nextPage(pageEnd);
    }
    return ends;
}
