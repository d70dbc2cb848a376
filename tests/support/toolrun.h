#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// An external program run to its end: an independent reader of what the
// program wrote, or a system tool.
struct ToolRun
{
    bool finished = false; // started and ended by itself within the time given
    int exitCode = -1;
    QByteArray output;
    QByteArray errors;

    bool ok() const { return finished && exitCode == 0; }
};

// Generous: readers of large reports on a loaded machine. A bound, not a check.
constexpr int kToolTimeoutMs = 120000;

ToolRun runTool(const QString &program, const QStringList &arguments, int timeoutMs = kToolTimeoutMs);

// The reader's standard output; empty, with its errors in the test log, when it failed.
QByteArray runReader(const QString &program, const QStringList &arguments);
