#include "instrumentnamecode.h"
#include "logcapture.h"
#include "simulatedlink.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>

namespace {

QVector<SimulatedBlock> testBlocks()
{
    return {
        {QStringLiteral("Т 0001"), {1.0f, -2.5f, 1001.0f}},
        {QStringLiteral("Пустой 0002"), {}},
        {QStringLiteral("Lot A 0003"), {4.5f}},
        {QStringLiteral("Вал 0004"), {0.25f, 0.5f}},
        {QStringLiteral("Flange 0005"), {9.75f}},
        {QStringLiteral("Шов 0006"), {7.25f, 8.5f}},
    };
}

QByteArray rawName(int index)
{
    return encodeInstrumentName(testBlocks().at(index).name);
}

// Runs one block command on block 0; true when it gave its failure value.
bool commandFails(Port &port, const QString &command)
{
    if (command == QLatin1String("count"))
        return port.getBlocksAmount() == -1;
    if (command == QLatin1String("name"))
        return port.getBlockName(0).isEmpty();
    if (command == QLatin1String("size"))
        return port.getBlockSize(0) == -1;
    return port.getBlockData(0).isEmpty();
}

const QString kSeparator = QStringLiteral("\n-----------------");

} // namespace

class TestPort : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        qRegisterMetaType<Port::LinkState>();
    }

    // --- exchanges -------------------------------------------------------

    void requestBytesOnTheWire()
    {
        SimulatedLink link(testBlocks());
        QVERIFY(link.connect());
        InstrumentSimulator &instrument = link.simulator;

        instrument.clearRecords();
        link.port->getBlockName(258);
        QCOMPARE(instrument.receivedBytes(), QByteArray::fromHex("02010700"));

        instrument.clearRecords();
        QCOMPARE(link.port->getBlockData(5), testBlocks().at(5).values);
        QCOMPARE(instrument.receivedBytes(), QByteArray::fromHex("05000800"
                                                                 "05000900"));

        instrument.clearRecords();
        QCOMPARE(link.port->getBlocksAmount(), testBlocks().size());
        QCOMPARE(instrument.receivedBytes(), QByteArray::fromHex("00000600"));
    }

    void countIgnoresItsLastTwoBytes()
    {
        InstrumentBehaviour behaviour;
        behaviour.countAnswerTail = QByteArray::fromHex("abcd");
        SimulatedLink link(testBlocks().mid(0, 3), behaviour);
        QVERIFY(link.connect());
        QCOMPARE(link.port->getBlocksAmount(), 3);
    }

    void answerInPieces_data()
    {
        QTest::addColumn<int>("chunkSize");
        QTest::addColumn<int>("surplus");
        QTest::newRow("one byte at a time") << 1 << 0;
        QTest::newRow("two pieces, surplus in the last") << 11 << 2;
        QTest::newRow("one piece with surplus") << 24 << 4;
    }
    void answerInPieces()
    {
        QFETCH(int, chunkSize);
        QFETCH(int, surplus);
        SimulatedLink link(testBlocks());
        QVERIFY(link.connect());
        InstrumentBehaviour behaviour;
        behaviour.chunks.enabled = true;
        behaviour.chunkSize = chunkSize;
        behaviour.surplus.enabled = surplus > 0;
        behaviour.surplusBytes = surplus;
        link.simulator.setBehaviour(behaviour);
        LogCapture log;

        const QByteArray answer = link.port->sendRequest(0x00070000, 20, 200);

        // The bytes that arrive with the completing piece belong to the answer.
        QCOMPARE(answer, rawName(0) + QByteArray(surplus, '\xEE'));
        QCOMPARE(log.count(QStringLiteral("recieved VALID")), 1);
        QCOMPARE(log.count(QStringLiteral("recieved TIMEOUT")), 0);
        // ... but not to the name.
        QCOMPARE(link.port->getBlockName(0), rawName(0));
    }

    void surplusBytesOfACountAnswer()
    {
        InstrumentBehaviour behaviour;
        behaviour.surplus.enabled = true;
        behaviour.surplus.commands = {0x06};
        behaviour.surplusBytes = 4;
        SimulatedLink link(testBlocks(), behaviour);
        QVERIFY(link.connect());
        QCOMPARE(link.port->sendRequest(0x00060000, 4, 200), QByteArray::fromHex("06000000eeeeeeee"));
        QCOMPARE(link.port->getBlocksAmount(), 6);
    }

    void partialAnswerAfterTimeout_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("bytes");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QVector<float>>("values");
        QTest::newRow("name as far as received")
            << 0x07 << 7 << rawName(0).left(7) << testBlocks().at(0).values;
        QTest::newRow("fewer values") << 0x09 << 8 << rawName(0) << QVector<float>{1.0f, -2.5f};
        QTest::newRow("10 data bytes give nothing") << 0x09 << 10 << rawName(0) << QVector<float>{};
        QTest::newRow("no data bytes") << 0x09 << 0 << rawName(0) << QVector<float>{};
    }
    void partialAnswerAfterTimeout()
    {
        QFETCH(int, code);
        QFETCH(int, bytes);
        QFETCH(QByteArray, name);
        QFETCH(QVector<float>, values);
        SimulatedLink link(testBlocks());
        QVERIFY(link.connect());
        InstrumentBehaviour behaviour;
        behaviour.partial.enabled = true;
        behaviour.partial.commands = {code};
        behaviour.partialBytes = bytes;
        link.simulator.setBehaviour(behaviour);
        LogCapture log;

        QCOMPARE(link.port->getBlockName(0), name);
        QCOMPARE(link.port->getBlockData(0), values);
        QCOMPARE(log.count(QStringLiteral("recieved TIMEOUT")), 1);
        QCOMPARE(log.count(debugLine("data size: ", code == 0x09 ? bytes : 12)), 1);
        if (code == 0x09 && bytes > 0)
            QCOMPARE(log.count(debugLine("SIZE", values.size(), "\n")), 1);
    }

    void errorAnswer_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("tail");
        QTest::newRow("count") << "count" << 0x06
                               << QStringList{"blocks amount: ", "response error", "request error"};
        QTest::newRow("name") << "name" << 0x07
                              << QStringList{debugLine("name of block ", 0u, ": "), "response error",
                                             "error"};
        QTest::newRow("size") << "size" << 0x08
                              << QStringList{debugLine("size of block ", 0u, ": "), "response error",
                                             "error" + kSeparator, debugLine("Размер блока - ", -1)};
        QTest::newRow("data") << "data" << 0x09
                              << QStringList{debugLine("data size: ", 4),
                                             debugLine("data: ", QByteArray::fromHex("1000ff00"),
                                                       "\n-----------------"),
                                             "response error"};
    }
    void errorAnswer()
    {
        QFETCH(QString, command);
        QFETCH(int, code);
        QFETCH(QStringList, tail);
        SimulatedLink link(testBlocks());
        QVERIFY(link.connect());
        InstrumentBehaviour behaviour;
        behaviour.errorAnswer.enabled = true;
        behaviour.errorAnswer.commands = {code};
        link.simulator.setBehaviour(behaviour);
        LogCapture log;

        if (command == QLatin1String("size"))
            QVERIFY(link.port->getBlockData(0).isEmpty()); // its size request fails
        else
            QVERIFY(commandFails(*link.port, command));
        QCOMPARE(log.lines().mid(log.lines().size() - tail.size()), tail);
        QVERIFY(link.port->isInstrumentConnected());
    }

    void closedPortFailsAtOnce_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("lines");
        const QString closed = QStringLiteral("Serial port is not open.");
        QTest::newRow("count") << "count" << QStringList{closed, "blocks amount: ", "request error"};
        QTest::newRow("name") << "name"
                              << QStringList{"getBlockName", closed, debugLine("name of block ", 0u, ": "),
                                             "error"};
        QTest::newRow("size") << "size"
                              << QStringList{"getBlockSize", closed, debugLine("size of block ", 0u, ": "),
                                             "error" + kSeparator};
        QTest::newRow("data") << "data"
                              << QStringList{"getBlockData",
                                             "getBlockSize",
                                             closed,
                                             debugLine("size of block ", 0u, ": "),
                                             "error" + kSeparator,
                                             debugLine("Размер блока - ", -1)};
    }
    void closedPortFailsAtOnce()
    {
        QFETCH(QString, command);
        QFETCH(QStringList, lines);
        Port port(noPorts()); // no port has been found: nothing is open
        LogCapture log;
        QVERIFY(commandFails(port, command));
        QCOMPARE(log.lines(), lines);
    }

    void commandLogLines()
    {
        SimulatedLink link(testBlocks());
        QVERIFY(link.connect());
        LogCapture log;

        QCOMPARE(link.port->getBlocksAmount(), 6);
        QCOMPARE(link.port->getBlockName(0), rawName(0));
        QCOMPARE(link.port->getBlockSize(0), 3);
        QCOMPARE(link.port->getBlockData(0), testBlocks().at(0).values);

        const QByteArray data = QByteArray::fromHex("0000803f000020c000407a44");
        const QStringList size = {"getBlockSize", "4", "recieved VALID",
                                  debugLine("size of block ", 0u, ": "), debugLine(3, "\n-----------------")};
        QStringList expected = {"4",
                                "recieved VALID",
                                "blocks amount: ",
                                debugLine("ok ", 6),
                                "getBlockName",
                                "4",
                                "recieved VALID",
                                debugLine("name of block ", 0u, ": "),
                                debugLine("ok ", rawName(0))};
        expected += size;
        expected += "getBlockData";
        expected += size;
        expected += QStringList{debugLine("Размер блока - ", 3),
                                "4",
                                "recieved VALID",
                                debugLine("data size: ", 12),
                                debugLine("data: ", data, "\n-----------------"),
                                debugLine(1.0f),
                                debugLine(-2.5f),
                                debugLine(1001.0f),
                                debugLine("SIZE", 3, "\n")};
        QCOMPARE(log.lines(), expected);
    }

    void emptyBlockSendsNoDataRequest()
    {
        SimulatedLink link(testBlocks());
        QVERIFY(link.connect());
        link.simulator.clearRecords();
        QVERIFY(link.port->getBlockData(1).isEmpty());
        QCOMPARE(link.simulator.requests(), QVector<quint32>{0x00080001});
    }

    void valueThatLooksLikeTheErrorAnswerIsLost()
    {
        float lookalike;
        const quint32 bits = 0x00FF0010;
        std::memcpy(&lookalike, &bits, sizeof lookalike);
        SimulatedLink link({{QStringLiteral("X 0001"), {lookalike}}});
        QVERIFY(link.connect());
        QVERIFY(link.port->getBlockData(0).isEmpty());
    }

    // --- detection -------------------------------------------------------

    void handshakeLogLines()
    {
        LogCapture log;
        SimulatedLink link(testBlocks());
        QVERIFY(link.connect());
        const char *const ass = "ASS: ";
        const QByteArray id = QByteArray::fromHex("2d07fb82");
        QStringList expected = {
            debugLine("New serial port added:", link.simulator.portPath()), "check COM called",
            // opening reports "no error", and the loss handler, armed from the start, takes it
            debugLine(QSerialPort::NoError), "serial opened", debugLine(ass, QByteArray())};
        for (int i = 0; i < 3; ++i)
            expected += QStringList{"4", "recieved VALID", debugLine(ass, id)};
        expected += QStringList{"4", "recieved VALID", "nash slon"};
        QCOMPARE(log.lines(), expected);
        QCOMPARE(link.simulator.requests(), QVector<quint32>(4, 0x00050000));
    }

    void foundOnTheFourthAnswer()
    {
        InstrumentBehaviour behaviour;
        behaviour.rightIdentificationAttempt = 4;
        SimulatedLink link(testBlocks(), behaviour);
        LogCapture log;
        QVERIFY(link.connect());
        QCOMPARE(log.count(debugLine("ASS: ", QByteArray::fromHex("00000000"))), 3);
        QCOMPARE(log.count(QStringLiteral("nash slon")), 1);
        QCOMPARE(link.port->getBlocksAmount(), 6);
    }

    void wrongIdentificationIsLame_data()
    {
        QTest::addColumn<QByteArray>("early");
        QTest::addColumn<QByteArray>("last");
        const QByteArray right = QByteArray::fromHex("2d07fb82");
        const QByteArray zero = QByteArray::fromHex("00000000");
        QTest::newRow("error answer") << zero << QByteArray::fromHex("1000ff00");
        QTest::newRow("one bit off") << zero << QByteArray::fromHex("2d07fb83");
        QTest::newRow("one byte too many") << zero << QByteArray::fromHex("2d07fb8200");
        QTest::newRow("right three times, then wrong") << right << zero;
    }
    void wrongIdentificationIsLame()
    {
        QFETCH(QByteArray, early);
        QFETCH(QByteArray, last);
        InstrumentBehaviour behaviour;
        behaviour.earlyIdentificationAnswer = early;
        behaviour.identificationAnswer = last;
        behaviour.rightIdentificationAttempt = 4;
        InstrumentSimulator instrument;
        instrument.setBlocks(testBlocks());
        instrument.setBehaviour(behaviour);
        const auto ports = noPorts();
        QVERIFY(plugInWatched(instrument, *ports));
        LogCapture log;
        Port port(ports);
        QSignalSpy found(&port, &Port::validPortFound);

        QTRY_COMPARE_WITH_TIMEOUT(log.count(QStringLiteral("lame")), 1, testMs(5000));
        QCOMPARE(found.count(), 0);
        QVERIFY(!port.isInstrumentConnected());
        QCOMPARE(instrument.requests().size(), 4);

        // The port was closed again.
        log.clear();
        QVERIFY(port.sendRequest(0x00060000, 4, 200).isEmpty());
        QCOMPARE(log.lines(), QStringList{"Serial port is not open."});
    }

    void failingPortsAreTriedOnceEach()
    {
        InstrumentBehaviour wrong;
        wrong.identificationAnswer = QByteArray::fromHex("1000ff00");
        InstrumentSimulator first;
        InstrumentSimulator second;
        QTemporaryDir folder;
        second.setLinkPath(folder.filePath(QStringLiteral("second")));
        for (InstrumentSimulator *instrument : {&first, &second}) {
            instrument->setBlocks(testBlocks());
            instrument->setBehaviour(wrong);
        }
        const auto ports = noPorts();
        QVERIFY(plugInWatched(first, *ports));
        LogCapture log;
        Port port(ports);

        QTRY_COMPARE_WITH_TIMEOUT(log.count(QStringLiteral("lame")), 1, testMs(3000));
        QVERIFY(plugInWatched(second, *ports));
        QTRY_COMPARE_WITH_TIMEOUT(log.count(QStringLiteral("lame")), 2, testMs(3000));
        QTest::qWait(600); // one more poll: nothing is tried again

        QCOMPARE(log.count(QStringLiteral("check COM called")), 2);
        QCOMPARE(first.requests().size(), 4);
        QCOMPARE(second.requests().size(), 4);
    }

    void newPortWhileConnectedIsOnlyLogged()
    {
        SimulatedLink link(testBlocks());
        QVERIFY(link.connect());
        LogCapture log;
        InstrumentSimulator other;
        other.setBlocks(testBlocks());
        QVERIFY(plugInWatched(other, *link.ports));

        QTRY_COMPARE_WITH_TIMEOUT(log.count(debugLine("New serial port added:", other.portPath())), 1,
                                  testMs(2000));
        QCOMPARE(log.count(QStringLiteral("check COM called")), 0);
        QVERIFY(other.requests().isEmpty());
        QCOMPARE(link.port->getBlocksAmount(), 6);
    }

    // --- loss ------------------------------------------------------------

    void lossIsHandledOnceAndThePortFoundAgain()
    {
        SimulatedLink link(testBlocks());
        QVERIFY(link.connect());
        QSignalSpy lost(link.port.get(), &Port::validPortDisconnected);
        QSignalSpy found(link.port.get(), &Port::validPortFound);
        LogCapture log;
        const QString path = link.simulator.portPath();

        link.simulator.unplug();
        QVERIFY(lost.wait(testMs(2000)));
        // The vanished device keeps failing; nothing may keep the program busy.
        QVERIFY2(eventLoopWakeUps(300) < 1000, "the event loop keeps spinning after the loss");
        QCOMPARE(lost.count(), 1);
        QCOMPARE(log.indexStartingWith(QStringLiteral("QSerialPort::")), log.lines().size() - 1);
        QVERIFY(!link.port->isInstrumentConnected());

        log.clear();
        QCOMPARE(link.port->getBlocksAmount(), -1);
        QCOMPARE(log.lines(), (QStringList{"Serial port is not open.", "blocks amount: ", "request error"}));

        // Plugged back in: seen as new once a poll has missed it.
        QTRY_COMPARE_WITH_TIMEOUT(log.count(debugLine("Serial port removed:", path)), 1, testMs(2000));
        QVERIFY(plugInWatched(link.simulator, *link.ports));
        QVERIFY(found.wait(testMs(3000)));
        QCOMPARE(lost.count(), 1);
        QCOMPARE(link.port->getBlocksAmount(), 6);
    }

    // The wait ends at the loss, and is logged as timed out.
    void lossDuringAWaitEndsIt()
    {
        SimulatedLink link(testBlocks());
        QVERIFY(link.connect());
        InstrumentBehaviour behaviour;
        behaviour.unplugAfterRequests = 0;
        link.simulator.setBehaviour(behaviour);
        QSignalSpy lost(link.port.get(), &Port::validPortDisconnected);
        LogCapture log;

        QCOMPARE(link.port->getBlockSize(0), -1);
        QCOMPARE(link.port->getBlockName(1), QByteArray());

        QCOMPARE(lost.count(), 1);
        const int loss = log.indexStartingWith(QStringLiteral("QSerialPort::"));
        QVERIFY(loss >= 0);
        QVERIFY(loss < log.indexOf(QStringLiteral("recieved TIMEOUT")));
        QCOMPARE(log.count(QStringLiteral("recieved TIMEOUT")), 1);
        QCOMPARE(log.count(QStringLiteral("Serial port is not open.")), 1);
    }

    void lossDuringTheHandshakeClosesTheCandidate()
    {
        InstrumentBehaviour behaviour;
        behaviour.unplugAfterRequests = 1;
        InstrumentSimulator instrument;
        instrument.setBlocks(testBlocks());
        instrument.setBehaviour(behaviour);
        const auto ports = noPorts();
        QVERIFY(plugInWatched(instrument, *ports));
        LogCapture log;
        Port port(ports);
        QSignalSpy found(&port, &Port::validPortFound);

        int wakeUps = 0;
        auto *dispatcher = QAbstractEventDispatcher::instance();
        connect(&instrument, &InstrumentSimulator::unplugged, dispatcher, [&] {
            connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &instrument,
                    [&wakeUps] { ++wakeUps; });
        });
        QTRY_COMPARE_WITH_TIMEOUT(log.count(QStringLiteral("lame")), 1, testMs(6000));

        QCOMPARE(found.count(), 0);
        QVERIFY2(wakeUps < 1000, "the lost candidate kept the event loop spinning");
        // The remaining identification requests fail at once.
        QCOMPARE(log.count(QStringLiteral("Serial port is not open.")), 2);
        QCOMPARE(log.count(QStringLiteral("recieved TIMEOUT")), 1);
        QVERIFY(!port.isInstrumentConnected());
    }

    // The data request unplugs the first instrument and a second one is
    // plugged in at once: the wait ends at the loss, and the second one is
    // tried afterwards, outside any exchange.
    void anotherInstrumentIsTriedAfterTheLostWait()
    {
        const QVector<SimulatedBlock> blocks = {{QStringLiteral("Т 0001"), QVector<float>(150, 1.0f)}};
        SimulatedLink link(blocks);
        QVERIFY(link.connect());
        const QString firstPath = link.simulator.portPath();

        QTemporaryDir folder;
        InstrumentSimulator second;
        second.setBlocks(blocks);
        second.setLinkPath(folder.filePath(QStringLiteral("second")));
        InstrumentBehaviour behaviour;
        behaviour.unplugAfterRequests = 1;
        link.simulator.setBehaviour(behaviour);
        connect(&link.simulator, &InstrumentSimulator::unplugged, &second, [&] {
            link.ports->removePath(firstPath);
            plugInWatched(second, *link.ports);
        });
        QSignalSpy found(link.port.get(), &Port::validPortFound);
        LogCapture log;

        QVERIFY(link.port->getBlockData(0).isEmpty());

        const int timeout = log.indexOf(QStringLiteral("recieved TIMEOUT"));
        QVERIFY(timeout >= 0);
        QCOMPARE(log.count(debugLine("data size: ", 0)), 1);
        QCOMPARE(log.count(QStringLiteral("check COM called")), 0);

        QVERIFY(found.wait(testMs(3000)));
        QVERIFY(log.indexOf(debugLine("New serial port added:", second.portPath())) > timeout);
        QVERIFY(log.indexOf(QStringLiteral("check COM called")) > timeout);
        QCOMPARE(link.port->instrumentPortName(), second.portPath());
        QCOMPARE(link.port->getBlocksAmount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPort)
#include "tst_port.moc"
