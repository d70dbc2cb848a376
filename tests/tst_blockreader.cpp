// The read of every block over a port, without a window: what each block
// holds, its progress, cancel, the faults of each request, and how the read
// ends when the instrument is lost or gives no count.

#include "blocksets.h"
#include "device/blockreader.h"
#include "logcapture.h"
#include "simulatedlink.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTest>

namespace {

// The blocks as the reader reports them, one by one.
struct Progress
{
    QVector<int> counts;
    QVector<QPair<int, int>> done;
    QVector<MemoryBlock> blocks;

    explicit Progress(BlockReader &reader)
    {
        QObject::connect(&reader, &BlockReader::countReceived, &reader,
                         [this](int count) { counts.append(count); });
        QObject::connect(&reader, &BlockReader::blockRead, &reader,
                         [this](int k, int n, const MemoryBlock &block) {
                             done.append({k, n});
                             blocks.append(block);
                         });
    }
};

constexpr int kLongBlockValues = 20000;
constexpr int kTimeoutPerValueMs = 10;
constexpr int kUnplugIntoAnswerMs = 300;
constexpr int kNone = int(BlockFault::None);
constexpr int kName = int(BlockFault::Name);
constexpr int kSize = int(BlockFault::Size);
constexpr int kData = int(BlockFault::Data);
constexpr int kCut = int(BlockFault::Cut);

} // namespace

Q_DECLARE_METATYPE(InstrumentBehaviour)

class TestBlockReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // What a failed request met is kept apart: no answer, the error answer,
    // or a port already lost; blocks read whole meet nothing.
    void failedRequestsSayWhatTheyMet_data()
    {
        QTest::addColumn<InstrumentBehaviour>("behaviour");
        QTest::addColumn<QVector<int>>("misses"); // BlockMiss of each block
        constexpr int none = int(BlockMiss::None);
        InstrumentBehaviour silent;
        silent.silence.enabled = true;
        silent.silence.commands = {0x07};
        const int noAnswer = int(BlockMiss::NoAnswer);
        QTest::newRow("silent") << silent << QVector<int>{noAnswer, noAnswer, noAnswer, noAnswer};
        InstrumentBehaviour error;
        error.errorAnswer.enabled = true;
        error.errorAnswer.commands = {0x09};
        error.errorIndex = 3;
        QTest::newRow("error answer") << error << QVector<int>{none, none, none, int(BlockMiss::ErrorAnswer)};
        InstrumentBehaviour unplug;
        unplug.unplugAfterRequests = 4;
        const int lost = int(BlockMiss::InstrumentLost);
        QTest::newRow("unplugged") << unplug << QVector<int>{none, lost, lost, lost};
    }
    void failedRequestsSayWhatTheyMet()
    {
        QFETCH(InstrumentBehaviour, behaviour);
        QFETCH(QVector<int>, misses);
        SimulatedLink link(fourBlocks());
        QVERIFY(link.connect());
        BlockReader reader(*link.port);
        link.simulator.setBehaviour(behaviour);
        reader.read();
        QVector<int> met;
        for (const MemoryBlock &block : reader.blocks()) {
            met.append(int(block.miss));
            QCOMPARE(block.fault == BlockFault::None, block.miss == BlockMiss::None);
        }
        QCOMPARE(met, misses);
    }

    void readsEveryBlockWithWhatItHolds()
    {
        SimulatedLink link(fourBlocks());
        QVERIFY(link.connect());
        BlockReader reader(*link.port);
        Progress progress(reader);
        link.simulator.clearRecords();
        const QDateTime before = QDateTime::currentDateTimeUtc();

        QCOMPARE(reader.read(), BlockReader::Outcome::Complete);

        const QDateTime after = QDateTime::currentDateTimeUtc();
        QCOMPARE(link.simulator.requests(),
                 (QVector<quint32>{0x00060000, 0x00070000, 0x00080000, 0x00090000, 0x00070001, 0x00080001,
                                   0x00090001, 0x00070002, 0x00080002, 0x00070003, 0x00080003, 0x00090003}));
        QCOMPARE(reader.blockCount(), 4);
        QCOMPARE(reader.blocksRead(), 4);
        QCOMPARE(progress.counts, QVector<int>{4});
        QCOMPARE(progress.done, (QVector<QPair<int, int>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));
        const QVector<MemoryBlock> &blocks = reader.blocks();
        QCOMPARE(blocks.size(), 4);
        QDateTime previous = before;
        for (int i = 0; i < 4; ++i) {
            const SimulatedBlock expected = fourBlocks().at(i);
            QCOMPARE(blocks.at(i).name, shownName(expected));
            QCOMPARE(blocks.at(i).values, expected.values);
            QCOMPARE(blocks.at(i).expectedSize, expected.values.size());
            QCOMPARE(blocks.at(i).fault, BlockFault::None);
            QCOMPARE(blocks.at(i).readAt.timeSpec(), Qt::UTC);
            QVERIFY(blocks.at(i).readAt >= previous && blocks.at(i).readAt <= after);
            previous = blocks.at(i).readAt;
            QCOMPARE(progress.blocks.at(i).values, expected.values);
        }
        QVERIFY(!reader.isRunning());
    }

    // Which request of a block failed: each fault marks its block, and the
    // read goes on with the next one.
    void faultOfEachRequest_data()
    {
        QTest::addColumn<InstrumentBehaviour>("behaviour");
        QTest::addColumn<QList<int>>("faults");
        QTest::addColumn<QList<int>>("valueCounts");
        auto errorOn = [](int code) {
            InstrumentBehaviour b;
            b.errorAnswer.enabled = true;
            b.errorAnswer.commands = {code};
            b.errorIndex = 1;
            return b;
        };
        auto partialOn = [](int code, int bytes) {
            InstrumentBehaviour b;
            b.partial.enabled = true;
            b.partial.commands = {code};
            b.partialBytes = bytes;
            return b;
        };
        QTest::newRow("name answers the error")
            << errorOn(0x07) << QList<int>{kNone, kName, kNone, kNone} << QList<int>{3, 3, 0, 2};
        QTest::newRow("size answers the error")
            << errorOn(0x08) << QList<int>{kNone, kSize, kNone, kNone} << QList<int>{3, 0, 0, 2};
        QTest::newRow("data answers the error")
            << errorOn(0x09) << QList<int>{kNone, kData, kNone, kNone} << QList<int>{3, 0, 0, 2};
        QTest::newRow("names cut short")
            << partialOn(0x07, 10) << QList<int>{kName, kName, kName, kName} << QList<int>{3, 3, 0, 2};
        QTest::newRow("data cut to one value")
            << partialOn(0x09, 4) << QList<int>{kCut, kCut, kNone, kCut} << QList<int>{1, 1, 0, 1};
        QTest::newRow("data cut inside a value")
            << partialOn(0x09, 6) << QList<int>{kData, kData, kNone, kData} << QList<int>{0, 0, 0, 0};
        InstrumentBehaviour silentData;
        silentData.silence.enabled = true;
        silentData.silence.commands = {0x09};
        QTest::newRow("data never answered")
            << silentData << QList<int>{kData, kData, kNone, kData} << QList<int>{0, 0, 0, 0};
    }
    void faultOfEachRequest()
    {
        QFETCH(InstrumentBehaviour, behaviour);
        QFETCH(QList<int>, faults);
        QFETCH(QList<int>, valueCounts);
        SimulatedLink link(fourBlocks());
        QVERIFY(link.connect());
        link.simulator.setBehaviour(behaviour);
        BlockReader reader(*link.port);

        QCOMPARE(reader.read(), BlockReader::Outcome::Complete);

        QCOMPARE(reader.blocks().size(), 4);
        for (int i = 0; i < 4; ++i) {
            const MemoryBlock &block = reader.blocks().at(i);
            QCOMPARE(int(block.fault), faults.at(i));
            QCOMPARE(block.values.size(), valueCounts.at(i));
            QCOMPARE(block.values, fourBlocks().at(i).values.mid(0, valueCounts.at(i)));
            const bool sizeKnown = block.fault != BlockFault::Size;
            QCOMPARE(block.expectedSize, sizeKnown ? fourBlocks().at(i).values.size() : -1);
        }
    }

    // One block read again after the read: its three requests only, no
    // count, no progress signal, and the new read in the old one's place.
    void readOneBlockAgain()
    {
        InstrumentBehaviour onceSilent;
        onceSilent.silence.enabled = true;
        onceSilent.silence.commands = {0x09};
        onceSilent.silenceIndex = 1;
        onceSilent.silenceTimes = 1;
        SimulatedLink link(fourBlocks());
        QVERIFY(link.connect());
        link.simulator.setBehaviour(onceSilent);
        BlockReader reader(*link.port);
        QCOMPARE(reader.read(), BlockReader::Outcome::Complete);
        QCOMPARE(reader.blocks().at(1).fault, BlockFault::Data);
        QCOMPARE(reader.blocks().at(1).miss, BlockMiss::NoAnswer);
        const QDateTime firstRead = reader.blocks().at(1).readAt;
        Progress progress(reader);
        link.simulator.clearRecords();

        QVERIFY(reader.readBlockAgain(1));

        QCOMPARE(link.simulator.requests(), (QVector<quint32>{0x00070001, 0x00080001, 0x00090001}));
        QVERIFY(progress.counts.isEmpty());
        QVERIFY(progress.done.isEmpty());
        QCOMPARE(reader.blocks().size(), 4);
        const MemoryBlock &again = reader.blocks().at(1);
        QCOMPARE(again.fault, BlockFault::None);
        QCOMPARE(again.miss, BlockMiss::None);
        QCOMPARE(again.name, shownName(fourBlocks().at(1)));
        QCOMPARE(again.values, fourBlocks().at(1).values);
        QVERIFY(again.readAt >= firstRead);
        QCOMPARE(reader.blocks().at(0).values, fourBlocks().at(0).values);
        QCOMPARE(reader.blockCount(), 4);
        QCOMPARE(reader.blocksRead(), 4);
        QVERIFY(!reader.isRunning());

        // Still silent: the block keeps its fault; no such block: nothing asked.
        onceSilent.silenceTimes = -1;
        link.simulator.setBehaviour(onceSilent);
        QVERIFY(reader.readBlockAgain(1));
        QCOMPARE(reader.blocks().at(1).fault, BlockFault::Data);
        QCOMPARE(reader.blocks().at(1).miss, BlockMiss::NoAnswer);
        link.simulator.clearRecords();
        QVERIFY(!reader.readBlockAgain(4));
        QVERIFY(!reader.readBlockAgain(-1));
        QVERIFY(link.simulator.requests().isEmpty());
    }

    // Cancelled during one exchange of the third block: that exchange ends,
    // no further request goes out, and the first two blocks stay as read.
    void cancelAfterTheCurrentExchange_data()
    {
        QTest::addColumn<quint32>("cancelAt");
        QTest::addColumn<int>("blocksKept");
        QTest::newRow("count") << quint32(0x00060000) << 0;
        QTest::newRow("name of block 2") << quint32(0x00070002) << 2;
        QTest::newRow("size of block 2") << quint32(0x00080002) << 2;
        QTest::newRow("data of block 1") << quint32(0x00090001) << 2;
    }
    void cancelAfterTheCurrentExchange()
    {
        QFETCH(quint32, cancelAt);
        QFETCH(int, blocksKept);
        SimulatedLink link(fourBlocks());
        QVERIFY(link.connect());
        BlockReader reader(*link.port);
        Progress progress(reader);
        connect(&link.simulator, &InstrumentSimulator::requestReceived, &reader, [&](quint32 word) {
            if (word == cancelAt)
                reader.cancel();
        });
        link.simulator.clearRecords();

        QCOMPARE(reader.read(), BlockReader::Outcome::Cancelled);
        disconnect(&link.simulator, &InstrumentSimulator::requestReceived, &reader, nullptr);

        QCOMPARE(link.simulator.requests().last(), cancelAt);
        QCOMPARE(reader.blockCount(), 4);
        QCOMPARE(reader.blocksRead(), blocksKept);
        QCOMPARE(reader.blocks().size(), blocksKept);
        QCOMPARE(progress.blocks.size(), blocksKept);
        for (int i = 0; i < blocksKept; ++i) {
            QCOMPARE(reader.blocks().at(i).name, shownName(fourBlocks().at(i)));
            QCOMPARE(reader.blocks().at(i).values, fourBlocks().at(i).values);
        }

        // The next read starts afresh and is not cancelled by the last one.
        QCOMPARE(reader.read(), BlockReader::Outcome::Complete);
        QCOMPARE(reader.blocks().size(), 4);
    }

    // Unplugged part-way through a 20 000-value block: the read ends soon
    // after the loss (not after the 200 s the answer could take), each later
    // block fails at once, and the instrument plugged back in is found.
    void instrumentLostMidData()
    {
        InstrumentBehaviour paced;
        paced.bytesPerSecond = kWireBytesPerSecond;
        const QVector<SimulatedBlock> blocks = {
            {QStringLiteral("Т 0001"), {1.0f, 2.0f}},
            {QStringLiteral("Длинный 0002"), QVector<float>(kLongBlockValues, 3.0f)},
            {QStringLiteral("Вал 0003"), {4.0f}}};
        SimulatedLink link(blocks, paced);
        QVERIFY(link.connect());
        BlockReader reader(*link.port);
        QElapsedTimer sinceUnplug;
        connect(&link.simulator, &InstrumentSimulator::requestReceived, &link.simulator, [&](quint32 word) {
            if (word == 0x00090001)
                QTimer::singleShot(kUnplugIntoAnswerMs, &link.simulator, [&] {
                    link.simulator.unplug();
                    sinceUnplug.start();
                });
        });
        QSignalSpy found(link.port.get(), &Port::validPortFound);
        LogCapture log;

        QCOMPARE(reader.read(), BlockReader::Outcome::InstrumentLost);

        QVERIFY(sinceUnplug.isValid());
        QVERIFY2(sinceUnplug.elapsed() < kTimeoutPerValueMs * kLongBlockValues / 4,
                 qPrintable(QString::number(sinceUnplug.elapsed())));
        QCOMPARE(reader.blockCount(), 3);
        QCOMPARE(reader.blocksRead(), 1);
        QCOMPARE(reader.blocks().size(), 3);
        QCOMPARE(reader.blocks().at(0).values, blocks.at(0).values);
        QCOMPARE(reader.blocks().at(0).fault, BlockFault::None);
        const MemoryBlock &cut = reader.blocks().at(1);
        QVERIFY(cut.fault == BlockFault::Cut || cut.fault == BlockFault::Data);
        QCOMPARE(cut.expectedSize, kLongBlockValues);
        QCOMPARE(cut.values, blocks.at(1).values.mid(0, cut.values.size()));
        QCOMPARE(reader.blocks().at(2).fault, BlockFault::Name);
        QVERIFY(reader.blocks().at(2).values.isEmpty());
        // Block 2's name and size fail at once; its data is not asked for.
        QCOMPARE(log.count(QStringLiteral("Serial port is not open.")), 2);

        QTRY_VERIFY_WITH_TIMEOUT(log.indexStartingWith(QStringLiteral("Serial port removed:")) >= 0,
                                 testMs(2000));
        QVERIFY(link.simulator.plugIn());
        QVERIFY(found.wait(testMs(3000)));
    }

    void noCount_data()
    {
        QTest::addColumn<InstrumentBehaviour>("behaviour");
        QTest::addColumn<BlockReader::Outcome>("outcome");
        InstrumentBehaviour silent;
        silent.silence.enabled = true;
        QTest::newRow("count not answered") << silent << BlockReader::Outcome::CountFailed;
        InstrumentBehaviour error;
        error.errorAnswer.enabled = true;
        QTest::newRow("count answers the error") << error << BlockReader::Outcome::CountFailed;
        InstrumentBehaviour unplugging;
        unplugging.unplugAfterRequests = 0;
        QTest::newRow("unplugged at the count") << unplugging << BlockReader::Outcome::InstrumentLost;
    }
    void noCount()
    {
        QFETCH(InstrumentBehaviour, behaviour);
        QFETCH(BlockReader::Outcome, outcome);
        SimulatedLink link(fourBlocks());
        QVERIFY(link.connect());
        link.simulator.setBehaviour(behaviour);
        BlockReader reader(*link.port);
        Progress progress(reader);

        QCOMPARE(reader.read(), outcome);

        QCOMPARE(reader.blockCount(), -1);
        QCOMPARE(reader.blocksRead(), 0);
        QVERIFY(reader.blocks().isEmpty());
        QVERIFY(progress.counts.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBlockReader)
#include "tst_blockreader.moc"
