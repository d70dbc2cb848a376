// How an exchange ends when the answer is not the one asked for: the port is
// lost during a long wait, the error answer comes instead of the values, an
// answer times out part-way and its rest arrives late.

#include "device/wireformat.h"
#include "instrumentnamecode.h"
#include "logcapture.h"
#include "simulatedlink.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTest>
#include <cstring>

namespace {

constexpr int kLongBlockValues = 20000;
constexpr int kTimeoutPerValueMs = 10;
// Unplugged this long into the answer of the long block.
constexpr int kUnplugIntoAnswerMs = 300;

QVector<SimulatedBlock> testBlocks()
{
    return {
        {QStringLiteral("Т 0001"), {1.0f, -2.5f, 1001.0f}},
        {QStringLiteral("Пустой 0002"), {}},
        {QStringLiteral("Lot A 0003"), {4.5f}},
        {QStringLiteral("Вал 0004"), {0.25f, 0.5f}},
    };
}

float errorAnswerLookalike()
{
    float value;
    const quint32 bits = 0x00FF0010; // 10 00 FF 00 on the wire
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

InstrumentBehaviour paced()
{
    InstrumentBehaviour behaviour;
    behaviour.bytesPerSecond = kWireBytesPerSecond;
    return behaviour;
}

} // namespace

Q_DECLARE_METATYPE(InstrumentBehaviour)

class TestExchangeEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Unplugged part-way through the answer of a 20 000-value block (200 s of
    // timeout): the wait ends with the loss, and the instrument plugged back
    // in is found again.
    void lossEndsALongWaitAndTheInstrumentIsFoundAgain()
    {
        const QVector<float> values(kLongBlockValues, 2.5f);
        SimulatedLink link({{QStringLiteral("Длинный 0001"), values}}, paced());
        QVERIFY(link.connect());
        QElapsedTimer sinceUnplug;
        connect(&link.simulator, &InstrumentSimulator::requestReceived, &link.simulator, [&](quint32 word) {
            if (word == 0x00090000)
                QTimer::singleShot(kUnplugIntoAnswerMs, &link.simulator, [&] {
                    link.simulator.unplug();
                    sinceUnplug.start();
                });
        });
        QSignalSpy found(link.port.get(), &Port::validPortFound);
        LogCapture log;

        const BlockValues block = link.port->getBlockDataValues(0, link.port->getBlockDataSize(0));

        QVERIFY(sinceUnplug.isValid());
        // Far from the 200 s the answer could have taken.
        QVERIFY2(sinceUnplug.elapsed() < kTimeoutPerValueMs * kLongBlockValues / 4,
                 qPrintable(QString::number(sinceUnplug.elapsed())));
        QCOMPARE(log.count(QStringLiteral("recieved TIMEOUT")), 1);
        QVERIFY(log.indexStartingWith(QStringLiteral("QSerialPort::"))
                < log.indexOf(QStringLiteral("recieved TIMEOUT")));
        // What had arrived is kept, as far as it makes whole values.
        QVERIFY(block.values.size() < kLongBlockValues);
        QVERIFY(block.fault == BlockFault::Cut || block.fault == BlockFault::Data);
        QCOMPARE(block.values, values.mid(0, block.values.size()));
        QVERIFY(!link.port->isInstrumentConnected());

        QTRY_VERIFY_WITH_TIMEOUT(log.indexStartingWith(QStringLiteral("Serial port removed:")) >= 0,
                                 testMs(2000));
        link.simulator.setBehaviour(InstrumentBehaviour());
        QVERIFY(link.simulator.plugIn());
        QVERIFY(found.wait(testMs(3000)));
        QCOMPARE(link.port->getBlocksAmount(), 1);
    }

    // The error answer in place of 2000 values (20 s of timeout) ends the
    // wait once the line stays quiet after it.
    void errorAnswerEndsTheDataWait_data()
    {
        QTest::addColumn<InstrumentBehaviour>("behaviour");
        InstrumentBehaviour atOnce;
        atOnce.errorAnswer.enabled = true;
        atOnce.errorAnswer.commands = {0x09};
        QTest::newRow("at once") << atOnce;
        InstrumentBehaviour pieces = atOnce;
        pieces.chunks.enabled = true;
        pieces.chunkSize = 2;
        pieces.chunkGapMs = 5;
        QTest::newRow("in two pieces") << pieces;
        InstrumentBehaviour wire = paced();
        wire.errorAnswer = atOnce.errorAnswer;
        QTest::newRow("at the wire's pace") << wire;
    }
    void errorAnswerEndsTheDataWait()
    {
        QFETCH(InstrumentBehaviour, behaviour);
        const int size = 2000;
        SimulatedLink link({{QStringLiteral("Т 0001"), QVector<float>(size, 1.0f)}});
        QVERIFY(link.connect());
        link.simulator.setBehaviour(behaviour);
        LogCapture log;
        QElapsedTimer clock;
        clock.start();

        const BlockValues block = link.port->getBlockDataValues(0, link.port->getBlockDataSize(0));

        QVERIFY2(clock.elapsed() < kTimeoutPerValueMs * size / 2,
                 qPrintable(QString::number(clock.elapsed())));
        QVERIFY(block.values.isEmpty());
        QCOMPARE(block.fault, BlockFault::Data);
        // Ended by the answer, not by the timer.
        QCOMPARE(log.count(QStringLiteral("recieved TIMEOUT")), 0);
        QCOMPARE(log.lines().mid(log.lines().size() - 4),
                 (QStringList{"recieved VALID", debugLine("data size: ", 4),
                              debugLine("data: ", QByteArray::fromHex("1000ff00"), "\n-----------------"),
                              "response error"}));
        QVERIFY(link.port->isInstrumentConnected());
        QCOMPARE(link.port->getBlockSize(0), size);
    }

    // A first value whose bytes are those of the error answer is only the
    // start of a longer answer when more bytes follow.
    void valueLikeTheErrorAnswerStartsALongerBlock_data()
    {
        QTest::addColumn<InstrumentBehaviour>("behaviour");
        QTest::newRow("at the wire's pace") << paced();
        InstrumentBehaviour pieces;
        pieces.chunks.enabled = true;
        pieces.chunkSize = 4; // the look-alike alone in the first piece
        pieces.chunkGapMs = 5;
        QTest::newRow("in pieces of one value") << pieces;
    }
    void valueLikeTheErrorAnswerStartsALongerBlock()
    {
        QFETCH(InstrumentBehaviour, behaviour);
        const QVector<float> values = {errorAnswerLookalike(), 1.5f, -3.0f};
        SimulatedLink link({{QStringLiteral("X 0001"), values}});
        QVERIFY(link.connect());
        link.simulator.setBehaviour(behaviour);
        LogCapture log;

        const QVector<float> read = link.port->getBlockData(0);

        QCOMPARE(read.size(), values.size());
        QCOMPARE(std::memcmp(read.constData(), values.constData(), sizeof(float) * values.size()), 0);
        QCOMPARE(log.count(QStringLiteral("response error")), 0);
    }

    // An answer that comes in slow pieces times out part-way, and the
    // instrument goes on sending its rest: the rest is discarded before the
    // next request instead of being taken for the next answer.
    void slowSplitAnswersStayInStep_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("chunkSize");
        QTest::addColumn<int>("chunkGapMs");
        // 20 name bytes over 228 ms against 200 ms; 12 data bytes over 40 ms against 30 ms.
        QTest::newRow("name") << 0x07 << 1 << 12;
        QTest::newRow("values") << 0x09 << 4 << 20;
    }
    void slowSplitAnswersStayInStep()
    {
        QFETCH(int, code);
        QFETCH(int, chunkSize);
        QFETCH(int, chunkGapMs);
        SimulatedLink link(testBlocks());
        QVERIFY(link.connect());
        InstrumentBehaviour behaviour;
        behaviour.finishesAnswers = true;
        behaviour.chunks.enabled = true;
        behaviour.chunks.commands = {code};
        behaviour.chunkSize = chunkSize;
        behaviour.chunkGapMs = chunkGapMs;
        link.simulator.setBehaviour(behaviour);
        LogCapture log;

        if (code == 0x07)
            QVERIFY(link.port->getBlockName(0).size() < kNameAnswerSize);
        else
            QVERIFY(link.port->getBlockData(0).size() < testBlocks().at(0).values.size());
        QCOMPARE(log.count(QStringLiteral("recieved TIMEOUT")), 1);

        // Every later answer is its own.
        QCOMPARE(link.port->getBlockSize(0), 3);
        QCOMPARE(link.port->getBlocksAmount(), testBlocks().size());
        QCOMPARE(link.port->getBlockSize(3), 2);
        if (code == 0x07)
            QCOMPARE(link.port->getBlockData(3), testBlocks().at(3).values);
        else
            QCOMPARE(link.port->getBlockName(3), encodeInstrumentName(testBlocks().at(3).name));
        QCOMPARE(log.count(QStringLiteral("recieved TIMEOUT")), 1);
    }
};

QTEST_GUILESS_MAIN(TestExchangeEnd)
#include "tst_exchangeend.moc"
