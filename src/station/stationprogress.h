#pragma once

#include "station/portreadresult.h"
#include "station/stationjudge.h"

#include <QString>
#include <cstdio>

// The run's progress on stderr: a line per block and per port's end, and on a
// terminal a bar of the blocks read so far below them. Silent when quiet.
class StationProgress
{
public:
    StationProgress(bool quiet, int decimals);

    void line(const QString &text);
    void instrumentFound(const QString &path);
    void blockRead(const QString &port, int done, int count, const BlockJudgement &judgement);
    void portEnded(const QString &port, PortOutcome outcome, int read, int count);
    // The total of blocks to read grew (a port gave its count) or one more was read.
    void setCounts(int done, int total);
    void finish();

private:
    void clearBar();
    void drawBar();
    QString number(double value) const;

    bool quiet;
    int decimals;
    bool terminal;
    bool barShown = false;
    int done = 0;
    int total = 0;
};
