#pragma once

#include "report/reportanalysis.h"
#include "values/toleranceband.h"

#include <QSize>
#include <QVector>

// The process analysis of a block for its report, whether or not the
// analysis window was opened: the figures worked out on the analysis thread
// (the window goes on painting meanwhile; clicks and keys wait, as while a
// report's pages are written), then the charts drawn off-screen at the size
// given, opaque on white. Every rule is judged.
ReportAnalysis captureReportAnalysis(const QVector<float> &readings, const ToleranceBand &band,
                                     const QSize &chartSize);
