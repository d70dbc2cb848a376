#pragma once

#include <QByteArray>
#include <QtGlobal>

// The tests' own waits for something to happen (never the program's
// timeouts) in milliseconds, stretched on a busy machine by the environment
// variable ZRV_TEST_TIME_FACTOR (e.g. 3); the waits end as soon as what they
// wait for has happened, so a large factor costs nothing when all is well.
inline int testMs(int ms)
{
    static const double factor = [] {
        bool ok = false;
        const double value = qEnvironmentVariable("ZRV_TEST_TIME_FACTOR").toDouble(&ok);
        return ok && value > 1.0 ? value : 1.0;
    }();
    return qRound(ms * factor);
}
