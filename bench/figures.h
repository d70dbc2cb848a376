#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>
#include <QVector>
#include <algorithm>
#include <functional>

// The median and the worst of several timed runs, in the unit they were taken in.
struct Figures
{
    double median = 0;
    double worst = 0;
};

inline Figures summary(QVector<double> times)
{
    if (times.isEmpty())
        return {};
    std::sort(times.begin(), times.end());
    return {times.at(times.size() / 2), times.last()};
}

// `work` run `runs` times, each timed in milliseconds.
inline Figures timedMs(const std::function<void()> &work, int runs)
{
    QVector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        work();
        times.append(clock.nsecsElapsed() / 1e6);
    }
    return summary(times);
}

// One line of figures in milliseconds against the goal.
inline void reportMs(QTextStream &out, const QString &what, const Figures &figures, double goalMs)
{
    out << what << ": median " << QString::number(figures.median, 'f', 1) << " ms, worst "
        << QString::number(figures.worst, 'f', 1) << " ms; goal " << goalMs
        << " ms: " << (figures.median <= goalMs ? "met" : "NOT met") << '\n';
    out.flush();
}
