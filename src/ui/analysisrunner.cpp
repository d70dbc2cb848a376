#include "ui/analysisrunner.h"

#include <QMetaObject>

AnalysisRunner::AnalysisRunner(QObject *parent)
    : QObject(parent)
    , worker(new QObject)
{
    thread.setObjectName(QStringLiteral("process analysis"));
    worker->moveToThread(&thread);
    thread.start();
}

AnalysisRunner::~AnalysisRunner()
{
    // An analysis under way ends within milliseconds; its answer to this object is dropped.
    thread.quit();
    thread.wait();
    delete worker;
}

void AnalysisRunner::request(const QVector<float> &readings, const SpecLimits &spec, unsigned rules)
{
    const Input input{readings, spec, rules};
    if (running) {
        waiting = input;
        return;
    }
    start(input);
}

void AnalysisRunner::start(const Input &input)
{
    running = true;
    QMetaObject::invokeMethod(
        worker,
        [this, input] {
            const ProcessAnalysis result = analyseProcess(input.readings, input.spec, input.rules);
            QMetaObject::invokeMethod(
                this, [this, result] { done(result); }, Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void AnalysisRunner::done(const ProcessAnalysis &analysis)
{
    running = false;
    if (waiting) {
        // A newer request came meanwhile: this answer is already out of date.
        const Input next = *waiting;
        waiting.reset();
        start(next);
        return;
    }
    emit analysed(analysis);
}
