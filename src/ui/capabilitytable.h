#pragma once

#include "values/capability.h"

#include <QCoreApplication>
#include <QString>

class QTableWidget;

// The capability table of the analysis window: a row per figure (n, mean,
// σ within and overall, Cp, Cpk, Pp, Ppk with their 95 % intervals, the
// share outside the band in ppm), "—" where a figure is undefined, and a
// note for a small sample.
class CapabilityTable
{
    Q_DECLARE_TR_FUNCTIONS(CapabilityTable)

public:
    static void fill(QTableWidget *table, const ProcessCapability &capability);
    // The table with its header line, cells separated by tabs, a newline after each line.
    static QString text(const QTableWidget *table);
};
