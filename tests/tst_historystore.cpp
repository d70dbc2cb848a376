// The history store against both backends, SQLite and a PostgreSQL server the
// test starts itself: exact values back, unchanged memory stored once,
// cancelled and cut reads, listing with filters and pages, deleting, and the
// migration from the first schema.

#include "history/historyreader.h"
#include "history/historyschema.h"
#include "history/historywriter.h"
#include "history/valuebytes.h"
#include "historytestdata.h"

#include <QtTest>

Q_DECLARE_METATYPE(ReadOutcome)
Q_DECLARE_METATYPE(MemoryBlock)

namespace {

const QDateTime kMorning(QDate(2024, 3, 14), QTime(8, 30, 5, 250), Qt::UTC);

void compareReads(const ReadRecord &actual, const ReadRecord &expected)
{
    QCOMPARE(actual.startedAt, expected.startedAt);
    QCOMPARE(actual.portName, expected.portName);
    QCOMPARE(actual.blockCount, expected.blockCount);
    QCOMPARE(actual.outcome, expected.outcome);
    QCOMPARE(actual.blocks.size(), expected.blocks.size());
    for (int i = 0; i < expected.blocks.size(); ++i) {
        const MemoryBlock &a = actual.blocks.at(i);
        const MemoryBlock &e = expected.blocks.at(i);
        QCOMPARE(a.name, e.name);
        QVERIFY2(sameBits(a.values, e.values), qPrintable(QStringLiteral("values of block %1").arg(i)));
        QCOMPARE(a.expectedSize, e.expectedSize);
        QCOMPARE(a.fault, e.fault);
        QCOMPARE(a.readAt, e.readAt);
    }
}

QVector<StoredRead> listAll(HistoryConnection &connection, const ReadFilter &filter = ReadFilter())
{
    QVector<StoredRead> reads;
    if (!HistoryReader(connection).listReads(filter, nullptr, 1000, &reads))
        qWarning("listing failed: %s", qPrintable(connection.lastError().text));
    return reads;
}

QStringList portsOf(const QVector<StoredRead> &reads)
{
    QStringList ports;
    for (const StoredRead &read : reads)
        ports.append(read.portName);
    return ports;
}

} // namespace

class HistoryStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QString why;
        QVERIFY2(stores.startServer(&why), qPrintable(why));
    }
    void cleanupTestCase() { stores.server.stop(); }

    void valuesComeBackExactly_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QVector<MemoryBlock>>("blocks");
        QTest::addColumn<int>("blockCount");
        MemoryBlock timed = makeBlock(QStringLiteral("Т 0003"), awkwardValues());
        timed.readAt = kMorning.addSecs(2);
        for (const QString &backend : {HistoryStores::sqlite(), HistoryStores::postgres()}) {
            auto row = [&backend](const char *name) -> QTestData & {
                return QTest::newRow(qPrintable(backend + QStringLiteral(": ") + QLatin1String(name)))
                       << backend;
            };
            row("NaN, infinities, subnormals, signed zeros") << QVector<MemoryBlock>{timed} << 1;
            row("the instrument's largest block")
                << QVector<MemoryBlock>{makeBlock(QStringLiteral("Lot A 0002"), noisyValues(65535, 7))} << 1;
            // The instrument listed five; the fifth never came.
            row("failed requests: no name, no size, no values, cut")
                << QVector<MemoryBlock>{makeBlock(QString(), {1.5f}, BlockFault::Name),
                                        makeBlock(QStringLiteral("Без размера 0002"), {}, BlockFault::Size),
                                        makeBlock(QStringLiteral("Без данных 0003"), {}, BlockFault::Data),
                                        makeBlock(QStringLiteral("Обрыв 0004"), {4.5f, 4.75f},
                                                  BlockFault::Cut)}
                << 5;
            row("names with quotes, separators and letters of both alphabets")
                << QVector<MemoryBlock>{makeBlock(QStringLiteral("O'Brien; \"Ёлка\", 50% _ 0001"), {2.0f}),
                                        makeBlock(QStringLiteral("Ωmega ǅ 0002"), {3.0f})}
                << 2;
            row("no blocks: the count request failed") << QVector<MemoryBlock>{} << -1;
        }
    }

    void valuesComeBackExactly()
    {
        QFETCH(QString, backend);
        QFETCH(QVector<MemoryBlock>, blocks);
        QFETCH(int, blockCount);
        QString where;
        ReadRecord read = makeRead(kMorning, blocks);
        read.blockCount = blockCount;
        {
            auto store = stores.fresh(backend, &where);
            QVERIFY2(store->open(), qPrintable(store->lastError().text));
            QVERIFY2(HistoryWriter(*store).storeRead(read), qPrintable(store->lastError().text));
        }

        // Through a connection of its own, as after a restart.
        auto store = stores.again(backend, where);
        QVERIFY2(store->open(), qPrintable(store->lastError().text));
        const QVector<StoredRead> listed = listAll(*store);
        QCOMPARE(listed.size(), 1);
        qint64 values = 0;
        for (const MemoryBlock &block : blocks)
            values += block.values.size();
        QCOMPARE(listed.at(0).valueCount, values);
        QCOMPARE(listed.at(0).storedBlocks, blocks.size());
        QCOMPARE(listed.at(0).blockCount, blockCount);
        QCOMPARE(listed.at(0).startedAt, kMorning);

        ReadRecord back;
        QVERIFY2(HistoryReader(*store).loadRead(listed.at(0).id, &back), qPrintable(store->lastError().text));
        compareReads(back, read);
        QVector<StoredBlock> summary;
        QVERIFY(HistoryReader(*store).blocksOf(listed.at(0).id, &summary));
        QCOMPARE(summary.size(), blocks.size());
        for (int i = 0; i < blocks.size(); ++i) {
            QCOMPARE(summary.at(i).position, i);
            QCOMPARE(summary.at(i).name, blocks.at(i).name);
            QCOMPARE(summary.at(i).valueCount, blocks.at(i).values.size());
            QCOMPARE(summary.at(i).fault, blocks.at(i).fault);
        }
        QCOMPARE(inconsistency(*store), QString());
    }

    // Reading unchanged memory again keeps each block once; the reads share it.
    void unchangedMemoryIsStoredOnce_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<QVector<MemoryBlock>>("second");
        QTest::addColumn<int>("newBlocks");
        const QVector<MemoryBlock> first = memory();
        for (const QString &backend : {HistoryStores::sqlite(), HistoryStores::postgres()}) {
            auto row = [&backend](const char *name) -> QTestData & {
                return QTest::newRow(qPrintable(backend + QStringLiteral(": ") + QLatin1String(name)))
                       << backend;
            };
            row("the same memory") << first << 0;
            QVector<MemoryBlock> oneMore = first;
            oneMore.append(makeBlock(QStringLiteral("Новый 0004"), {7.0f}));
            row("one block added") << oneMore << 1;
            QVector<MemoryBlock> renamed = first;
            renamed[1].name = QStringLiteral("Lot B 0002");
            row("same values under another name") << renamed << 1;
            QVector<MemoryBlock> zero = first;
            zero[2].values[0] = -zero[2].values[0]; // 0.0 becomes -0.0: equal numbers, other bits
            row("one value's sign bit changed") << zero << 1;
            QVector<MemoryBlock> payload = first;
            payload[0].values[1] = floatFromBits(0x7fc00001);
            row("another NaN") << payload << 1;
            QVector<MemoryBlock> twice = first;
            twice.append(first.at(1));
            row("a block listed twice in one read") << twice << 0;
        }
    }

    void unchangedMemoryIsStoredOnce()
    {
        QFETCH(QString, backend);
        QFETCH(QVector<MemoryBlock>, second);
        QFETCH(int, newBlocks);
        auto store = stores.fresh(backend);
        QVERIFY2(store->open(), qPrintable(store->lastError().text));
        const ReadRecord firstRead = makeRead(kMorning, memory());
        const ReadRecord secondRead = makeRead(kMorning.addSecs(600), second);
        HistoryWriter writer(*store);
        QVERIFY(writer.storeRead(firstRead));
        QVERIFY(writer.storeRead(secondRead));

        QCOMPARE(countRows(*store, QStringLiteral("blocks")), qint64(memory().size() + newBlocks));
        QCOMPARE(countRows(*store, QStringLiteral("reads")), qint64(2));
        const QVector<StoredRead> listed = listAll(*store);
        QCOMPARE(listed.size(), 2);
        ReadRecord back;
        QVERIFY(HistoryReader(*store).loadRead(listed.at(0).id, &back));
        compareReads(back, secondRead);
        QVERIFY(HistoryReader(*store).loadRead(listed.at(1).id, &back));
        compareReads(back, firstRead);
        QCOMPARE(inconsistency(*store), QString());
    }

    // Blocks are found by a key of their name and values; a block whose key
    // and name match but whose values differ is another block.
    void sameKeyOtherValues_data() { backendRows(); }
    void sameKeyOtherValues()
    {
        QFETCH(QString, backend);
        auto store = stores.fresh(backend);
        QVERIFY(store->open());
        const MemoryBlock block = makeBlock(QStringLiteral("Т 0001"), {4.81f, 4.79f});
        // A stored block that shares the key, as a collision of the key would.
        QSqlQuery insert = store->query();
        QVERIFY(insert.prepare(
            QStringLiteral("INSERT INTO blocks (block_key, name, name_key, value_count, value_data) "
                           "VALUES (?, ?, ?, 2, ?)")));
        insert.addBindValue(blockKey(block.name, valuesToBytes(block.values)));
        insert.addBindValue(block.name);
        insert.addBindValue(blockNameKey(block.name));
        insert.addBindValue(valuesToBytes({4.81f, 4.8f}));
        QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
        insert.finish();

        QVERIFY(HistoryWriter(*store).storeRead(makeRead(kMorning, {block})));
        QCOMPARE(countRows(*store, QStringLiteral("blocks")), qint64(2));
        ReadRecord back;
        QVERIFY(HistoryReader(*store).loadRead(listAll(*store).at(0).id, &back));
        QVERIFY(sameBits(back.blocks.at(0).values, block.values));
    }

    // A read is kept once, however often it is sent.
    void aReadIsKeptOnce_data() { backendRows(); }
    void aReadIsKeptOnce()
    {
        QFETCH(QString, backend);
        auto store = stores.fresh(backend);
        QVERIFY(store->open());
        ReadRecord read = makeRead(kMorning, memory());
        read.uid = QStringLiteral("2f1c7a40-5a8e-4e53-9a57-3d1e0c6f7b21");
        QVERIFY(HistoryWriter(*store).storeRead(read));
        QVERIFY(HistoryWriter(*store).storeRead(read));
        QCOMPARE(countRows(*store, QStringLiteral("reads")), qint64(1));
        QCOMPARE(listAll(*store).at(0).uid, read.uid);
    }

    // How a read ended is kept with it, whatever it holds.
    void outcomes_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<ReadOutcome>("outcome");
        QTest::addColumn<int>("listed");
        QTest::addColumn<int>("arrived");
        for (const QString &backend : {HistoryStores::sqlite(), HistoryStores::postgres()}) {
            QTest::newRow(qPrintable(backend + QStringLiteral(": complete")))
                << backend << ReadOutcome::Complete << 3 << 3;
            QTest::newRow(qPrintable(backend + QStringLiteral(": cancelled after two blocks")))
                << backend << ReadOutcome::Cancelled << 3 << 2;
            QTest::newRow(qPrintable(backend + QStringLiteral(": cancelled before the first block")))
                << backend << ReadOutcome::Cancelled << 3 << 0;
            QTest::newRow(qPrintable(backend + QStringLiteral(": cut by the instrument's loss")))
                << backend << ReadOutcome::InstrumentLost << 3 << 1;
        }
    }

    void outcomes()
    {
        QFETCH(QString, backend);
        QFETCH(ReadOutcome, outcome);
        QFETCH(int, listed);
        QFETCH(int, arrived);
        auto store = stores.fresh(backend);
        QVERIFY(store->open());
        ReadRecord read = makeRead(kMorning, memory().mid(0, arrived), outcome);
        read.blockCount = listed;
        if (outcome == ReadOutcome::InstrumentLost && arrived > 0)
            read.blocks.last().fault = BlockFault::Cut;
        QVERIFY(HistoryWriter(*store).storeRead(read));
        const QVector<StoredRead> reads = listAll(*store);
        QCOMPARE(reads.size(), 1);
        QCOMPARE(reads.at(0).outcome, outcome);
        QCOMPARE(reads.at(0).blockCount, listed);
        QCOMPARE(reads.at(0).storedBlocks, arrived);
        ReadRecord back;
        QVERIFY(HistoryReader(*store).loadRead(reads.at(0).id, &back));
        compareReads(back, read);
    }

    // Newest first, page after page, filtered by block name and by time.
    void listing_data() { backendRows(); }
    void listing()
    {
        QFETCH(QString, backend);
        auto store = stores.fresh(backend);
        QVERIFY(store->open());
        HistoryWriter writer(*store);
        // Seven reads, two of them started in the same millisecond.
        const QVector<QPair<int, QString>> reads = {
            {0, QStringLiteral("Т 0001")},     {60, QStringLiteral("Lot A 0002")},
            {120, QStringLiteral("т 0003")},   {120, QStringLiteral("Ёж 50% 0004")},
            {3600, QStringLiteral("ЁЖ_0005")}, {7200, QStringLiteral("Lot a 0006")},
            {86400, QStringLiteral("Т 0007")}};
        for (int i = 0; i < reads.size(); ++i) {
            ReadRecord read =
                makeRead(kMorning.addSecs(reads.at(i).first), {makeBlock(reads.at(i).second, {float(i)})},
                         ReadOutcome::Complete, QStringLiteral("port %1").arg(i));
            QVERIFY(writer.storeRead(read));
        }

        const QStringList newestFirst = {QStringLiteral("port 6"), QStringLiteral("port 5"),
                                         QStringLiteral("port 4"), QStringLiteral("port 3"),
                                         QStringLiteral("port 2"), QStringLiteral("port 1"),
                                         QStringLiteral("port 0")};
        QCOMPARE(portsOf(listAll(*store)), newestFirst);

        // Pages of two, each after the last read of the one before.
        QStringList paged;
        QVector<StoredRead> page;
        HistoryReader reader(*store);
        QVERIFY(reader.listReads(ReadFilter(), nullptr, 2, &page));
        while (!page.isEmpty()) {
            paged += portsOf(page);
            const StoredRead last = page.last();
            QVERIFY(reader.listReads(ReadFilter(), &last, 2, &page));
        }
        QCOMPARE(paged, newestFirst);

        auto named = [&](const QString &part) {
            ReadFilter filter;
            filter.blockName = part;
            return portsOf(listAll(*store, filter));
        };
        QCOMPARE(named(QStringLiteral("т 000")),
                 (QStringList{QStringLiteral("port 6"), QStringLiteral("port 2"), QStringLiteral("port 0")}));
        QCOMPARE(named(QStringLiteral("LOT A")),
                 (QStringList{QStringLiteral("port 5"), QStringLiteral("port 1")}));
        QCOMPARE(named(QStringLiteral("ёж")),
                 (QStringList{QStringLiteral("port 4"), QStringLiteral("port 3")}));
        // The pattern's own characters stand for themselves.
        QCOMPARE(named(QStringLiteral("50%")), QStringList{QStringLiteral("port 3")});
        QCOMPARE(named(QStringLiteral("ж_")), QStringList{QStringLiteral("port 4")});
        QCOMPARE(named(QStringLiteral("%")), QStringList{QStringLiteral("port 3")});
        QCOMPARE(named(QStringLiteral("нет такого")), QStringList());

        ReadFilter range;
        range.from = kMorning.addSecs(60);
        range.to = kMorning.addSecs(3600); // not included
        QCOMPARE(portsOf(listAll(*store, range)),
                 (QStringList{QStringLiteral("port 3"), QStringLiteral("port 2"), QStringLiteral("port 1")}));
        range.blockName = QStringLiteral("Т");
        QCOMPARE(portsOf(listAll(*store, range)), (QStringList{QStringLiteral("port 2")}));
    }

    // Deleting a read keeps the blocks other reads share.
    void deleting_data() { backendRows(); }
    void deleting()
    {
        QFETCH(QString, backend);
        auto store = stores.fresh(backend);
        QVERIFY(store->open());
        HistoryWriter writer(*store);
        QVector<MemoryBlock> changed = memory();
        changed[0].values[0] = 1.0f;
        QVERIFY(writer.storeRead(makeRead(kMorning, memory())));
        QVERIFY(writer.storeRead(makeRead(kMorning.addSecs(1), changed)));
        QVERIFY(writer.storeRead(
            makeRead(kMorning.addSecs(2), {makeBlock(QStringLiteral("Один 0001"), {1.0f})})));
        QCOMPARE(countRows(*store, QStringLiteral("blocks")), qint64(memory().size() + 2));

        QVector<StoredRead> reads = listAll(*store);
        QVERIFY(writer.deleteReads({reads.at(1).id, reads.at(0).id}));
        reads = listAll(*store);
        QCOMPARE(reads.size(), 1);
        QCOMPARE(countRows(*store, QStringLiteral("blocks")), qint64(memory().size()));
        ReadRecord back;
        QVERIFY(HistoryReader(*store).loadRead(reads.at(0).id, &back));
        compareReads(back, makeRead(kMorning, memory()));
        QVERIFY(writer.deleteReads({reads.at(0).id}));
        QCOMPARE(countRows(*store, QStringLiteral("blocks")), qint64(0));
        QCOMPARE(countRows(*store, QStringLiteral("read_blocks")), qint64(0));
        QCOMPARE(inconsistency(*store), QString());
    }

    // A store of the first schema, written as the first program version did,
    // is brought forward on opening and everything in it can be used.
    void migrationFromSchema1_data() { backendRows(); }
    void migrationFromSchema1()
    {
        QFETCH(QString, backend);
        QString where;
        auto old = stores.fresh(backend, &where);
        QVERIFY2(old->open(1), qPrintable(old->lastError().text));
        QCOMPARE(old->storedSchemaVersion(), 1);
        const QVector<float> values = awkwardValues();
        const QByteArray bytes = valuesToBytes(values);
        const QStringList rows = {
            QStringLiteral("INSERT INTO reads (id, started_at, port, block_count, outcome) VALUES "
                           "(1, %1, 'COM3', 2, 0), (2, %2, 'COM4', 3, 2)")
                .arg(kMorning.toMSecsSinceEpoch())
                .arg(kMorning.addDays(1).toMSecsSinceEpoch()),
            QStringLiteral(
                "INSERT INTO read_blocks (read_id, position, block_id, expected_size, fault, read_at) VALUES "
                "(1, 0, 1, %1, 0, NULL), (1, 1, 2, 2, 0, NULL), (2, 0, 1, %1, 0, %2)")
                .arg(values.size())
                .arg(kMorning.addDays(1).toMSecsSinceEpoch()),
        };
        QSqlQuery insert = old->query();
        QVERIFY(
            insert.prepare(QStringLiteral("INSERT INTO blocks (id, block_key, name, value_count, value_data) "
                                          "VALUES (?, ?, ?, ?, ?)")));
        const QList<QPair<QString, QVector<float>>> blocks = {{QStringLiteral("ТОЛЩИНА 0001"), values},
                                                              {QStringLiteral("Lot 0002"), {1.0f, 2.0f}}};
        for (int i = 0; i < blocks.size(); ++i) {
            const QByteArray data = valuesToBytes(blocks.at(i).second);
            insert.bindValue(0, i + 1);
            insert.bindValue(1, blockKey(blocks.at(i).first, data));
            insert.bindValue(2, blocks.at(i).first);
            insert.bindValue(3, blocks.at(i).second.size());
            insert.bindValue(4, data);
            QVERIFY2(insert.exec(), qPrintable(insert.lastError().text()));
        }
        insert.finish();
        for (const QString &sql : rows)
            QVERIFY2(old->exec(sql), qPrintable(old->lastError().text));
        if (backend == HistoryStores::postgres()) {
            // Rows given their keys by hand leave the key sequences behind.
            QVERIFY(old->exec(QStringLiteral("SELECT setval('reads_id_seq', 2)")));
            QVERIFY(old->exec(QStringLiteral("SELECT setval('blocks_id_seq', 2)")));
        }
        old.reset();

        auto store = stores.again(backend, where);
        QVERIFY2(store->open(), qPrintable(store->lastError().text));
        QCOMPARE(store->storedSchemaVersion(), kLatestSchemaVersion);
        const QVector<StoredRead> reads = listAll(*store);
        QCOMPARE(reads.size(), 2);
        QCOMPARE(reads.at(0).portName, QStringLiteral("COM4"));
        QCOMPARE(reads.at(0).outcome, ReadOutcome::InstrumentLost);
        QCOMPARE(reads.at(0).storedBlocks, 1);
        QCOMPARE(reads.at(0).valueCount, qint64(values.size()));
        QCOMPARE(reads.at(1).storedBlocks, 2);
        QCOMPARE(reads.at(1).valueCount, qint64(values.size() + 2));
        QVERIFY(!reads.at(0).uid.isEmpty());
        QVERIFY(reads.at(0).uid != reads.at(1).uid);
        ReadFilter filter;
        filter.blockName = QStringLiteral("толщина");
        QCOMPARE(listAll(*store, filter).size(), 2);

        ReadRecord back;
        QVERIFY(HistoryReader(*store).loadRead(reads.at(0).id, &back));
        QCOMPARE(back.blocks.size(), 1);
        QVERIFY(sameBits(back.blocks.at(0).values, values));
        QCOMPARE(back.blocks.at(0).readAt, kMorning.addDays(1));
        // New reads go on from there, sharing the old blocks.
        QVERIFY2(HistoryWriter(*store).storeRead(
                     makeRead(kMorning.addDays(2), {makeBlock(QStringLiteral("ТОЛЩИНА 0001"), values)})),
                 qPrintable(store->lastError().text));
        QCOMPARE(countRows(*store, QStringLiteral("blocks")), qint64(2));
        QCOMPARE(inconsistency(*store), QString());
    }

    // A store written by a newer program is left alone.
    void newerSchemaIsRefused_data() { backendRows(); }
    void newerSchemaIsRefused()
    {
        QFETCH(QString, backend);
        QString where;
        auto store = stores.fresh(backend, &where);
        QVERIFY(store->open());
        QVERIFY(HistoryWriter(*store).storeRead(makeRead(kMorning, memory())));
        QVERIFY(store->exec(
            QStringLiteral("UPDATE schema_version SET version = %1").arg(kLatestSchemaVersion + 1)));
        store.reset();
        auto later = stores.again(backend, where);
        QVERIFY(!later->open());
        QCOMPARE(later->lastError().failure, HistoryFailure::Newer);
        QVERIFY(!later->isOpen());
    }

    // Reads that wait for the server are found, oldest first.
    void pendingReads_data() { backendRows(); }
    void pendingReads()
    {
        QFETCH(QString, backend);
        auto store = stores.fresh(backend);
        QVERIFY(store->open());
        HistoryWriter writer(*store);
        QVERIFY(writer.storeRead(makeRead(kMorning.addSecs(10), memory()), true));
        QVERIFY(writer.storeRead(makeRead(kMorning.addSecs(20), memory()), false));
        QVERIFY(writer.storeRead(makeRead(kMorning, memory()), true));
        QVector<qint64> pending;
        QVERIFY(HistoryReader(*store).pendingReads(&pending));
        QCOMPARE(pending.size(), 2);
        ReadRecord oldest;
        QVERIFY(HistoryReader(*store).loadRead(pending.at(0), &oldest));
        QCOMPARE(oldest.startedAt, kMorning);
    }

private:
    static void backendRows()
    {
        QTest::addColumn<QString>("backend");
        HistoryStores::addBackendRows();
    }

    static QVector<MemoryBlock> memory()
    {
        return {makeBlock(QStringLiteral("Т 0001"), awkwardValues()),
                makeBlock(QStringLiteral("Lot A 0002"), {142.5f, 99.96f, 100.0f}),
                makeBlock(QStringLiteral("Ноль 0003"), {0.0f, 4.81f})};
    }

    HistoryStores stores;
};

QTEST_GUILESS_MAIN(HistoryStoreTest)
#include "tst_historystore.moc"
