#pragma once

#include "station/stationform.h"
#include "station/stationjson.h"
#include "station/stationoptions.h"
#include "station/stationprogress.h"

#include <QHash>
#include <QObject>
#include <QVector>

class PortRead;

// One run of the station: reads every port at once, then judges the chosen
// blocks, writes their reports, stores the reads and says how it went.
class StationRun : public QObject
{
    Q_OBJECT

public:
    static constexpr int kAllWithinTolerance = 0;
    static constexpr int kOutOfTolerance = 1;
    static constexpr int kLinkFailed = 2;
    static constexpr int kNotWritten = 3;
    static constexpr int kSignalBase = 128;

    StationRun(const StationOptions &options, const StationForm &form, QObject *parent = nullptr);
    ~StationRun() override;

    void start();
    // A stop signal: the reads end after their current exchange.
    void stop(int signalNumber);

signals:
    void finished(int exitStatus);

private:
    void portFinished();
    void blockRead(int index, int done, int count, const MemoryBlock &block);
    void blockRetried(int index, int number, int count, const MemoryBlock &block);
    void finish();
    // The port's read judged and reported, block by chosen block.
    PortSummary summarize(int index, StationReports &reports);
    void showCounts();
    void reportHistory(StationHistory::State state, const QString &failure);
    bool chosen(int number) const;
    QString portLabel(int index) const;
    int exitStatus(const QVector<PortSummary> &ports, StationHistory::State history) const;

    StationOptions options;
    StationForm form;
    StationProgress progress;
    QVector<PortRead *> reads;
    QHash<int, QString> foundOn; // the port each read's instrument answered on
    QHash<int, int> counts;
    QHash<int, int> readSoFar;
    int stopSignal = 0;
};
