#include "station/stationrun.h"

#include "station/portread.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

namespace {
QString runText(const char *source)
{
    return QCoreApplication::translate("StationRun", source);
}

// Which request of a block failed, as the operator's line says it.
QString faultText(BlockFault fault)
{
    switch (fault) {
    case BlockFault::Name:
        return runText("ошибка запроса имени");
    case BlockFault::Size:
        return runText("ошибка запроса размера");
    case BlockFault::Data:
        return runText("ошибка запроса показаний");
    case BlockFault::Cut:
        return runText("показания получены не полностью");
    case BlockFault::None:
        break;
    }
    return QString();
}
} // namespace

StationRun::StationRun(const StationOptions &options, const StationForm &form, QObject *parent)
    : QObject(parent)
    , options(options)
    , form(form)
    , progress(options.quiet, options.decimals)
{}

StationRun::~StationRun()
{
    qDeleteAll(reads);
}

void StationRun::start()
{
    const QStringList paths = options.ports.isEmpty() ? QStringList{QString()} : options.ports;
    for (int i = 0; i < paths.size(); ++i) {
        auto *read = new PortRead(i, paths.at(i), options.waitMs, options.blocks);
        connect(read, &PortRead::instrumentFound, this, [this](int index, const QString &name) {
            foundOn.insert(index, name);
            progress.instrumentFound(name);
        });
        connect(read, &PortRead::countReceived, this, [this](int index, int count) {
            counts.insert(index, count);
            showCounts();
        });
        connect(read, &PortRead::blockRead, this, &StationRun::blockRead);
        connect(read, &PortRead::blockRetried, this, &StationRun::blockRetried);
        connect(read, &PortRead::finished, this, &StationRun::portFinished);
        reads.append(read);
    }
    if (options.ports.isEmpty())
        progress.line(runText("Ожидание прибора на последовательных портах…"));
    for (PortRead *read : qAsConst(reads))
        read->start();
}

void StationRun::stop(int signalNumber)
{
    if (stopSignal == 0)
        stopSignal = signalNumber;
    progress.line(runText("Остановка: считывание прерывается"));
    for (PortRead *read : qAsConst(reads))
        read->cancel();
}

QString StationRun::portLabel(int index) const
{
    const PortRead *read = reads.at(index);
    if (!read->result().requestedPath.isEmpty())
        return read->result().requestedPath;
    return foundOn.value(index, runText("порт системы"));
}

void StationRun::showCounts()
{
    int total = 0;
    for (const int count : qAsConst(counts))
        total += count;
    int done = 0;
    for (const int read : qAsConst(readSoFar))
        done += read;
    progress.setCounts(done, total);
}

bool StationRun::chosen(int number) const
{
    return options.blocks.isEmpty() || options.blocks.contains(number);
}

void StationRun::blockRead(int index, int done, int count, const MemoryBlock &block)
{
    readSoFar.insert(index, done);
    showCounts();
    if (chosen(done))
        progress.blockRead(portLabel(index), done, count, judgeBlock(block, done, options.band));
}

void StationRun::blockRetried(int index, int number, int count, const MemoryBlock &block)
{
    const QString label = portLabel(index);
    progress.line(runText("%1: блок %2 считан повторно").arg(label).arg(number));
    progress.blockRead(label, number, count, judgeBlock(block, number, options.band));
}

void StationRun::portFinished()
{
    for (const PortRead *read : qAsConst(reads)) {
        if (!read->isFinished())
            return;
    }
    finish();
}

