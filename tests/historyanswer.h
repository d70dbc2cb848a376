#pragma once

#include "history/historyservice.h"
#include "history/historyworker.h"

#include <QSignalSpy>
#include <QTest>

// How long a test waits for the history's answer.
constexpr int kHistoryAnswerWaitMs = 60000;

// Asks through the service and waits for the answer to that very request;
// empty when none came.
template <typename Signal, typename Ask>
QList<QVariant> answer(HistoryService &service, Signal signal, Ask ask)
{
    QSignalSpy spy(service.worker(), signal);
    const quint64 request = ask();
    QList<QVariant> found;
    const bool answered = QTest::qWaitFor(
        [&] {
            for (const QList<QVariant> &args : qAsConst(spy)) {
                if (args.at(0).toULongLong() == request)
                    found = args;
            }
            return !found.isEmpty();
        },
        kHistoryAnswerWaitMs);
    return answered ? found : QList<QVariant>();
}
