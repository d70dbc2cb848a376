#include "toolrun.h"

#include <QDebug>
#include <QProcess>

ToolRun runTool(const QString &program, const QStringList &arguments, int timeoutMs)
{
    ToolRun run;
    QProcess process;
    process.start(program, arguments);
    run.finished = process.waitForFinished(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.exitCode = run.finished ? process.exitCode() : -1;
    run.output = process.readAllStandardOutput();
    run.errors = process.readAllStandardError();
    return run;
}

QByteArray runReader(const QString &program, const QStringList &arguments)
{
    const ToolRun run = runTool(program, arguments);
    if (!run.ok()) {
        qWarning() << program << arguments << "failed:" << run.exitCode << run.errors;
        return QByteArray();
    }
    return run.output;
}
