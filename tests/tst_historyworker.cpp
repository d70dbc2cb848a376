// The history's worker through its queued interface, on its own thread,
// against real SQLite files and a real PostgreSQL server: names stored as
// decoded (NUL characters included), a read the server refuses set aside while
// the others go on, a paused server cut off and its reads kept here, a file
// with a damaged page salvaged, a file of the previous schema brought forward,
// and a program ended by SIGTERM whose unsaved read the next start stores.

#include "app/closesignals.h"
#include "history/historyconnection.h"
#include "history/historyreader.h"
#include "history/historyschema.h"
#include "history/historyservice.h"
#include "history/historyworker.h"
#include "history/historywriter.h"
#include "history/readspool.h"
#include "history/valuebytes.h"
#include "historyanswer.h"
#include "historytestdata.h"
#include "mainwindowtester.h"
#include "settings/settingsfile.h"
#include "testports.h"
#include "ui/historypanel.h"

#include <QProcess>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>
#include <csignal>

namespace {

const QDateTime kStart(QDate(2025, 3, 4), QTime(8, 0), Qt::UTC);
constexpr int kWaitMs = 60000;
const char kChildArgument[] = "--window-with-an-unsaved-read";

ReadRecord readAt(int minute, const QString &name, const QString &port = QStringLiteral("/dev/ttyUSB0"))
{
    return makeRead(kStart.addSecs(minute * 60), {makeBlock(name, {float(minute), 0.25f})},
                    ReadOutcome::Complete, port);
}

QVector<QDateTime> timesOf(std::initializer_list<int> minutes)
{
    QVector<QDateTime> times;
    for (const int minute : minutes)
        times.append(kStart.addSecs(minute * 60));
    return times;
}

// The server processes serving `database`, other than the asker's own.
QVector<qint64> backendsOf(HistoryConnection &admin, const QString &database)
{
    QVector<qint64> pids;
    QSqlQuery q = admin.query();
    if (admin.run(
            q,
            QStringLiteral("SELECT pid FROM pg_stat_activity WHERE datname = ? AND pid <> pg_backend_pid()"),
            {database}))
        while (q.next())
            pids.append(q.value(0).toLongLong());
    return pids;
}

// The child: a window whose history cannot be written, with one read given to
// it; it says so on stdout and waits for a signal to end it.
int runChild()
{
    freshSettingsFolder();
    // A folder where the history file belongs: nothing can be stored.
    QDir().mkpath(historyDatabasePath(configFolder()));
    MainWindow window(noPorts());
    new zrv::CloseOnSignals(&window);
    window.show();
    auto *panel = window.findChild<HistoryPanel *>();
    auto *history = window.findChild<HistoryService *>();
    panel->readStarting(QStringLiteral("/dev/ttyUSB0"));
    panel->readEnded(BlockReader::Outcome::Complete, 1, {makeBlock(QStringLiteral("Сигнал 0001"), {1.5f})});
    const bool tried = QTest::qWaitFor([history] { return !history->storeScheduled(); }, kWaitMs);
    QTextStream(stdout) << (tried ? "ready " : "not tried ") << history->unsavedCount() << Qt::endl;
    return QApplication::exec();
}

} // namespace

class HistoryWorkerTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QString why;
        QVERIFY2(stores.startServer(&why), qPrintable(why));
    }
    void cleanupTestCase() { stores.server.stop(); }
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        qputenv("XDG_STATE_HOME", folder->filePath(QStringLiteral("state")).toUtf8());
    }

    // A name with NUL padding comes back exactly as decoded; the filter finds it by its letters.
    void nulNameKeptExactly_data() { backendRows(); }
    void nulNameKeptExactly()
    {
        QFETCH(QString, backend);
        HistorySettings settings;
        if (backend == HistoryStores::postgres()) {
            QString database;
            stores.fresh(backend, &database);
            settings.backend = HistoryBackend::Postgres;
            settings.server = stores.server.address(database);
        }
        const QString name = QStringLiteral("Шов A") + QChar(0) + QChar(0) + QStringLiteral("7");
        HistoryService service(folder->path(), settings);
        QSignalSpy stored(service.worker(), &HistoryWorker::readStored);
        QSignalSpy failed(service.worker(), &HistoryWorker::storeFailed);
        service.recordRead(readAt(1, name));
        QVERIFY(stored.wait(kWaitMs));
        QCOMPARE(failed.size(), 0);

        ReadFilter filter;
        filter.blockName = QStringLiteral("шов a");
        const QList<QVariant> listed = answer(service, &HistoryWorker::readsListed,
                                              [&] { return service.listReads(filter, StoredRead(), 10); });
        QVERIFY(!listed.isEmpty());
        const auto reads = listed.at(1).value<QVector<StoredRead>>();
        QCOMPARE(reads.size(), 1);
        const QList<QVariant> loaded =
            answer(service, &HistoryWorker::readLoaded, [&] { return service.loadRead(reads.at(0).id); });
        QVERIFY(!loaded.isEmpty());
        const auto read = loaded.at(1).value<ReadRecord>();
        QCOMPARE(read.blocks.size(), 1);
        QCOMPARE(read.blocks.at(0).name, name);
        QCOMPARE(read.blocks.at(0).name.size(), 8);
        const QList<QVariant> blocks =
            answer(service, &HistoryWorker::blocksListed, [&] { return service.listBlocks(reads.at(0).id); });
        QVERIFY(!blocks.isEmpty());
        QCOMPARE(blocks.at(1).value<QVector<StoredBlock>>().at(0).name, name);
    }

    // The server refuses one read (a unique index it holds): that read waits
    // here, set aside with the server's words; the next read is stored; once
    // asked, the set-aside read is sent again.
    void refusedReadSetAside()
    {
        QString database;
        auto admin = stores.fresh(HistoryStores::postgres(), &database);
        QVERIFY(admin->open());
        QVERIFY(admin->exec(QStringLiteral("CREATE UNIQUE INDEX one_read_a_port ON reads (port)")));
        HistorySettings settings;
        settings.backend = HistoryBackend::Postgres;
        settings.server = stores.server.address(database);
        HistoryService service(folder->path(), settings);
        QSignalSpy stored(service.worker(), &HistoryWorker::readStored);
        QSignalSpy setAside(service.worker(), &HistoryWorker::readSetAside);
        QSignalSpy failed(service.worker(), &HistoryWorker::storeFailed);
        service.recordRead(readAt(1, QStringLiteral("Т 0001"), QStringLiteral("COM1")));
        QVERIFY(stored.wait(kWaitMs));
        service.recordRead(readAt(2, QStringLiteral("Т 0002"), QStringLiteral("COM1")));
        service.recordRead(readAt(3, QStringLiteral("Т 0003"), QStringLiteral("COM3")));
        QTRY_COMPARE_WITH_TIMEOUT(stored.size(), 2, kWaitMs);
        QCOMPARE(setAside.size(), 1);
        QVERIFY2(setAside.at(0).at(0).toString().contains(QStringLiteral("one_read_a_port")),
                 qPrintable(setAside.at(0).at(0).toString()));
        // No "server down": the others went on.
        QCOMPARE(failed.size(), 0);
        QCOMPARE(startTimes(*admin), timesOf({1, 3}));

        const QList<QVariant> waiting =
            answer(service, &HistoryWorker::waitingListed, [&] { return service.listWaiting(); });
        QVERIFY(!waiting.isEmpty());
        QCOMPARE(waiting.at(1).value<QVector<ReadRecord>>().size(), 0);
        const auto aside = waiting.at(2).value<QVector<StoredRead>>();
        QCOMPARE(aside.size(), 1);
        QCOMPARE(aside.at(0).pending, kSetAside);
        QCOMPARE(aside.at(0).startedAt, kStart.addSecs(120));
        QVERIFY(aside.at(0).refusal.contains(QStringLiteral("one_read_a_port")));

        // Retried only when asked.
        QVERIFY(admin->exec(QStringLiteral("DROP INDEX one_read_a_port")));
        QSignalSpy sent(service.worker(), &HistoryWorker::sentToServer);
        service.retrySetAside();
        QVERIFY(sent.wait(kWaitMs));
        QCOMPARE(startTimes(*admin), timesOf({1, 2, 3}));
        QCOMPARE(inconsistency(*admin), QString());
    }

    // A server whose backend stops answering (paused): the statement is cut,
    // the read kept on this computer, and sent once the server answers again.
    // Meanwhile this thread's event loop runs (the test's own waits turn).
    void pausedServerCutOff()
    {
        QString database;
        auto admin = stores.fresh(HistoryStores::postgres(), &database);
        QVERIFY(admin->open());
        HistorySettings settings;
        settings.backend = HistoryBackend::Postgres;
        settings.server = stores.server.address(database);
        HistoryService service(folder->path(), settings);
        service.setRetryInterval(std::chrono::milliseconds(200));
        QSignalSpy stored(service.worker(), &HistoryWorker::readStored);
        QSignalSpy kept(service.worker(), &HistoryWorker::keptLocally);
        QSignalSpy sent(service.worker(), &HistoryWorker::sentToServer);
        service.recordRead(readAt(1, QStringLiteral("Т 0001")));
        QVERIFY(stored.wait(kWaitMs));

        const QVector<qint64> backends = backendsOf(*admin, database);
        QVERIFY(!backends.isEmpty());
        for (const qint64 pid : backends)
            QCOMPARE(::kill(pid_t(pid), SIGSTOP), 0);
        service.recordRead(readAt(2, QStringLiteral("Т 0002")));
        int turns = 0;
        QTimer tick;
        connect(&tick, &QTimer::timeout, this, [&turns] { ++turns; });
        tick.start(100);
        const bool keptHere = kept.wait(kWaitMs);
        for (const qint64 pid : backends)
            ::kill(pid_t(pid), SIGCONT);
        QVERIFY(keptHere);
        QVERIFY(turns > 0);

        QVERIFY(sent.wait(kWaitMs));
        QCOMPARE(startTimes(*admin), timesOf({1, 2}));
        QCOMPARE(ReadSpool().count(), 0);
    }

    // One damaged page (an index's): the file is kept aside, its reads go into
    // the new file, and the number recovered is told.
    void damagedPageSalvaged()
    {
        const QString database = historyDatabasePath(folder->path());
        int rootPage = 0;
        int pageSize = 0;
        {
            HistoryConnection earlier(database);
            QVERIFY(earlier.open());
            for (int i = 10; i < 40; ++i)
                QVERIFY(HistoryWriter(earlier).storeRead(readAt(i, QStringLiteral("Т %1").arg(i))));
            QVERIFY(earlier.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
            QSqlQuery q = earlier.query();
            QVERIFY(q.exec(QStringLiteral("PRAGMA page_size")) && q.next());
            pageSize = q.value(0).toInt();
            q.finish();
            QVERIFY(q.exec(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'reads_by_start'"))
                    && q.next());
            rootPage = q.value(0).toInt();
        }
        QFile file(database);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(qint64(rootPage - 1) * pageSize));
        QCOMPARE(file.write(QByteArray(pageSize, '\x5a')), qint64(pageSize));
        file.close();

        HistoryService service(folder->path(), HistorySettings());
        QSignalSpy kept(service.worker(), &HistoryWorker::corruptFileKept);
        QSignalSpy stored(service.worker(), &HistoryWorker::readStored);
        service.recordRead(readAt(1, QStringLiteral("Т 0001")));
        QVERIFY(stored.wait(kWaitMs));
        QCOMPARE(kept.size(), 1);
        QVERIFY(kept.at(0).at(0).toString().contains(QStringLiteral(".corrupt-")));
        QCOMPARE(kept.at(0).at(1).toInt(), 30);
        service.finish();

        HistoryConnection now(database);
        QVector<int> minutes{1};
        for (int i = 10; i < 40; ++i)
            minutes.append(i);
        QVector<QDateTime> expected;
        for (const int minute : minutes)
            expected.append(kStart.addSecs(minute * 60));
        QCOMPARE(startTimes(now), expected);
        QCOMPARE(inconsistency(now), QString());
    }

    // A file written by a newer program is left as it is; the read waits in
    // the spool, and the failure says so (no promise to write it).
    void newerFileLeftAlone()
    {
        const QString database = historyDatabasePath(folder->path());
        {
            HistoryConnection newer(database);
            QVERIFY(newer.open());
            QVERIFY(HistoryWriter(newer).storeRead(readAt(1, QStringLiteral("Т 0001"))));
            QVERIFY(newer.exec(
                QStringLiteral("UPDATE schema_version SET version = %1").arg(kLatestSchemaVersion + 1)));
            QVERIFY(newer.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
        }
        QFile file(database);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        HistoryService service(folder->path(), HistorySettings());
        QSignalSpy failed(service.worker(), &HistoryWorker::storeFailed);
        QSignalSpy kept(service.worker(), &HistoryWorker::corruptFileKept);
        service.recordRead(readAt(2, QStringLiteral("Т 0002")));
        QVERIFY(failed.wait(kWaitMs));
        QCOMPARE(failed.at(0).at(0).value<HistoryError>().failure, HistoryFailure::Newer);
        QCOMPARE(kept.size(), 0);
        QCOMPARE(ReadSpool().count(), 1);
        QCOMPARE(service.finish(), 1);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QVERIFY(QDir(folder->path()).entryList({QStringLiteral("*.corrupt-*")}, QDir::Files).isEmpty());
    }

    // A store of the previous schema, rows as the previous program wrote them,
    // is brought forward: names in their own table, the filter and reads work.
    void migrationFromSchema2_data() { backendRows(); }
    void migrationFromSchema2()
    {
        QFETCH(QString, backend);
        QString where;
        auto old = stores.fresh(backend, &where);
        QVERIFY2(old->open(2), qPrintable(old->lastError().text));
        const QVector<float> values = awkwardValues();
        const QByteArray bytes = valuesToBytes(values);
        QSqlQuery q = old->query();
        QVERIFY(
            old->run(q,
                     QStringLiteral("INSERT INTO reads (uid, started_at, port, block_count, outcome, "
                                    "stored_blocks, value_count, pending) VALUES (?, ?, ?, ?, ?, ?, ?, ?) "
                                    "RETURNING id"),
                     {QStringLiteral("uid-one"), kStart.toMSecsSinceEpoch(), QStringLiteral("COM3"), 2, 0, 2,
                      values.size() * 2, 0}));
        QVERIFY(q.next());
        const qint64 readId = q.value(0).toLongLong();
        q.finish();
        const QStringList names{QStringLiteral("ТОЛЩИНА 0001"), QStringLiteral("Lot 0002")};
        for (int i = 0; i < names.size(); ++i) {
            QVERIFY(old->run(q,
                             QStringLiteral("INSERT INTO blocks (block_key, name, name_key, value_count, "
                                            "value_data) VALUES (?, ?, ?, ?, ?) RETURNING id"),
                             {blockKey(names.at(i), bytes), names.at(i), names.at(i).toCaseFolded(),
                              values.size(), bytes}));
            QVERIFY(q.next());
            const qint64 blockId = q.value(0).toLongLong();
            q.finish();
            QVERIFY(old->run(
                q,
                QStringLiteral("INSERT INTO read_blocks (read_id, position, block_id, expected_size, "
                               "fault, read_at) VALUES (?, ?, ?, ?, ?, NULL)"),
                {readId, i, blockId, values.size(), i == 1 ? 3 : 0}));
        }
        old.reset();

        auto store = stores.again(backend, where);
        QVERIFY2(store->open(), qPrintable(store->lastError().text));
        QCOMPARE(store->storedSchemaVersion(), kLatestSchemaVersion);
        QCOMPARE(inconsistency(*store), QString());
        ReadFilter filter;
        filter.blockName = QStringLiteral("толщина");
        QVector<StoredRead> reads;
        QVERIFY(HistoryReader(*store).listReads(filter, nullptr, 10, &reads));
        QCOMPARE(reads.size(), 1);
        QCOMPARE(reads.at(0).uid, QStringLiteral("uid-one"));
        QCOMPARE(reads.at(0).failedBlocks, 1);
        filter.blockName = QStringLiteral("нет такого");
        QVERIFY(HistoryReader(*store).listReads(filter, nullptr, 10, &reads));
        QCOMPARE(reads.size(), 0);
        ReadRecord back;
        QVERIFY(HistoryReader(*store).loadRead(readId, &back));
        QCOMPARE(back.blocks.size(), 2);
        QCOMPARE(back.blocks.at(0).name, names.at(0));
        QCOMPARE(back.blocks.at(1).name, names.at(1));
        QVERIFY(sameBits(back.blocks.at(0).values, values));
        // A new read with a known block shares it.
        QVERIFY2(
            HistoryWriter(*store).storeRead(makeRead(kStart.addDays(1), {makeBlock(names.at(0), values)})),
            qPrintable(store->lastError().text));
        QCOMPARE(countRows(*store, QStringLiteral("blocks")), qint64(2));
        QCOMPARE(countRows(*store, QStringLiteral("block_names")), qint64(2));
        QCOMPARE(inconsistency(*store), QString());
    }

    // SIGTERM closes the window as its close button does: the read that could
    // not be stored waits in the spool, and the next start stores it first.
    void sigtermKeepsTheUnsavedRead()
    {
        freshSettingsFolder();
        QProcess child;
        child.setProcessChannelMode(QProcess::SeparateChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChildArgument)});
        QVERIFY(child.waitForStarted(kWaitMs));
        QVERIFY(QTest::qWaitFor(
            [&child] { return child.canReadLine() || child.state() != QProcess::Running; }, kWaitMs));
        QCOMPARE(QString::fromUtf8(child.readLine()).trimmed(), QStringLiteral("ready 1"));
        QCOMPARE(::kill(pid_t(child.processId()), SIGTERM), 0);
        QVERIFY(child.waitForFinished(kWaitMs));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        const QString said = QString::fromUtf8(child.readAllStandardError());
        QVERIFY2(said.contains(QStringLiteral("Не записано в историю чтений: 1.")), qPrintable(said));
        QVERIFY2(said.contains(ReadSpool().folder()), qPrintable(said));
        QCOMPARE(ReadSpool().count(), 1);

        // The next start, with a history that can be written.
        QVERIFY(QDir(historyDatabasePath(configFolder())).removeRecursively());
        {
            MainWindow window(noPorts());
            auto *history = window.findChild<HistoryService *>();
            QSignalSpy stored(history->worker(), &HistoryWorker::readStored);
            QVERIFY(stored.wait(kWaitMs));
        }
        QCOMPARE(ReadSpool().count(), 0);
        HistoryConnection file(historyDatabasePath(configFolder()));
        QVector<StoredRead> reads;
        QVERIFY(file.open() && HistoryReader(file).listReads(ReadFilter(), nullptr, 10, &reads));
        QCOMPARE(reads.size(), 1);
        QCOMPARE(reads.at(0).portName, QStringLiteral("/dev/ttyUSB0"));
    }

private:
    static void backendRows()
    {
        QTest::addColumn<QString>("backend");
        HistoryStores::addBackendRows();
    }

    HistoryStores stores;
    std::unique_ptr<QTemporaryDir> folder;
};

int main(int argc, char **argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], kChildArgument) == 0)
        return runChild();
    HistoryWorkerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_historyworker.moc"
