#include "values/processanalysis.h"

#include "values/plotseries.h"

#include <cmath>

ProcessAnalysis analyseProcess(const QVector<float> &readings, const SpecLimits &spec, unsigned rules)
{
    ProcessAnalysis a;
    PlotSeries series = plotSeries(readings);
    a.numbers = std::move(series.keys);
    a.values = std::move(series.values);
    const int count = a.values.size();
    if (count > 1) {
        a.rangeNumbers.reserve(count - 1);
        a.movingRanges.reserve(count - 1);
        for (int i = 1; i < count; ++i) {
            a.rangeNumbers.append(a.numbers.at(i));
            a.movingRanges.append(std::abs(a.values.at(i) - a.values.at(i - 1)));
        }
    }
    a.bins = histogramBins(readings);
    a.limits = imrLimits(a.values);
    const RuleBreaks breaks = ruleBreaks(a.values, a.limits.centre, a.limits.sigma, rules);
    for (int rule = 0; rule < kRuleCount; ++rule) {
        a.breaking[rule].reserve(breaks.points[rule].size());
        for (int index : breaks.points[rule])
            a.breaking[rule].append(int(a.numbers.at(index)));
    }
    a.capability = processCapability(readings, spec);
    return a;
}

QVector<NumberRun> numberRuns(const QVector<int> &numbers)
{
    QVector<NumberRun> runs;
    for (int number : numbers) {
        if (!runs.isEmpty() && number == runs.last().last + 1)
            runs.last().last = number;
        else
            runs.append({number, number});
    }
    return runs;
}
