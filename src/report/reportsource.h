#pragma once

#include "report/reportanalysis.h"
#include "report/reportcontent.h"
#include "values/blockstatistics.h"
#include "values/memoryblock.h"
#include "values/toleranceband.h"

#include <QDate>
#include <QImage>
#include <QString>
#include <QVector>

// The captions the reports take from the window's statistics area and form.
struct ReportCaptions
{
    QString minimum;
    QString maximum;
    QString mean;
    QString stdev;
    QString outOfBand;
    QString verdict;
    QString cp;
    QString cpk;
    QString statistics; // the statistics area's heading
    QString comments;   // the comments' heading
};

// What one report is made of, before the texts of either format are chosen:
// the window gathers it from its form and block view, the station from a
// read and a form file.
struct ReportSource
{
    ReportContent content; // the form's fields, the block's values and value header
    bool hasBlock = false;
    MemoryBlock block;
    BlockStatistics statistics; // unrounded; printed at reportStatisticDecimals()
    ToleranceBand band;
    ReportCaptions captions;

    QImage logo;
    QVector<QImage> plots; // rendered plots in report order (graph, diagram)
    QString comments;

    QString reportNumber;
    QDate reportDate;
    QString operatorName;
    QString companyName;
    int valueDecimals = -1; // -1: each value with decimalsForValue()
    QString unit;           // of the readings, as the form names it; empty: none
    // The block's process analysis; not included: the reports go without it.
    ReportAnalysis analysis;
};
