#pragma once

#include "report/analysissection.h"
#include "report/reportcontent.h"
#include "values/bandmark.h"

#include <QImage>
#include <QString>
#include <QVector>

// One statistic as the report prints it.
struct ReportStatistic
{
    QString label;
    double value = 0.0; // NaN when the statistic has no number
};

// A caption and its text, as one row of a two-column table.
struct ReportLine
{
    QString label;
    QString text;
};

// Everything one report writer needs, gathered by the window at export time;
// texts already translated and chosen for the target format.
struct ReportData
{
    ReportContent content;
    bool includeEmptyFields = false;

    QString title;
    QString blockLine;    // which block: name, readings, when it was read
    QString numberHeader; // first header of each value group

    // The block at a glance, before the value table: which block (name,
    // readings, when read), then the tolerance text and the verdict lines.
    // Empty without a block.
    QString summaryHeading;
    QVector<ReportLine> summary;
    QString unit; // of the readings; empty: none given

    QString statisticsHeading;
    ReportStatistic minimum;
    ReportStatistic maximum;
    ReportStatistic mean;
    ReportStatistic stdev;
    // Decimals of the values in the value table; -1: as the window's table has them.
    int valueDecimals = -1;
    // Decimals of the value table's differences from the mean.
    int differenceDecimals = 1;
    // Decimals of the printed statistics and of the workbook's statistics
    // cells' format (the cells hold the numbers unrounded).
    int statisticDecimals = 1;

    QImage logo;           // null: no logo
    QVector<QImage> plots; // rendered plots in report order (graph, diagram)
    QString toleranceText; // empty: the band is not described

    // The band's verdict, printed below the tolerance text; all empty while
    // the band is off.
    QVector<bool> outside; // per value: out of band, printed in red
    // Per value: the side it is out on, printed after the value in the value
    // table; empty: no marks. The legend line printed under the table says
    // what the printed marks mean; empty when no mark is printed.
    QVector<BandMark> marks;
    QString markLegend;
    QVector<ReportLine> verdict; // out-of-band count, verdict, Cp, Cpk

    QString commentsHeading;
    QString comments;
    QString signature;
    // PDF only: who signed the file and when, below the signature line; empty: unsigned.
    QString signedBy;

    // The small header of every page (in both formats).
    QString pageHeader;
    QString pageHeaderNumber; // start of pageHeader that alone is shortened to fit
    QString pageOfPages;      // "%1" the page, "%2" the pages
    // The verdict with Cpk and Ppk, at the foot of each printed page of the
    // workbook; empty while the band is off.
    QString pageVerdict;

    // The document's information (title, author, subject, creating program),
    // in the PDF's information and the workbook's properties alike.
    QString documentTitle;
    QString author;
    QString subject;
    QString creator;
    QString company;  // the workbook's only
    QString keywords; // the workbook's only

    // Excel only: the sheet of readings as numbers. The in-band column is
    // written while the band is on (outside not empty).
    QString dataSheetName;
    QString dataValueHeader;
    QString dataInBandHeader;

    // The process analysis: PDF pages after the statistics, a workbook sheet
    // after the data sheet; not included: neither.
    AnalysisSection analysis;
};
