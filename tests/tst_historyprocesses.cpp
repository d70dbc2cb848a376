// The history store under other processes: a writer killed in the middle of
// its transaction, another program writing as the store opens, two writers at
// once, and a writer whose disk is full. The writers are this program started
// again in writer mode, so each has a process and a connection of its own, as
// two stations have.

#include "filefaults.h"
#include "history/historyreader.h"
#include "history/historyschema.h"
#include "history/historywriter.h"
#include "historytestdata.h"

#include <QProcess>
#include <QtTest>
#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

const QDateTime kStart(QDate(2024, 5, 2), QTime(10, 0), Qt::UTC);
const QString kWriterFlag = QStringLiteral("--writer");
constexpr int kProcessTimeoutMs = 120000;
constexpr int kWriterFailed = 3;

// Every read of every writer holds the same first block; the second is its own.
const MemoryBlock &sharedBlock()
{
    static const MemoryBlock block = makeBlock(QStringLiteral("Общий 0001"), noisyValues(4096, 99));
    return block;
}

ReadRecord writerRead(int writer, int index, int bigBlocks)
{
    const QDateTime started = kStart.addSecs(writer * 100000 + index);
    if (bigBlocks > 0)
        return noisyRead(started, bigBlocks, 65535, quint32(writer * 1000 + index));
    return makeRead(started, {sharedBlock(), makeBlock(QStringLiteral("Свой %1-%2").arg(writer).arg(index),
                                                       noisyValues(512, quint32(writer * 1000 + index)))});
}

struct WriterJob
{
    QString backend;
    QString where;  // file or database
    QString host;   // the server's socket folder
    int writer = 1; // tells the writers' reads apart
    int count = 1;
    int bigBlocks = 0;        // reads of this many 65 535-value blocks instead of the small ones
    bool hangLast = false;    // the last read stops right before its commit
    qint64 fileSizeLimit = 0; // bytes any file may grow to; 0: no limit
    int pageLimit = 0;        // SQLite's max_page_count; 0: none

    QStringList arguments() const
    {
        return {kWriterFlag,
                backend,
                where,
                host,
                QString::number(writer),
                QString::number(count),
                QString::number(bigBlocks),
                hangLast ? QStringLiteral("hang") : QStringLiteral("commit"),
                QString::number(fileSizeLimit),
                QString::number(pageLimit)};
    }
};

void say(const QByteArray &line)
{
    std::fputs(line.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

const char *failureName(HistoryFailure failure)
{
    switch (failure) {
    case HistoryFailure::None:
        return "None";
    case HistoryFailure::Unreachable:
        return "Unreachable";
    case HistoryFailure::Locked:
        return "Locked";
    case HistoryFailure::DiskFull:
        return "DiskFull";
    case HistoryFailure::Corrupt:
        return "Corrupt";
    case HistoryFailure::Failed:
        return "Failed";
    case HistoryFailure::Rejected:
        return "Rejected";
    case HistoryFailure::Newer:
        return "Newer";
    }
    return "?";
}

int runWriter(const QStringList &args)
{
    WriterJob job;
    job.backend = args.value(0);
    job.where = args.value(1);
    job.host = args.value(2);
    job.writer = args.value(3).toInt();
    job.count = args.value(4).toInt();
    job.bigBlocks = args.value(5).toInt();
    job.hangLast = args.value(6) == QLatin1String("hang");
    job.fileSizeLimit = args.value(7).toLongLong();
    job.pageLimit = args.value(8).toInt();

    std::unique_ptr<HistoryConnection> connection;
    if (job.backend == HistoryStores::sqlite()) {
        connection = std::make_unique<HistoryConnection>(job.where);
    } else {
        HistoryServer server;
        server.host = job.host;
        server.database = job.where;
        server.user = PostgresServer::user();
        connection = std::make_unique<HistoryConnection>(server);
    }
    if (!connection->open()) {
        say("failed " + QByteArray(failureName(connection->lastError().failure)) + ' '
            + connection->lastError().text.toUtf8());
        return kWriterFailed;
    }
    if (job.pageLimit > 0)
        connection->exec(QStringLiteral("PRAGMA max_page_count = %1").arg(job.pageLimit));
    FileSizeLimit diskFull;
    if (job.fileSizeLimit > 0 && !diskFull.apply(rlim_t(job.fileSizeLimit))) {
        say("failed to limit the file size");
        return kWriterFailed;
    }
    HistoryWriter writer(*connection);
    for (int i = 0; i < job.count; ++i) {
        if (job.hangLast && i == job.count - 1)
            writer.setBeforeCommit([] {
                say("in transaction");
                for (;;)
                    pause();
            });
        if (!writer.storeRead(writerRead(job.writer, i, job.bigBlocks))) {
            say("failed " + QByteArray(failureName(connection->lastError().failure)) + ' '
                + connection->lastError().text.toUtf8());
            return kWriterFailed;
        }
        say("stored " + QByteArray::number(i));
    }
    return 0;
}

// Waits for a line of the writer's output; false when it ends or stays silent.
bool waitForLine(QProcess &process, const QByteArray &line)
{
    QByteArray seen;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kProcessTimeoutMs) {
        seen += process.readAllStandardOutput();
        if (seen.contains(line + '\n'))
            return true;
        if (process.state() == QProcess::NotRunning)
            return false;
        process.waitForReadyRead(100);
    }
    return false;
}

} // namespace

class HistoryProcessesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QString why;
        QVERIFY2(stores.startServer(&why), qPrintable(why));
    }
    void cleanupTestCase() { stores.server.stop(); }

    // A writer killed before its commit leaves the reads before it, whole,
    // and nothing of its own; the store takes the next read at once.
    void writerKilledMidTransaction_data()
    {
        QTest::addColumn<QString>("backend");
        HistoryStores::addBackendRows();
    }

    void writerKilledMidTransaction()
    {
        QFETCH(QString, backend);
        WriterJob job = newJob(backend);
        job.count = 3;
        job.bigBlocks = 10;
        job.hangLast = true;
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(), job.arguments());
        QVERIFY2(waitForLine(writer, "in transaction"), writer.readAllStandardError().constData());
        QCOMPARE(::kill(pid_t(writer.processId()), SIGKILL), 0);
        QVERIFY(writer.waitForFinished(kProcessTimeoutMs));
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);

        auto store = stores.again(backend, job.where);
        QVERIFY2(store->open(), qPrintable(store->lastError().text));
        QCOMPARE(inconsistency(*store), QString());
        QVector<StoredRead> reads;
        QVERIFY(HistoryReader(*store).listReads(ReadFilter(), nullptr, 10, &reads));
        QCOMPARE(reads.size(), 2);
        QCOMPARE(countRows(*store, QStringLiteral("blocks")), qint64(2 * job.bigBlocks));
        for (int i = 0; i < 2; ++i) {
            ReadRecord back;
            QVERIFY2(HistoryReader(*store).loadRead(reads.at(1 - i).id, &back),
                     qPrintable(store->lastError().text));
            const ReadRecord expected = writerRead(job.writer, i, job.bigBlocks);
            QCOMPARE(back.startedAt, expected.startedAt);
            QCOMPARE(back.blocks.size(), expected.blocks.size());
            for (int b = 0; b < expected.blocks.size(); ++b)
                QVERIFY(sameBits(back.blocks.at(b).values, expected.blocks.at(b).values));
        }
        // The killed writer's lock went with it.
        QVERIFY2(HistoryWriter(*store).storeRead(writerRead(job.writer, 7, 1)),
                 qPrintable(store->lastError().text));
        QCOMPARE(inconsistency(*store), QString());
    }

    // Another program in the middle of a write to a file still in rollback
    // mode: turning it to WAL would deadlock, so SQLite answers "locked" at
    // once; the store waits the write out instead of failing to open.
    void openWhileAnotherProgramWrites()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString path = dir.filePath(QStringLiteral("history.sqlite"));
        QProcess holder;
        holder.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import sqlite3, sys, time\n"
                                     "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                                     "c.execute('CREATE TABLE other (x)')\n"
                                     "c.execute('BEGIN IMMEDIATE')\n"
                                     "c.execute('INSERT INTO other VALUES (1)')\n"
                                     "print('holding', flush=True)\n"
                                     "time.sleep(0.3)\n"
                                     "c.execute('COMMIT')\n"),
                      path});
        QVERIFY2(waitForLine(holder, "holding"), holder.readAllStandardError().constData());

        HistoryConnection connection(path);
        QVERIFY2(connection.open(), qPrintable(connection.lastError().text));
        QVERIFY(holder.waitForFinished(kProcessTimeoutMs));
        QCOMPARE(holder.exitCode(), 0);
        QSqlQuery q = connection.query();
        QVERIFY(q.exec(QStringLiteral("PRAGMA journal_mode")) && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("wal"));
        QVERIFY(q.exec(QStringLiteral("SELECT COUNT(*) FROM other")) && q.next());
        QCOMPARE(q.value(0).toInt(), 1);
        QCOMPARE(connection.storedSchemaVersion(), kLatestSchemaVersion);
    }

    // Two stations writing at once lose nothing, and the block both read
    // again and again is still kept once. They also make the schema at once.
    void twoWritersAtOnce_data()
    {
        QTest::addColumn<QString>("backend");
        HistoryStores::addBackendRows();
    }

    void twoWritersAtOnce()
    {
        QFETCH(QString, backend);
        constexpr int kReadsEach = 25;
        WriterJob first = newJob(backend);
        first.count = kReadsEach;
        WriterJob second = first;
        second.writer = 2;
        QProcess one;
        QProcess two;
        one.start(QCoreApplication::applicationFilePath(), first.arguments());
        two.start(QCoreApplication::applicationFilePath(), second.arguments());
        QVERIFY(one.waitForFinished(kProcessTimeoutMs));
        QVERIFY(two.waitForFinished(kProcessTimeoutMs));
        QVERIFY2(one.exitCode() == 0, one.readAllStandardOutput().constData());
        QVERIFY2(two.exitCode() == 0, two.readAllStandardOutput().constData());

        auto store = stores.again(backend, first.where);
        QVERIFY2(store->open(), qPrintable(store->lastError().text));
        QCOMPARE(countRows(*store, QStringLiteral("reads")), qint64(2 * kReadsEach));
        QCOMPARE(countRows(*store, QStringLiteral("blocks")), qint64(1 + 2 * kReadsEach));
        QCOMPARE(inconsistency(*store), QString());
        QVector<StoredRead> reads;
        QVERIFY(HistoryReader(*store).listReads(ReadFilter(), nullptr, 1000, &reads));
        QCOMPARE(reads.size(), 2 * kReadsEach);
        for (const StoredRead &read : qAsConst(reads)) {
            const int writer = read.startedAt < kStart.addSecs(200000) ? 1 : 2;
            const int index = int(kStart.addSecs(writer * 100000).secsTo(read.startedAt));
            ReadRecord back;
            QVERIFY(HistoryReader(*store).loadRead(read.id, &back));
            const ReadRecord expected = writerRead(writer, index, 0);
            QCOMPARE(back.blocks.size(), 2);
            QCOMPARE(back.blocks.at(1).name, expected.blocks.at(1).name);
            QVERIFY(sameBits(back.blocks.at(0).values, sharedBlock().values));
            QVERIFY(sameBits(back.blocks.at(1).values, expected.blocks.at(1).values));
        }
    }

    // A read that does not fit on the disk is refused as a whole; what was
    // stored before stays sound and the store goes on once there is room.
    void diskFull_data()
    {
        QTest::addColumn<qint64>("fileSizeLimit");
        QTest::addColumn<int>("pageLimit");
        QTest::addColumn<bool>("reportedAsFull");
        // Where the write stops differs: early in the log, or well into it.
        QTest::newRow("files may not grow beyond 64 KiB") << qint64(64 * 1024) << 0 << false;
        QTest::newRow("files may not grow beyond 1 MiB") << qint64(1024 * 1024) << 0 << false;
        QTest::newRow("the database may not grow beyond 50 pages") << qint64(0) << 50 << true;
    }

    void diskFull()
    {
        QFETCH(qint64, fileSizeLimit);
        QFETCH(int, pageLimit);
        QFETCH(bool, reportedAsFull);
        WriterJob job = newJob(HistoryStores::sqlite());
        {
            auto store = stores.again(job.backend, job.where);
            QVERIFY(store->open());
            QVERIFY(HistoryWriter(*store).storeRead(writerRead(9, 0, 0)));
        }
        job.bigBlocks = 10;
        job.fileSizeLimit = fileSizeLimit;
        job.pageLimit = pageLimit;
        QProcess writer;
        writer.start(QCoreApplication::applicationFilePath(), job.arguments());
        QVERIFY(writer.waitForFinished(kProcessTimeoutMs));
        const QByteArray said = writer.readAllStandardOutput();
        QCOMPARE(writer.exitStatus(), QProcess::NormalExit);
        QVERIFY2(writer.exitCode() == kWriterFailed, said.constData());
        QVERIFY2(said.startsWith(reportedAsFull ? "failed DiskFull" : "failed "), said.constData());
        QVERIFY2(!said.startsWith("failed None"), said.constData());

        auto store = stores.again(job.backend, job.where);
        QVERIFY2(store->open(), qPrintable(store->lastError().text));
        QCOMPARE(inconsistency(*store), QString());
        QCOMPARE(countRows(*store, QStringLiteral("reads")), qint64(1));
        QCOMPARE(countRows(*store, QStringLiteral("blocks")), qint64(2));
        QVERIFY2(HistoryWriter(*store).storeRead(writerRead(1, 0, 10)), qPrintable(store->lastError().text));
        QCOMPARE(countRows(*store, QStringLiteral("reads")), qint64(2));
        QCOMPARE(inconsistency(*store), QString());
    }

private:
    WriterJob newJob(const QString &backend)
    {
        WriterJob job;
        job.backend = backend;
        stores.fresh(backend, &job.where);
        job.host = stores.server.address(QString()).host;
        return job;
    }

    HistoryStores stores;
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && QString::fromLocal8Bit(argv[1]) == kWriterFlag)
        return runWriter(app.arguments().mid(2));
    HistoryProcessesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_historyprocesses.moc"
