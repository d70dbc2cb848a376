#pragma once

#include <QString>

struct ReportData;

// The header and footer codes of each printed page of the workbook's sheets:
// the report number (shortened when long), block and date at the top left;
// the verdict with Cpk and Ppk at the bottom left, "стр. &P из &N" at the
// bottom right. Empty where there is nothing to print.
QString excelPageHeader(const ReportData &data);
QString excelPageFooter(const ReportData &data);
