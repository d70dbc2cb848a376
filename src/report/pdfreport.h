#pragma once

#include <QString>
#include <functional>

struct ReportData;

// Called before each printed page is drawn: the page (from 1) and the pages.
using PdfProgress = std::function<void(int page, int pages)>;

// Prints the report as an A4 PDF/A-1b file at the path. False when the file
// could not be written; an existing file is then left as it was, where the
// folder allows. quickValueTable false lets QTextDocument lay out and draw
// every row of the value table: the same pages, much slower for long blocks.
bool writePdfReportFile(const QString &path, const ReportData &data, bool quickValueTable = true,
                        const PdfProgress &progress = {});
