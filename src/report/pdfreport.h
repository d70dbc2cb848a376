#pragma once

#include <QString>

struct ReportData;

// Prints the report as an A4 PDF at the path. False when the file could not be
// written; an existing file is then left as it was, where the folder allows.
// splitValueTable false prints the value table as one table: the same pages,
// much slower for long blocks.
bool writePdfReportFile(const QString &path, const ReportData &data, bool splitValueTable = true);
