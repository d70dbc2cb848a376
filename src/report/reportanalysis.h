#pragma once

#include "values/processanalysis.h"

#include <QImage>

// The process analysis of the reported block: the values layer's figures and
// the charts the window drew of them (opaque, on white).
struct ReportAnalysis
{
    bool included = false; // false: both reports are as without the analysis
    ProcessAnalysis analysis;
    QImage histogram;
    QImage individuals;
    QImage movingRange;
};
