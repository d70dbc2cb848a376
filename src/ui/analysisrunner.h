#pragma once

#include "values/processanalysis.h"

#include <QObject>
#include <QThread>
#include <optional>

// Works out process analyses on a thread of its own, so that a block of tens
// of thousands of readings does not hold up the window. One analysis runs at
// a time; a request made meanwhile waits, replacing any older waiting one, so
// that blocks shown in quick succession cost one analysis each at most.
class AnalysisRunner : public QObject
{
    Q_OBJECT

public:
    explicit AnalysisRunner(QObject *parent = nullptr);
    ~AnalysisRunner() override;

    // `rules` as analyseProcess() takes them.
    void request(const QVector<float> &readings, const SpecLimits &spec, unsigned rules);
    // An analysis runs or waits.
    bool busy() const { return running || waiting.has_value(); }

signals:
    // The analysis of the latest request (earlier ones may be skipped).
    void analysed(const ProcessAnalysis &analysis);

private:
    struct Input
    {
        QVector<float> readings;
        SpecLimits spec;
        unsigned rules = kAllRules;
    };
    void start(const Input &input);
    void done(const ProcessAnalysis &analysis);

    QThread thread;
    QObject *worker = nullptr; // lives on the thread; calls are queued to it
    bool running = false;
    std::optional<Input> waiting;
};