PortSummary StationRun::summarize(int index, StationReports &reports)
{
    PortSummary port;
    port.read = reads.at(index)->result();
    const QString label = portLabel(index);
    const QString tag = QFileInfo(port.read.portName.isEmpty() ? label : port.read.portName).fileName();
    for (int b = 0; b < port.read.blocksRead && b < port.read.blocks.size(); ++b) {
        const int number = b + 1;
        if (!chosen(number))
            continue;
        const MemoryBlock &block = port.read.blocks.at(b);
        port.judged.append(judgeBlock(block, number, options.band));
        // A block without readings has nothing to report, as in the window.
        port.reports.append(block.values.isEmpty() ? StationReports::Written()
                                                   : reports.write(block, number, tag));
        const StationReports::Written &written = port.reports.last();
        for (const QString &failed : written.failed)
            progress.line(runText("%1: отчёт не записан: %2").arg(label, failed));
        if (!written.signing.ok())
            progress.line(runText("%1: отчёт PDF не подписан и не сохранён: %2 (%3)")
                              .arg(label, signingKindText(written.signing.kind), written.signing.text));
        if (block.fault != BlockFault::None)
            port.unread.append(number);
    }
    progress.portEnded(label, port.read.outcome, port.read.blocksRead, port.read.blockCount);

    // A block that failed twice on a link that stayed up is a failed link all the same.
    if (port.read.outcome == PortOutcome::Complete) {
        for (const int number : qAsConst(port.unread))
            progress.line(runText("%1: блок %2 не считан и после повтора: %3")
                              .arg(label)
                              .arg(number)
                              .arg(faultText(port.read.blocks.at(number - 1).fault)));
    }

    // Chosen blocks the instrument does not hold are judged by nobody: said, not passed over.
    if (port.read.outcome == PortOutcome::Complete) {
        for (const int number : qAsConst(options.blocks))
            if (number > port.read.blockCount)
                port.missing.append(number);
        std::sort(port.missing.begin(), port.missing.end());
        for (const int number : qAsConst(port.missing))
            progress.line(runText("%1: на приборе нет блока %2").arg(label).arg(number));
    }
    return port;
}

void StationRun::finish()
{
    progress.finish();
    QVector<PortSummary> ports;
    StationReports reports(form, options.band, options.decimals, options.pdf, options.xlsx,
                           options.outFolder);
    reports.setSigning({options.signCertificate, options.signPasswordFile});
    for (int i = 0; i < reads.size(); ++i)
        ports.append(summarize(i, reports));

    QVector<PortReadResult> results;
    for (const PortSummary &port : qAsConst(ports))
        results.append(port.read);
    StationHistory history(options.history);
    const StationHistory::State state = history.store(results);
    reportHistory(state, history.failureText());

    const int status = exitStatus(ports, state);
    if (options.json) {
        const QByteArray document = stationJson(ports, options.band, state, history.failureText(), status);
        std::fwrite(document.constData(), 1, size_t(document.size()), stdout);
        std::fflush(stdout);
    }
    emit finished(status);
}

void StationRun::reportHistory(StationHistory::State state, const QString &failure)
{
    QString text;
    switch (state) {
    case StationHistory::State::Off:
        return;
    case StationHistory::State::Stored:
        text = runText("История: считывание сохранено");
        break;
    case StationHistory::State::KeptLocally:
        text = runText("История: сервер недоступен, считывание ждёт в локальном файле");
        break;
    case StationHistory::State::Spooled:
        text = runText("История: не записана, считывание сохранено до следующего запуска");
        break;
    case StationHistory::State::Lost:
        text = runText("История: считывание не удалось сохранить");
        break;
    }
    progress.line(failure.isEmpty() ? text : text + QStringLiteral(" (") + failure + QLatin1Char(')'));
}

int StationRun::exitStatus(const QVector<PortSummary> &ports, StationHistory::State history) const
{
    if (stopSignal != 0)
        return kSignalBase + stopSignal;
    bool linkFailed = false;
    bool outside = false;
    bool notWritten = history == StationHistory::State::KeptLocally
                      || history == StationHistory::State::Spooled || history == StationHistory::State::Lost;
    for (const PortSummary &port : ports) {
        const PortOutcome outcome = port.read.outcome;
        linkFailed = linkFailed || outcome == PortOutcome::NotFound || outcome == PortOutcome::InstrumentLost
                     || outcome == PortOutcome::CountFailed || !port.unread.isEmpty();
        for (const BlockJudgement &judged : port.judged)
            outside = outside || judged.verdict == BlockJudgement::Verdict::OutOfTolerance;
        for (const StationReports::Written &written : port.reports)
            notWritten = notWritten || !written.failed.isEmpty();
    }
    // The link first, then the parts' verdict, then the records.
    if (linkFailed)
        return kLinkFailed;
    if (outside)
        return kOutOfTolerance;
    if (notWritten)
        return kNotWritten;
    return kAllWithinTolerance;
}
