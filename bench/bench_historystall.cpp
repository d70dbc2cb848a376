// The window's event loop while the history's store misbehaves, and the name
// filter over a large history. Goals: the longest stall of the event loop
// over the run (60 s each by default) with a server that accepts connections
// and never answers, and with a server whose backend is paused (SIGSTOP):
// 50 ms; the first page of a filter by name over a 300 MB history: 20 ms.
//
//   bench_historystall [--seconds N] [--history-mb M] [--only stall|filter]

#include "../tests/historytestdata.h"
#include "../tests/postgresserver.h"
#include "figures.h"
#include "history/historyreader.h"
#include "history/historyservice.h"
#include "history/historyworker.h"
#include "history/historywriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>
#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr double kStallGoalMs = 50;
constexpr double kFilterGoalMs = 20;
constexpr int kTickMs = 5;
// As often as a typist changes the filter, and reads as a busy station makes them.
constexpr int kAskEveryMs = 200;
constexpr int kReadEveryMs = 3000;
constexpr int kFilterRuns = 15;
const QDateTime kStart(QDate(2024, 1, 8), QTime(6, 0), Qt::UTC);

void report(QTextStream &out, const QString &what, double ms, double goalMs)
{
    out << what << ": " << QString::number(ms, 'f', 1) << " ms; goal " << goalMs
        << " ms: " << (ms <= goalMs ? "met" : "NOT met") << '\n';
    out.flush();
}

// Runs the event loop for `seconds` while the service is asked to store and
// to list; the longest gap between two ticks of a short timer, beyond its interval.
double longestStall(HistoryService &service, int seconds)
{
    QElapsedTimer sinceTick;
    double worst = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, &tick, [&] {
        worst = qMax(worst, sinceTick.nsecsElapsed() / 1e6 - kTickMs);
        sinceTick.restart();
    });
    int asked = 0;
    QTimer ask;
    QObject::connect(&ask, &QTimer::timeout, &ask, [&] {
        ReadFilter filter;
        filter.blockName = QStringLiteral("abc").left(1 + asked % 3);
        service.listReads(filter, StoredRead(), 100);
        ++asked;
    });
    int made = 0;
    QTimer read;
    QObject::connect(&read, &QTimer::timeout, &read, [&] {
        ++made;
        service.recordRead(noisyRead(kStart.addSecs(made), 3, 500, quint32(made)));
    });
    QEventLoop loop;
    QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
    sinceTick.start();
    tick.start(kTickMs);
    ask.start(kAskEveryMs);
    read.start(kReadEveryMs);
    loop.exec();
    return worst;
}

