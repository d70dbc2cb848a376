#pragma once

#include "report/reportcontent.h"

#include <QImage>
#include <QString>
#include <QVector>

// One statistic as the report prints it.
struct ReportStatistic
{
    QString label;
    double value = 0.0; // NaN when the statistic has no number
};

// Everything one report writer needs, gathered by the window at export time;
// texts already translated and chosen for the target format.
struct ReportData
{
    ReportContent content;
    bool includeEmptyFields = false;

    QString title;
    QString numberHeader; // first header of each value group

    QString statisticsHeading;
    ReportStatistic minimum;
    ReportStatistic maximum;
    ReportStatistic mean;
    ReportStatistic stdev;

    QImage logo;           // null: no logo
    QVector<QImage> plots; // rendered plots in report order (graph, diagram)
    QString toleranceText; // empty: the band is not described

    QString commentsHeading;
    QString comments;
    QString signature;
};
