#include "station/stationprogress.h"

#include <QCoreApplication>
#include <cmath>
#include <unistd.h>

namespace {
constexpr int kBarWidth = 30;
constexpr int kAutoDecimals = 1;

QString progressText(const char *source)
{
    return QCoreApplication::translate("StationProgress", source);
}
} // namespace

StationProgress::StationProgress(bool quiet, int decimals)
    : quiet(quiet)
    , decimals(decimals < 0 ? kAutoDecimals : decimals)
    , terminal(isatty(STDERR_FILENO) == 1)
{}

QString StationProgress::number(double value) const
{
    return std::isfinite(value) ? QString::number(value, 'f', decimals) : QStringLiteral("\u2014");
}

void StationProgress::line(const QString &text)
{
    if (quiet)
        return;
    clearBar();
    std::fputs(qUtf8Printable(text + QLatin1Char('\n')), stderr);
    drawBar();
}

void StationProgress::instrumentFound(const QString &path)
{
    line(progressText("%1: прибор найден").arg(path));
}

void StationProgress::blockRead(const QString &port, int read, int count, const BlockJudgement &judgement)
{
    QString verdict;
    switch (judgement.verdict) {
    case BlockJudgement::Verdict::InTolerance:
        verdict = progressText("в допуске");
        break;
    case BlockJudgement::Verdict::OutOfTolerance:
        verdict = progressText("вне допуска: %1").arg(judgement.outside);
        break;
    case BlockJudgement::Verdict::None:
        verdict = progressText("без оценки");
        break;
    }
    line(progressText("%1: блок %2/%3 «%4»: %5 показ., среднее %6, σ %7, %8")
             .arg(port)
             .arg(read)
             .arg(count)
             .arg(judgement.name)
             .arg(judgement.readings)
             .arg(number(judgement.statistics.mean), number(judgement.statistics.stdev), verdict));
}

void StationProgress::portEnded(const QString &port, PortOutcome outcome, int read, int count)
{
    QString how;
    switch (outcome) {
    case PortOutcome::Complete:
        how = progressText("считаны все блоки");
        break;
    case PortOutcome::Cancelled:
        how = progressText("прервано");
        break;
    case PortOutcome::InstrumentLost:
        how = progressText("связь с прибором потеряна");
        break;
    case PortOutcome::CountFailed:
        how = progressText("прибор не сообщил число блоков");
        break;
    case PortOutcome::NotFound:
        how = progressText("прибор не найден");
        break;
    }
    line(progressText("%1: %2, считано блоков: %3 из %4").arg(port, how).arg(read).arg(qMax(count, 0)));
}

void StationProgress::setCounts(int read, int all)
{
    done = read;
    total = all;
    if (quiet || !terminal)
        return;
    clearBar();
    drawBar();
}

void StationProgress::finish()
{
    clearBar();
    total = 0;
}

void StationProgress::clearBar()
{
    if (!barShown)
        return;
    std::fputs("\r\033[K", stderr);
    barShown = false;
}

void StationProgress::drawBar()
{
    if (quiet || !terminal || total <= 0)
        return;
    const int filled = kBarWidth * done / total;
    const QString bar = QString(filled, QLatin1Char('#')) + QString(kBarWidth - filled, QLatin1Char('.'));
    std::fputs(qUtf8Printable(QStringLiteral("[%1] %2/%3").arg(bar).arg(done).arg(total)), stderr);
    std::fflush(stderr);
    barShown = true;
}
