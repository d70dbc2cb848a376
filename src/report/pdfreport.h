#pragma once

#include <QString>

struct ReportData;

// Prints the report as an A4 PDF at the path. False when the file could not be
// written; an existing file is then left as it was, where the folder allows.
// quickValueTable false lets QTextDocument lay out and print every row of the
// value table: the same pages, much slower for long blocks.
bool writePdfReportFile(const QString &path, const ReportData &data, bool quickValueTable = true);
