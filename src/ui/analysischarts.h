#pragma once

#include "values/processanalysis.h"

#include <QString>

class QCustomPlot;

// The texts the charts carry, in the interface language.
struct ChartTexts
{
    QString centre; // "ЦЛ"
    QString upper;  // "ВКГ"
    QString lower;  // "НКГ"
    QString number;
    QString value;
    QString count;
    QString movingRange;
};

// Each draws one block's analysis into its plot (replacing what was there)
// and fits the ranges; the caller replots.

// Bars of the histogram, the normal curve of the overall mean and σ, the
// band's limits and the mean.
void drawHistogram(QCustomPlot *plot, const ProcessAnalysis &analysis, const SpecLimits &spec,
                   const ChartTexts &texts);
// The readings with CL, UCL and LCL; points breaking a rule marked.
void drawIndividuals(QCustomPlot *plot, const ProcessAnalysis &analysis, const ChartTexts &texts);
// Moving ranges with CL = MR̄, UCL = 3.267 · MR̄, LCL = 0.
void drawMovingRange(QCustomPlot *plot, const ProcessAnalysis &analysis, const ChartTexts &texts);
