#pragma once

#include <QString>

struct ReportData;

struct ExcelReportResult
{
    bool saved = false;
    bool textShortened = false; // a text longer than a cell holds was cut
};

// Writes the report as a one-sheet workbook at the path.
ExcelReportResult writeExcelReportFile(const QString &path, const ReportData &data);
