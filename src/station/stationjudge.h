#pragma once

#include "values/blockstatistics.h"
#include "values/memoryblock.h"
#include "values/toleranceband.h"

#include <QString>

// The judgement of one block against the band. Figures that cannot be
// computed are NaN.
struct BlockJudgement
{
    enum class Verdict { None, InTolerance, OutOfTolerance };

    int number = 0; // in instrument order, from 1
    QString name;
    int readings = 0;
    BlockStatistics statistics;
    int outside = 0;
    Verdict verdict = Verdict::None; // None: no band, or no readings to judge
    double cp = 0.0;                 // both limits, within σ (average moving range / 1.128)
    double cpk = 0.0;                // the nearer limit, within σ
    double pp = 0.0;                 // both limits, overall σ (sample deviation)
    double ppk = 0.0;                // the nearer limit, overall σ
};

// The block's statistics and, while the band is on, its verdict with the
// window's figures.
BlockJudgement judgeBlock(const MemoryBlock &block, int number, const ToleranceBand &band);
