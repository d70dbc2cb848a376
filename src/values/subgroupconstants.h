// Control chart constants for subgroups of 2…25 readings of a normal process,
// as the published table of ISO 7870-2 has them.
#pragma once

#include <QtGlobal>

struct SubgroupConstants
{
    int n = 0;
    double d2 = qQNaN(), d3 = qQNaN(), c4 = qQNaN();
    double a2 = qQNaN(), d3Lower = qQNaN(), d4 = qQNaN(); // X̄-R: A2, D3, D4
    double a3 = qQNaN(), b3 = qQNaN(), b4 = qQNaN();      // X̄-S
};

constexpr int kSmallestSubgroup = 2;
constexpr int kLargestSubgroup = 25;

// NaN figures outside 2…25.
SubgroupConstants subgroupConstants(int n);
