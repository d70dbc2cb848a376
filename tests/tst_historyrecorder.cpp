// The recorder that keeps every read: stored after the read shows, kept in
// memory while the local file cannot be written and written later, reported
// once per outage; a damaged file moved aside; with a server, reads kept on
// this computer while it is gone and sent when it is back.

#include "filefaults.h"
#include "history/historyreader.h"
#include "history/historyrecorder.h"
#include "history/readspool.h"
#include "history/historysettings.h"
#include "history/historywriter.h"
#include "historytestdata.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QDateTime kStart(QDate(2024, 6, 3), QTime(9, 15), Qt::UTC);
constexpr int kWaitMs = 30000;

ReadRecord smallRead(int index)
{
    return makeRead(
        kStart.addSecs(index * 60),
        {makeBlock(QStringLiteral("Т %1").arg(index, 4, 10, QLatin1Char('0')), {float(index), 0.5f}),
         makeBlock(QStringLiteral("Общий 0002"), awkwardValues())});
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QVector<QDateTime> timesOf(std::initializer_list<int> indexes)
{
    QVector<QDateTime> times;
    for (const int index : indexes)
        times.append(smallRead(index).startedAt);
    return times;
}

} // namespace

class HistoryRecorderTest : public QObject
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
        // Each case has a spool of its own, apart from the history's folder.
        qputenv("XDG_STATE_HOME", folder->filePath(QStringLiteral("state")).toUtf8());
    }

    // The read shows first; it is written once the event loop runs, and at
    // the latest when the recorder goes.
    void storedAfterTheReadShows()
    {
        HistoryRecorder recorder(folder->path(), HistorySettings());
        QSignalSpy stored(&recorder, &HistoryRecorder::readStored);
        recorder.recordRead(smallRead(1));
        QCOMPARE(recorder.unsavedCount(), 1);
        QVERIFY(stored.wait(kWaitMs));
        QCOMPARE(recorder.unsavedCount(), 0);
        recorder.recordRead(smallRead(2));
        {
            // Another program's recorder: a spool of its own.
            HistoryRecorder closing(folder->path(), HistorySettings(),
                                    ReadSpool(folder->filePath(QStringLiteral("other-spool"))));
            closing.recordRead(smallRead(3));
        }
        HistoryConnection file(historyDatabasePath(folder->path()));
        QCOMPARE(startTimes(file), timesOf({1, 3}));
        QVERIFY(stored.wait(kWaitMs));
        QCOMPARE(startTimes(file), timesOf({1, 2, 3}));
        // The file keeps a write-ahead log.
        QSqlQuery journal = file.query();
        QVERIFY(journal.exec(QStringLiteral("PRAGMA journal_mode")) && journal.next());
        QCOMPARE(journal.value(0).toString(), QStringLiteral("wal"));
    }

    // A file that cannot be written: said once, the reads wait in memory and
    // are written, in order, once it can be.
    void unwritableFileReportedOnceAndWrittenLater_data()
    {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<int>("failure");
        QTest::newRow("another program holds the file")
            << QStringLiteral("lock") << int(HistoryFailure::Locked);
        QTest::newRow("the file's folder is a file")
            << QStringLiteral("folder") << int(HistoryFailure::Unreachable);
        QTest::newRow("the file is a folder") << QStringLiteral("file") << int(HistoryFailure::Unreachable);
    }

    void unwritableFileReportedOnceAndWrittenLater()
    {
        QFETCH(QString, blocker);
        QFETCH(int, failure);
        const QString home = folder->filePath(QStringLiteral("settings"));
        QVERIFY(QDir().mkpath(home));
        const QString database = historyDatabasePath(home);
        HistoryConnection holder(database);
        if (blocker == QLatin1String("lock")) {
            QVERIFY(holder.open());
            QVERIFY(holder.exec(QStringLiteral("BEGIN EXCLUSIVE")));
        } else if (blocker == QLatin1String("folder")) {
            QVERIFY(QDir(home).removeRecursively());
            QVERIFY(writeFile(home, "not a folder"));
        } else {
            QVERIFY(QDir().mkpath(database));
        }

        HistoryRecorder recorder(home, HistorySettings());
        QSignalSpy failed(&recorder, &HistoryRecorder::storeFailed);
        QSignalSpy recovered(&recorder, &HistoryRecorder::storedAfterFailure);
        recorder.recordRead(smallRead(1));
        QVERIFY(failed.wait(kWaitMs));
        recorder.recordRead(smallRead(2));
        recorder.storeWaiting();
        QCOMPARE(failed.size(), 1);
        QCOMPARE(int(failed.at(0).at(0).value<HistoryError>().failure), failure);
        QCOMPARE(failed.at(0).at(1).toBool(), false);
        QCOMPARE(recorder.unsavedCount(), 2);

        if (blocker == QLatin1String("lock")) {
            QVERIFY(holder.exec(QStringLiteral("ROLLBACK")));
        } else if (blocker == QLatin1String("folder")) {
            QVERIFY(QFile::remove(home));
        } else {
            QVERIFY(QDir(database).removeRecursively());
        }
        // The next read takes the waiting ones with it.
        recorder.recordRead(smallRead(3));
        QVERIFY(recovered.wait(kWaitMs));
        QCOMPARE(recovered.at(0).at(0).toInt(), 3);
        QCOMPARE(recorder.unsavedCount(), 0);
        QCOMPARE(failed.size(), 1);
        HistoryConnection file(database);
        QCOMPARE(startTimes(file), timesOf({1, 2, 3}));
    }

    // Without a new read, the retry timer writes what waits.
    void retriedOnATimer()
    {
        const QString home = folder->filePath(QStringLiteral("later"));
        QVERIFY(writeFile(home, "not a folder yet"));
        HistoryRecorder recorder(home, HistorySettings());
        recorder.setRetryInterval(std::chrono::milliseconds(50));
        QSignalSpy failed(&recorder, &HistoryRecorder::storeFailed);
        QSignalSpy recovered(&recorder, &HistoryRecorder::storedAfterFailure);
        recorder.recordRead(smallRead(1));
        QVERIFY(failed.wait(kWaitMs));
        QVERIFY(QFile::remove(home));
        QVERIFY(recovered.wait(kWaitMs));
        QCOMPARE(failed.size(), 1);
        HistoryConnection file(historyDatabasePath(home));
        QCOMPARE(startTimes(file), timesOf({1}));
    }

    // Reads still unsaved when the program ends wait in the spool, apart from
    // the history's folder; the next run takes them in, or keeps them again
    // if it cannot either.
    void unsavedReadsOutliveTheRun_data()
    {
        QTest::addColumn<bool>("blockedAtNextStart");
        QTest::newRow("the next run can store them") << false;
        QTest::newRow("the next run cannot either") << true;
    }

    void unsavedReadsOutliveTheRun()
    {
        QFETCH(bool, blockedAtNextStart);
        const QString database = historyDatabasePath(folder->path());
        const auto spareFiles = [this] {
            return QDir(folder->path()).entryList({QStringLiteral("history-unsaved-*.sqlite")}, QDir::Files);
        };
        const ReadSpool spool;
        QVERIFY(!spool.folder().startsWith(folder->path() + QStringLiteral("/history")));
        QVERIFY(QDir().mkpath(database)); // a folder where the file belongs
        {
            HistoryRecorder recorder(folder->path(), HistorySettings());
            recorder.recordRead(smallRead(1));
            recorder.storeWaiting();
            QCOMPARE(recorder.unsavedCount(), 1);
            recorder.recordRead(smallRead(2));
        }
        QCOMPARE(spool.count(), 2);
        if (blockedAtNextStart) {
            HistoryRecorder recorder(folder->path(), HistorySettings());
            QCOMPARE(recorder.unsavedCount(), 2);
            recorder.recordRead(smallRead(3));
        }
        QCOMPARE(spool.count(), blockedAtNextStart ? 3 : 2);
        QCOMPARE(spareFiles(), QStringList());
        QVERIFY(QDir(database).removeRecursively());

        HistoryRecorder recorder(folder->path(), HistorySettings());
        QSignalSpy stored(&recorder, &HistoryRecorder::readStored);
        QVERIFY(stored.wait(kWaitMs));
        QCOMPARE(recorder.unsavedCount(), 0);
        QCOMPARE(spareFiles(), QStringList());
        QCOMPARE(spool.count(), 0);
        HistoryConnection file(database);
        QCOMPARE(startTimes(file), blockedAtNextStart ? timesOf({1, 2, 3}) : timesOf({1, 2}));
    }

    // A damaged file is kept aside unchanged; a new one takes the read.
    void damagedFileKeptAside_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("not a database at all") << QStringLiteral("text");
        QTest::newRow("a database whose header is overwritten") << QStringLiteral("header");
        QTest::newRow("a database whose pages are overwritten") << QStringLiteral("pages");
    }

    void damagedFileKeptAside()
    {
        QFETCH(QString, damage);
        const QString database = historyDatabasePath(folder->path());
        if (damage == QLatin1String("text")) {
            QVERIFY(writeFile(database, QByteArray("Протокол измерений, не база данных\n").repeated(300)));
        } else {
            int pageSize = 0;
            {
                HistoryConnection earlier(database);
                QVERIFY(earlier.open());
                for (int i = 10; i < 40; ++i)
                    QVERIFY(HistoryWriter(earlier).storeRead(smallRead(i)));
                QVERIFY(earlier.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
                QSqlQuery size = earlier.query();
                QVERIFY(size.exec(QStringLiteral("PRAGMA page_size")) && size.next());
                pageSize = size.value(0).toInt();
            }
            QByteArray bytes = readAll(database);
            constexpr int kHeaderSize = 100;
            QVERIFY(bytes.size() > 8 * pageSize);
            if (damage == QLatin1String("header"))
                bytes.replace(0, kHeaderSize, QByteArray(kHeaderSize, '\x5a'));
            else
                bytes.replace(pageSize, bytes.size() - 2 * pageSize,
                              QByteArray(bytes.size() - 2 * pageSize, '\x5a'));
            QVERIFY(writeFile(database, bytes));
        }
        const QByteArray damaged = readAll(database);

        QString aside;
        {
            HistoryRecorder recorder(folder->path(), HistorySettings());
            QSignalSpy kept(&recorder, &HistoryRecorder::corruptFileKept);
            QSignalSpy stored(&recorder, &HistoryRecorder::readStored);
            QSignalSpy failed(&recorder, &HistoryRecorder::storeFailed);
            recorder.recordRead(smallRead(1));
            QVERIFY(stored.wait(kWaitMs));
            QCOMPARE(kept.size(), 1);
            QCOMPARE(failed.size(), 0);
            aside = kept.at(0).at(0).toString();
        }
        QVERIFY2(QFileInfo(aside).fileName().startsWith(QStringLiteral("history.sqlite.corrupt-")),
                 qPrintable(aside));
        QCOMPARE(QFileInfo(aside).absolutePath(), QFileInfo(database).absolutePath());
        QCOMPARE(readAll(aside), damaged);
        {
            HistoryConnection file(database);
            QCOMPARE(startTimes(file), timesOf({1}));
            QCOMPARE(inconsistency(file), QString());
        }

        // Damaged again (within the same second, perhaps): the first one stays as it was.
        QVERIFY(QFile::remove(database + QStringLiteral("-wal"))
                || !QFileInfo::exists(database + QStringLiteral("-wal")));
        QVERIFY(writeFile(database, "damaged again"));
        HistoryRecorder next(folder->path(), HistorySettings());
        QSignalSpy keptAgain(&next, &HistoryRecorder::corruptFileKept);
        next.recordRead(smallRead(2));
        next.storeWaiting();
        QCOMPARE(keptAgain.size(), 1);
        QVERIFY(keptAgain.at(0).at(0).toString() != aside);
        QCOMPARE(readAll(aside), damaged);
        QCOMPARE(readAll(keptAgain.at(0).at(0).toString()), QByteArray("damaged again"));
        HistoryConnection file(database);
        QCOMPARE(startTimes(file), timesOf({2}));
    }

    // The server goes away: the reads wait on this computer, said once; when
    // it is back they are sent, in order, with the next read or by the timer.
    void serverGoneReadsWaitHere_data()
    {
        QTest::addColumn<bool>("byTimer");
        QTest::newRow("sent with the next read") << false;
        QTest::newRow("sent by the retry timer") << true;
    }

    void serverGoneReadsWaitHere()
    {
        QFETCH(bool, byTimer);
        QString database;
        stores.fresh(HistoryStores::postgres(), &database);
        HistorySettings settings;
        settings.backend = HistoryBackend::Postgres;
        settings.server = stores.server.address(database);

        HistoryRecorder recorder(folder->path(), settings);
        QSignalSpy stored(&recorder, &HistoryRecorder::readStored);
        QSignalSpy failed(&recorder, &HistoryRecorder::storeFailed);
        QSignalSpy keptHere(&recorder, &HistoryRecorder::keptLocally);
        QSignalSpy sent(&recorder, &HistoryRecorder::sentToServer);
        recorder.recordRead(smallRead(1));
        QVERIFY(stored.wait(kWaitMs));
        // The local file is not made while the server takes every read.
        QVERIFY(!QFileInfo::exists(historyDatabasePath(folder->path())));

        stores.server.stop();
        recorder.recordRead(smallRead(2));
        QVERIFY(keptHere.wait(kWaitMs));
        recorder.recordRead(smallRead(3));
        QVERIFY(keptHere.wait(kWaitMs));
        QCOMPARE(failed.size(), 1);
        QCOMPARE(failed.at(0).at(0).value<HistoryError>().failure, HistoryFailure::Unreachable);
        QCOMPARE(failed.at(0).at(1).toBool(), true);
        QCOMPARE(keptHere.at(1).at(0).toInt(), 2);
        QCOMPARE(recorder.waitingForServer(), 2);
        QCOMPARE(recorder.unsavedCount(), 0);

        QString why;
        QVERIFY2(stores.server.start(&why), qPrintable(why));
        if (byTimer)
            recorder.setRetryInterval(std::chrono::milliseconds(50));
        else
            recorder.recordRead(smallRead(4));
        QVERIFY(sent.wait(kWaitMs));
        QCOMPARE(sent.at(0).at(0).toInt(), 2);
        QCOMPARE(recorder.waitingForServer(), 0);
        QCOMPARE(failed.size(), 1);

        auto server = stores.again(HistoryStores::postgres(), database);
        QCOMPARE(startTimes(*server), byTimer ? timesOf({1, 2, 3}) : timesOf({1, 2, 3, 4}));
        QCOMPARE(inconsistency(*server), QString());
        HistoryConnection local(historyDatabasePath(folder->path()));
        QVERIFY(local.open());
        QCOMPARE(countRows(local, QStringLiteral("reads WHERE pending = 1")), qint64(0));
    }

    // Reads an earlier run left waiting are sent by the next run.
    void readsOfAnEarlierRunAreSent()
    {
        QString database;
        stores.fresh(HistoryStores::postgres(), &database);
        HistorySettings settings;
        settings.backend = HistoryBackend::Postgres;
        settings.server = stores.server.address(database);
        stores.server.stop();
        {
            HistoryRecorder earlier(folder->path(), settings);
            earlier.recordRead(smallRead(1));
            earlier.recordRead(smallRead(2));
        }
        QString why;
        QVERIFY2(stores.server.start(&why), qPrintable(why));

        HistoryRecorder recorder(folder->path(), settings);
        QCOMPARE(recorder.waitingForServer(), 2);
        QSignalSpy sent(&recorder, &HistoryRecorder::sentToServer);
        recorder.setRetryInterval(std::chrono::milliseconds(50));
        QVERIFY(sent.wait(kWaitMs));
        QCOMPARE(sent.at(0).at(0).toInt(), 2);
        auto server = stores.again(HistoryStores::postgres(), database);
        QCOMPARE(startTimes(*server), timesOf({1, 2}));
    }

    // history.json holds the choice of store; never a password.
    void settingsFile()
    {
        const HistorySettings missing = loadHistorySettings(folder->path());
        QCOMPARE(missing.backend, HistoryBackend::Sqlite);

        HistorySettings settings;
        settings.backend = HistoryBackend::Postgres;
        settings.server.host = QStringLiteral("db.plant.local");
        settings.server.port = 6543;
        settings.server.database = QStringLiteral("zrv");
        settings.server.user = QStringLiteral("station7");
        QVERIFY(saveHistorySettings(folder->path(), settings));
        const QJsonObject written =
            QJsonDocument::fromJson(readAll(historySettingsPath(folder->path()))).object();
        QCOMPARE(written.keys(),
                 (QStringList{QStringLiteral("backend"), QStringLiteral("database"), QStringLiteral("host"),
                              QStringLiteral("port"), QStringLiteral("user")}));
        QCOMPARE(written.value(QStringLiteral("backend")).toString(), QStringLiteral("postgresql"));

        const HistorySettings back = loadHistorySettings(folder->path());
        QCOMPARE(back.backend, HistoryBackend::Postgres);
        QCOMPARE(back.server.host, settings.server.host);
        QCOMPARE(back.server.port, 6543);
        QCOMPARE(back.server.database, settings.server.database);
        QCOMPARE(back.server.user, settings.server.user);

        // A damaged file means the local store.
        QVERIFY(writeFile(historySettingsPath(folder->path()), "{ backend: postgresql"));
        QCOMPARE(loadHistorySettings(folder->path()).backend, HistoryBackend::Sqlite);
    }

private:
    HistoryStores stores;
    std::unique_ptr<QTemporaryDir> folder;
};

QTEST_GUILESS_MAIN(HistoryRecorderTest)
#include "tst_historyrecorder.moc"
