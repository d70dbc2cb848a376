#include "station/stationjudge.h"

#include "values/bandverdict.h"
#include "values/capability.h"

#include <cmath>
#include <limits>

namespace {
constexpr double kNoFigure = std::numeric_limits<double>::quiet_NaN();
} // namespace

BlockJudgement judgeBlock(const MemoryBlock &block, int number, const ToleranceBand &band)
{
    BlockJudgement judgement;
    judgement.number = number;
    judgement.name = block.name;
    judgement.readings = block.values.size();
    judgement.statistics = computeStatistics(block.values);
    judgement.cp = judgement.cpk = judgement.pp = judgement.ppk = kNoFigure;
    if (!band.on || block.values.isEmpty())
        return judgement;

    const BandVerdict verdict = bandVerdict(block.values, band);
    judgement.outside = verdict.outside;
    judgement.verdict =
        verdict.conforms ? BlockJudgement::Verdict::InTolerance : BlockJudgement::Verdict::OutOfTolerance;
    // Cp/Cpk from the within (moving-range) deviation, Pp/Ppk from the
    // overall one; an open side of the band is no limit.
    SpecLimits limits;
    if (std::isfinite(band.lower))
        limits.lower = band.lower;
    if (std::isfinite(band.upper))
        limits.upper = band.upper;
    const ProcessCapability capability = processCapability(block.values, limits);
    judgement.cp = capability.cp.value;
    judgement.cpk = capability.cpk.value;
    judgement.pp = capability.pp.value;
    judgement.ppk = capability.ppk.value;
    return judgement;
}
