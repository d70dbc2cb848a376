#include "pdftablepieces.h"

#include <algorithm>

namespace {
// Below this a page has too few rows to keep seams clear of its breaks.
constexpr int kMinRowsPerPage = 4;
} // namespace

QVector<int> pdfValueTablePieces(int totalRows, int firstBreak, int rowsPerPage, int pagesPerPiece)
{
    if (firstBreak <= 0 || rowsPerPage < kMinRowsPerPage || totalRows <= firstBreak + rowsPerPage)
        return {totalRows};
    QVector<int> pieces;
    int start = 0;
    int end = firstBreak + rowsPerPage / 2;
    while (end < totalRows) {
        pieces.append(end - start);
        start = end;
        end += rowsPerPage * std::max(pagesPerPiece, 1);
    }
    pieces.append(totalRows - start);
    return pieces;
}
