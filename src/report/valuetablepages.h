#pragma once

// The pages of the PDF value table. After the page it starts on, every full
// page of the table holds the same rows in the same places. The document
// therefore holds the table's first page, its second page and its last page;
// the pages between are painted as copies of the second page with their own
// values, which saves laying out and drawing tens of thousands of cells.
struct ValueTablePages
{
    int firstBreak = 0;  // first row of the table's second page; 0: unknown
    int rowsPerPage = 0; // rows of each full page after the first
    int copiedPages = 0; // pages painted from the second one, right after it

    // Rows the document holds of a table of tableRows rows, header included.
    int documentRows(int tableRows) const;
    // Row of the whole table that a row of the document shows.
    int tableRow(int documentRow) const;
    // Row of the whole table shown on a copied page (1 = the first copy) in
    // place of a row of the second page.
    int copiedRow(int copy, int documentRow) const;

    // What a printed page (0: the first) shows, given the document's page
    // holding the table's second page.
    struct PrintedPage
    {
        int documentPage = 0;
        int copy = 0; // 0: the document's own page; else the copy's number
    };
    PrintedPage printedPage(int printed, int templatePage) const;

    // The pages with copies only of pages that end before a row of the whole
    // table (a row two lines high, which a copy of the second page cannot
    // show); the document then holds every row from the copies' end. None
    // at all (every row in the document) when the row is on the first or the
    // second page, whose places the copies are made from.
    ValueTablePages copiesBefore(int tableRow) const;
};

// Pages of a table of tableRows rows whose second page starts at firstBreak,
// each full page after it holding rowsPerPage rows.
ValueTablePages planValueTablePages(int tableRows, int firstBreak, int rowsPerPage);
