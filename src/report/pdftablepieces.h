#pragma once

#include <QVector>

// Rows of each consecutive table the PDF value table is printed as. firstBreak
// is the first row that starts a new page, rowsPerPage the rows of each full
// page after it. Seams fall in the middle of pages, never at a page break,
// where a table that ends would not stretch its last row down to the page
// end as one long table does. Unknown breaks (0): one table.
// Each piece but the first and last spans pagesPerPiece pages.
QVector<int> pdfValueTablePieces(int totalRows, int firstBreak, int rowsPerPage, int pagesPerPiece = 1);
