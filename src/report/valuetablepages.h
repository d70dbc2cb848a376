#pragma once

#include <QVector>
#include <functional>

// The pages of the PDF value table. After the page it starts on, every full
// page of the table holds the same rows in the same places. The document
// therefore holds the table's first page, its second page and its last page;
// the pages between are painted as copies of the second page with their own
// values, which saves laying out and drawing tens of thousands of cells.
//
// A row taller than one line (a wide reading that wraps) changes the pages
// around it: the document holds those pages, from the page the row starts on
// to the first page that starts again with a row at its top; the pages after
// that are again copies (a later run), up to the next tall row or the last
// page. The document's table stays a few pages long whatever the block.
struct ValueTablePages
{
    int firstBreak = 0;  // first row of the template page (the table's second page); 0: unknown
    int rowsPerPage = 0; // rows of each full page after the first
    int copiedPages = 0; // pages painted from the template, right after it

    // Copies of the template printed before a row of the document, further on.
    struct Run
    {
        int documentRow = 0; // the first row of a page of the document
        int pages = 0;
    };
    QVector<Run> laterRuns; // in the document's order

    // Rows the document holds of a table of tableRows rows, header included.
    int documentRows(int tableRows) const;
    // Row of the whole table that a row of the document shows.
    int tableRow(int documentRow) const;
    // Row of the whole table shown on a copied page (1 = the first copy) in
    // place of a row of the template page.
    int copiedRow(int copy, int documentRow) const;
    // The same for a copy of a run (0: the copies right after the template;
    // i: laterRuns[i - 1]).
    int copiedRow(int run, int copy, int documentRow) const;
    // Copied pages of all runs.
    int allCopiedPages() const;

    // What a printed page (0: the first) shows.
    struct PrintedPage
    {
        int documentPage = 0;
        int copy = 0; // 0: the document's own page; else the copy's number
        int run = 0;  // the run of the copy
    };
    // Given the document's page holding the template page (copies of the
    // later runs are not printed).
    PrintedPage printedPage(int printed, int templatePage) const;
    // Given the document's page each run is printed before (the page after
    // the template for the first run, then the pages of laterRuns' rows).
    PrintedPage printedPage(int printed, const QVector<int> &runPages) const;

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

// Rows of the whole table (up to tableRows) that start a page at its top, as
// the document lays out the rows a plan holds, the table cut after tableRows
// rows. Rows after a tall row reach the top of a page again this way.
using PageTopRows = std::function<QVector<int>(const ValueTablePages &plan, int tableRows)>;

// Pages of a table with tall rows (rows of the whole table, ascending). Where
// the pages go around a tall row is asked of pageTopRows; the plan it is
// asked about holds every row up to the tall rows in question.
ValueTablePages planValueTablePages(int tableRows, int firstBreak, int rowsPerPage,
                                    const QVector<int> &tallRows, const PageTopRows &pageTopRows);
