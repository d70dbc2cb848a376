#include "report/valuetablepages.h"

#include <algorithm>

int ValueTablePages::documentRows(int tableRows) const
{
    return tableRows - copiedPages * rowsPerPage;
}

int ValueTablePages::tableRow(int documentRow) const
{
    return documentRow < firstBreak + rowsPerPage ? documentRow : documentRow + copiedPages * rowsPerPage;
}

int ValueTablePages::copiedRow(int copy, int documentRow) const
{
    return documentRow + copy * rowsPerPage;
}

ValueTablePages::PrintedPage ValueTablePages::printedPage(int printed, int templatePage) const
{
    if (copiedPages == 0 || printed <= templatePage)
        return {printed, 0};
    const int copy = printed - templatePage;
    if (copy <= copiedPages)
        return {templatePage, copy};
    return {printed - copiedPages, 0};
}

ValueTablePages ValueTablePages::copiesBefore(int row) const
{
    if (copiedPages == 0)
        return *this;
    const int templateEnd = firstBreak + rowsPerPage;
    if (row < templateEnd)
        return {};
    ValueTablePages pages = *this;
    pages.copiedPages = std::min(copiedPages, (row - templateEnd) / rowsPerPage);
    return pages;
}

ValueTablePages planValueTablePages(int tableRows, int firstBreak, int rowsPerPage)
{
    ValueTablePages pages;
    if (firstBreak <= 0 || rowsPerPage <= 0 || tableRows <= firstBreak)
        return pages;
    pages.firstBreak = firstBreak;
    pages.rowsPerPage = rowsPerPage;
    const int laterPages = (tableRows - firstBreak + rowsPerPage - 1) / rowsPerPage;
    // The second page is the template; the last stays in the document, as
    // what follows the table is laid out from where it ends.
    pages.copiedPages = std::max(0, laterPages - 2);
    return pages;
}
