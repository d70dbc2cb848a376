#include "station/stationjudge.h"

#include "values/bandverdict.h"

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
    // The window's figures: the band against the block's sample deviation.
    // Pp and Ppk stay undefined until the values layer tells the within and
    // overall deviations apart.
    judgement.cp = verdict.cp;
    judgement.cpk = verdict.cpk;
    return judgement;
}
