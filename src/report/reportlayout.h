#pragma once

#include "report/valuetablepages.h"

#include <memory>

class QPdfWriter;
class QTextDocument;
class QTextTable;
struct ReportData;

// The report's document laid out on the writer's pages, with its value table
// and the plan of the table's pages that the document holds.
struct LaidOutReport
{
    std::unique_ptr<QTextDocument> document;
    QTextTable *valueTable = nullptr;
    ValueTablePages pages;
};

// Every row of the value table in the document, with its texts.
LaidOutReport layOutWholeReport(QPdfWriter &writer, int pageWidth, const ReportData &data);

// The quick way: only the pages the plan keeps, value rows empty for the
// printer to paint. Rows with wide texts are taller than the others; the
// document lays them out itself, with the pages around them.
LaidOutReport layOutReportQuickly(QPdfWriter &writer, int pageWidth, const ReportData &data);
