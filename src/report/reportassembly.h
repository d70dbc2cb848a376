#pragma once

#include "report/reportcontent.h"
#include "report/reportdata.h"
#include "report/reportsource.h"

#include <QDateTime>
#include <QStringList>

// Turns what a report is made of into what each writer prints: the texts of
// the PDF or the Excel report in the interface language.

// The window's captions of the statistics area, in the interface language.
ReportCaptions defaultReportCaptions();

// The statistics rounded as the statistics boxes round them (one decimal),
// never clamped; NaN stays NaN.
BlockStatistics statisticsAsShown(const BlockStatistics &statistics);

// The form's fields in form order: the company (name, city, address, phone,
// website), the report (number, date as dd.MM.yyyy, operator, detail,
// material, batch) and the device (name, type, number, verification
// certificate), with these values; a missing value is empty.
constexpr int kReportFormFields = 15;
QVector<ReportField> reportFormFields(const QStringList &values);

ReportData pdfReportData(const ReportSource &source, bool includeEmptyFields);
// The PDF report's line about its digital signature: the signer's name from
// the certificate and when it was signed (local time).
QString signedByLine(const QString &signer, const QDateTime &signedAt);

ReportData excelReportData(const ReportSource &source, bool includeEmptyFields);
