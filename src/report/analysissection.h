#pragma once

#include "report/reportanalysis.h"
#include "values/toleranceband.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <QVector>

// One figure of the capability table: its value and, for an index, the 95 %
// confidence interval; NaN where a figure is undefined.
struct AnalysisRow
{
    QString label;
    double value = qQNaN();
    double lower = qQNaN();
    double upper = qQNaN();
    bool interval = false; // the row has an interval (Cp, Cpk, Pp, Ppk)
    int decimals = 0;      // as the analysis window shows the figure
};

// A chart of the analysis with its caption.
struct AnalysisChart
{
    QString caption;
    QImage image;
};

// The process analysis as both reports print it, texts in the interface
// language: the charts, the capability table and the broken rules.
struct AnalysisSection
{
    bool included = false;
    QString heading;               // "Анализ процесса"
    QString sheetName;             // the workbook's sheet
    QVector<AnalysisChart> charts; // histogram, individuals, moving ranges
    QString tableHeading;
    QStringList columns; // figure, value, interval from, interval to
    QVector<AnalysisRow> rows;
    QString note; // a small sample; empty otherwise
    QString rulesHeading;
    QStringList rules; // "правило 2: значения 41–43", or that none is broken
};

// The texts of the analysis; an analysis not included gives a section not included.
AnalysisSection analysisSection(const ReportAnalysis &analysis);

// The capability table's rows, its column headers and its note for a small
// sample, as the analysis window and both reports show them.
QVector<AnalysisRow> analysisCapabilityRows(const ProcessCapability &capability);
QStringList analysisCapabilityColumns();
QString analysisSmallSampleNote();

// The lines the analysis window lists the broken rules in; empty without readings.
QStringList analysisRuleLines(const ProcessAnalysis &analysis);

// The band's active limits as the capability takes them: NaN for an inactive side.
SpecLimits analysisSpecLimits(const ToleranceBand &band);

// A figure at the given decimals with a decimal point; "—" where it is not finite.
QString analysisFigureText(double value, int decimals);
