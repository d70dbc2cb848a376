#pragma once

#include "report/valuetablecells.h"

#include <QSet>

class QTextDocument;
class QTextTable;
struct ReportData;
struct ValueTablePages;

// The PDF report as a text document: field table and logo, title, the block's
// line, value table, statistics, plots, tolerance and verdict, comments and
// signature.

// Value rows whose texts the document holds; the others are laid out empty
// for the printer to paint (see ValueTableCells).
struct FilledValueRows
{
    bool all = false;
    QSet<int> rows; // rows of the whole table (1: the first value)

    bool contains(int tableRow) const { return all || rows.contains(tableRow); }
};

// Default font and no undo history, before anything is added.
void setUpReportDocument(QTextDocument &document);

// Fills the document with the report for a page pageWidth points wide and
// returns its value table, which holds the rows the pages plan keeps.
QTextTable *buildReportDocument(QTextDocument &document, int pageWidth, const ReportData &data,
                                const ValueTablePages &pages, const FilledValueRows &filled);

// Texts and colours of a row of the whole value table (0: the header).
ValueTableCells::RowTexts valueRowTexts(const ReportData &data, int tableRow);
ValueTableCells::RowColours valueRowColours(const ReportData &data, int tableRow);
