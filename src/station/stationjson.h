#pragma once

#include "station/portreadresult.h"
#include "station/stationhistory.h"
#include "station/stationjudge.h"
#include "station/stationreports.h"

#include <QByteArray>
#include <QVector>

// What the run made of one port: its read, the judged blocks and their reports.
struct PortSummary
{
    PortReadResult read;
    QVector<BlockJudgement> judged;
    QVector<StationReports::Written> reports; // one per judged block
    QVector<int> missing;                     // chosen numbers beyond the instrument's blocks
    QVector<int> unread;                      // chosen blocks whose read failed, even when tried again
};

// The run as one JSON document (see the README's "Production station").
QByteArray stationJson(const QVector<PortSummary> &ports, const ToleranceBand &band,
                       StationHistory::State history, const QString &historyFailure, int exitStatus);