void silentServer(QTextStream &out, int seconds, const QString &folder)
{
    // Listens and never says a word: the kernel completes each handshake.
    const int silent = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (silent < 0 || ::bind(silent, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::listen(silent, 64) != 0
        || ::getsockname(silent, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        out << "cannot listen on 127.0.0.1\n";
        return;
    }
    HistorySettings settings;
    settings.backend = HistoryBackend::Postgres;
    settings.server.host = QStringLiteral("127.0.0.1");
    settings.server.port = ntohs(address.sin_port);
    settings.server.database = QStringLiteral("zrv");
    settings.server.user = QStringLiteral("zrv");
    HistoryService service(folder + QStringLiteral("/silent"), settings,
                           folder + QStringLiteral("/silent-spool"));
    const double stall = longestStall(service, seconds);
    report(out, QStringLiteral("longest stall of the event loop over %1 s, silent server").arg(seconds),
           stall, kStallGoalMs);
    QElapsedTimer ending;
    ending.start();
    const int left = service.finish();
    out << "  end of the run: " << QString::number(ending.nsecsElapsed() / 1e6, 'f', 0) << " ms (at most "
        << HistoryService::kStopWait.count() << " ms and the cut), reads kept in the spool: " << left << '\n';
    ::close(silent);
}

void pausedServer(QTextStream &out, int seconds, const QString &folder)
{
    PostgresServer server;
    QString why;
    if (!server.start(&why) || !server.createDatabase(QStringLiteral("paused"), &why)) {
        out << "no PostgreSQL server: " << why << '\n';
        return;
    }
    HistorySettings settings;
    settings.backend = HistoryBackend::Postgres;
    settings.server = server.address(QStringLiteral("paused"));
    HistoryService service(folder + QStringLiteral("/paused"), settings,
                           folder + QStringLiteral("/paused-spool"));
    QEventLoop stored;
    QObject::connect(service.worker(), &HistoryWorker::readStored, &stored, &QEventLoop::quit);
    service.recordRead(noisyRead(kStart, 3, 500, 1));
    QTimer::singleShot(30000, &stored, &QEventLoop::quit);
    stored.exec();

    HistoryConnection admin(server.address(QStringLiteral("postgres")));
    QVector<pid_t> paused;
    if (admin.open(0)) {
        QSqlQuery q = admin.query();
        admin.run(q, QStringLiteral("SELECT pid FROM pg_stat_activity WHERE datname = 'paused'"));
        while (q.next())
            paused.append(pid_t(q.value(0).toLongLong()));
    }
    for (const pid_t pid : qAsConst(paused))
        ::kill(pid, SIGSTOP);
    out << "  paused backends: " << paused.size() << '\n';
    const double stall = longestStall(service, seconds);
    report(out, QStringLiteral("longest stall of the event loop over %1 s, paused server").arg(seconds),
           stall, kStallGoalMs);
    QElapsedTimer ending;
    ending.start();
    const int left = service.finish();
    out << "  end of the run: " << QString::number(ending.nsecsElapsed() / 1e6, 'f', 0)
        << " ms, reads kept in the spool: " << left << '\n';
    for (const pid_t pid : qAsConst(paused))
        ::kill(pid, SIGCONT);
}

void nameFilter(QTextStream &out, int megabytes, const QString &folder)
{
    const QString path = folder + QStringLiteral("/large.sqlite");
    HistoryConnection store(path);
    if (!store.open()) {
        out << "cannot open the store: " << store.lastError().text << '\n';
        return;
    }
    store.exec(QStringLiteral("PRAGMA synchronous = OFF")); // only to fill it quickly
    // Reads of 10 blocks of 2 000 values (80 kB), names from a few hundred.
    constexpr int kBlocks = 10;
    constexpr int kValues = 2000;
    const qint64 target = qint64(megabytes) * 1024 * 1024;
    HistoryWriter writer(store);
    int reads = 0;
    while (QFileInfo(path).size() < target) {
        QVector<MemoryBlock> blocks;
        for (int b = 0; b < kBlocks; ++b)
            blocks.append(makeBlock(QStringLiteral("Шов %1-%2").arg(reads % 400).arg(b),
                                    noisyValues(kValues, quint32(reads * kBlocks + b))));
        writer.storeRead(makeRead(kStart.addSecs(reads * 60), blocks));
        // The log's pages into the file, so that its size counts them.
        if (++reads % 100 == 0)
            store.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    store.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    out << "  history: " << QFileInfo(path).size() / (1024 * 1024) << " MB, " << reads << " reads\n";

    for (const QString &part :
         {QStringLiteral("шов 17-3"), QStringLiteral("шов"), QStringLiteral("нет такого")}) {
        ReadFilter filter;
        filter.blockName = part;
        QVector<double> times;
        QVector<StoredRead> page;
        for (int run = 0; run < kFilterRuns; ++run) {
            QElapsedTimer clock;
            clock.start();
            HistoryReader(store).listReads(filter, nullptr, 100, &page);
            times.append(clock.nsecsElapsed() / 1e6);
        }
        const Figures figures = summary(times);
        report(out,
               QStringLiteral("filter by name \"%1\" over %2 MB (%3 listed), median (worst %4 ms)")
                   .arg(part)
                   .arg(megabytes)
                   .arg(page.size())
                   .arg(figures.worst, 0, 'f', 1),
               figures.median, kFilterGoalMs);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList arguments = app.arguments();
    const auto option = [&arguments](const char *name, const QString &fallback) {
        const int at = arguments.indexOf(QString::fromLatin1(name));
        return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : fallback;
    };
    const int seconds = option("--seconds", QStringLiteral("60")).toInt();
    const int megabytes = option("--history-mb", QStringLiteral("300")).toInt();
    const QString only = option("--only", QString());
    QTemporaryDir folder;
    if (only.isEmpty() || only == QLatin1String("stall")) {
        silentServer(out, seconds, folder.path());
        pausedServer(out, seconds, folder.path());
    }
    if (only.isEmpty() || only == QLatin1String("filter"))
        nameFilter(out, megabytes, folder.path());
    return 0;
}
