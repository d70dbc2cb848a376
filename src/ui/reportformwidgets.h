#pragma once

#include <QVector>

class QCheckBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

// One row of the report form: its section's header, its label and its field
// (a QLineEdit, or the QDateEdit of the report's date).
struct ReportFormField
{
    const QLabel *section = nullptr;
    const QLabel *label = nullptr;
    const QWidget *field = nullptr;
};

// The form's widgets a report is written from.
struct ReportFormWidgets
{
    QVector<ReportFormField> fields; // in the report's order
    const QLineEdit *number = nullptr;
    const QDateEdit *date = nullptr;
    const QLineEdit *operatorName = nullptr;
    const QLineEdit *companyName = nullptr;
    const QLineEdit *city = nullptr; // where a signed report says it was signed
    const QLineEdit *unit = nullptr;
    // The statistics' and the verdict's labels name their rows in the report.
    const QLabel *minimum = nullptr;
    const QLabel *maximum = nullptr;
    const QLabel *mean = nullptr;
    const QLabel *stdev = nullptr;
    const QLabel *outOfBand = nullptr;
    const QLabel *verdict = nullptr;
    const QLabel *cp = nullptr;
    const QLabel *cpk = nullptr;
    const QLabel *statisticsHeading = nullptr;
    const QLabel *commentsHeading = nullptr;
    const QCheckBox *withGraph = nullptr;
    const QCheckBox *withDiagram = nullptr;
    const QCheckBox *withAnalysis = nullptr; // the process analysis's pages and sheet
    const QPlainTextEdit *comments = nullptr;
};
