// What the link reports of its state (searching, trying a port, connected,
// a port that answered wrongly, lost), with one port and with several at
// once, and the search run again by hand.

#include "logcapture.h"
#include "simulatedlink.h"

#include <QMetaEnum>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

QVector<SimulatedBlock> twoBlocks()
{
    return {{QStringLiteral("Т 0001"), {1.0f, 2.0f}}, {QStringLiteral("Вал 0002"), {3.0f}}};
}

QString stateName(Port::LinkState state)
{
    return QString::fromLatin1(QMetaEnum::fromType<Port::LinkState>().valueToKey(int(state)));
}

// Every state the port reports, as "State port" (the port left out when empty).
struct StateRecord
{
    QStringList states;

    explicit StateRecord(Port &port)
    {
        QObject::connect(
            &port, &Port::linkStateChanged, &port, [this](Port::LinkState state, const QString &name) {
                states.append(name.isEmpty() ? stateName(state) : stateName(state) + QLatin1Char(' ') + name);
            });
    }
};

InstrumentBehaviour answering(const QByteArray &identification)
{
    InstrumentBehaviour behaviour;
    behaviour.identificationAnswer = identification;
    return behaviour;
}

const QByteArray kRightAnswer = QByteArray::fromHex("2d07fb82");
const QByteArray kWrongAnswer = QByteArray::fromHex("1000ff00");
constexpr int kVerdictMs = 8000;
constexpr int kPollMs = 500;

} // namespace

Q_DECLARE_METATYPE(InstrumentBehaviour)

class TestLinkState : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void statesOfOnePort_data()
    {
        QTest::addColumn<InstrumentBehaviour>("behaviour");
        QTest::addColumn<bool>("unplugAfterVerdict");
        QTest::addColumn<QStringList>("expected"); // "@" stands for the port
        InstrumentBehaviour silent;
        silent.silence.enabled = true;
        QTest::newRow("instrument") << answering(kRightAnswer) << false
                                    << QStringList{"Trying @", "Connected @"};
        QTest::newRow("instrument unplugged")
            << answering(kRightAnswer) << true << QStringList{"Trying @", "Connected @", "Lost @"};
        QTest::newRow("wrong answer")
            << answering(kWrongAnswer) << false << QStringList{"Trying @", "AnsweredWrongly @"};
        QTest::newRow("wrong answer, port removed")
            << answering(kWrongAnswer) << true << QStringList{"Trying @", "AnsweredWrongly @", "Searching"};
        QTest::newRow("silent port") << silent << false << QStringList{"Trying @", "AnsweredWrongly @"};
    }
    void statesOfOnePort()
    {
        QFETCH(InstrumentBehaviour, behaviour);
        QFETCH(bool, unplugAfterVerdict);
        QFETCH(QStringList, expected);
        const auto ports = noPorts();
        InstrumentSimulator instrument;
        instrument.setBlocks(twoBlocks());
        instrument.setBehaviour(behaviour);
        QVERIFY(plugInWatched(instrument, *ports));
        const QString path = instrument.portPath();
        expected.replaceInStrings(QStringLiteral("@"), path);

        Port port(ports);
        StateRecord record(port);
        const int verdict = expected.size() - (unplugAfterVerdict ? 1 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(record.states.size(), verdict, testMs(kVerdictMs));
        if (unplugAfterVerdict)
            instrument.unplug();
        QTRY_COMPARE_WITH_TIMEOUT(record.states.size(), expected.size(), testMs(kVerdictMs));
        QTest::qWait(2 * kPollMs); // nothing more by itself
        QCOMPARE(record.states, expected);
    }

    // Both ports are there at the first poll; each is tried in the listed
    // order until one is the instrument, and the status follows the last word.
    void severalPortsAtOnce_data()
    {
        QTest::addColumn<bool>("instrumentFirst");
        QTest::newRow("wrong port, then the instrument") << false;
        QTest::newRow("the instrument, then a wrong port") << true;
    }
    void severalPortsAtOnce()
    {
        QFETCH(bool, instrumentFirst);
        const auto ports = noPorts();
        InstrumentSimulator instrument;
        InstrumentSimulator wrong;
        instrument.setBlocks(twoBlocks());
        wrong.setBlocks(twoBlocks());
        wrong.setBehaviour(answering(kWrongAnswer));
        for (InstrumentSimulator *plugged : instrumentFirst
                                                ? QVector<InstrumentSimulator *>{&instrument, &wrong}
                                                : QVector<InstrumentSimulator *>{&wrong, &instrument})
            QVERIFY(plugInWatched(*plugged, *ports));
        const QString right = instrument.portPath();
        const QString other = wrong.portPath();

        Port port(ports);
        StateRecord record(port);
        QVERIFY(QTest::qWaitFor([&] { return port.isInstrumentConnected(); }, testMs(kVerdictMs)));
        const QStringList expected = instrumentFirst
                                         ? QStringList{"Trying " + right, "Connected " + right}
                                         : QStringList{"Trying " + other, "AnsweredWrongly " + other,
                                                       "Trying " + right, "Connected " + right};
        QCOMPARE(record.states, expected);
        QCOMPARE(port.instrumentPortName(), right);
        QCOMPARE(wrong.requests().size(), instrumentFirst ? 0 : 4);

        // The wrong port going away changes nothing while connected.
        wrong.unplug();
        QTest::qWait(2 * kPollMs);
        QCOMPARE(record.states, expected);
        QCOMPARE(port.getBlocksAmount(), 2);
    }

    // An adapter plugged in with the instrument still off: wrong at first,
    // the instrument once the search is run again.
    void searchAgainFindsAPortThatNowAnswers()
    {
        const auto ports = noPorts();
        InstrumentSimulator instrument;
        instrument.setBlocks(twoBlocks());
        InstrumentBehaviour lateToWake;
        lateToWake.rightIdentificationAttempt = 5; // the first handshake sends four
        instrument.setBehaviour(lateToWake);
        QVERIFY(plugInWatched(instrument, *ports));
        Port port(ports);
        StateRecord record(port);
        QSignalSpy found(&port, &Port::validPortFound);
        LogCapture log;
        QTRY_COMPARE_WITH_TIMEOUT(log.count(QStringLiteral("lame")), 1, testMs(kVerdictMs));
        QVERIFY(port.canSearchAgain());
        QTest::qWait(2 * kPollMs);
        QCOMPARE(instrument.requests().size(), 4); // nothing retried by itself

        port.searchAgain();

        QCOMPARE(found.count(), 1);
        QVERIFY(port.isInstrumentConnected());
        QVERIFY(!port.canSearchAgain());
        QCOMPARE(instrument.requests().size(), 8);
        const QString path = instrument.portPath();
        QCOMPARE(record.states, (QStringList{"Trying " + path, "AnsweredWrongly " + path, "Searching",
                                             "Trying " + path, "Connected " + path}));
        QCOMPARE(port.getBlocksAmount(), 2);
    }

    // Every listed port is tried again, wrong ones included; while an
    // instrument is connected nothing is.
    void searchAgainTriesEveryListedPortOnlyWhileSearching()
    {
        const auto ports = noPorts();
        InstrumentSimulator first;
        InstrumentSimulator second;
        for (InstrumentSimulator *wrong : {&first, &second}) {
            wrong->setBlocks(twoBlocks());
            wrong->setBehaviour(answering(kWrongAnswer));
            QVERIFY(plugInWatched(*wrong, *ports));
        }
        Port port(ports);
        LogCapture log;
        QTRY_COMPARE_WITH_TIMEOUT(log.count(QStringLiteral("lame")), 2, testMs(kVerdictMs));

        port.searchAgain();
        QCOMPARE(log.count(QStringLiteral("lame")), 4);
        QCOMPARE(first.requests().size(), 8);
        QCOMPARE(second.requests().size(), 8);

        second.setBehaviour(InstrumentBehaviour());
        port.searchAgain();
        QVERIFY(port.isInstrumentConnected());
        QCOMPARE(port.instrumentPortName(), second.portPath());
        QCOMPARE(first.requests().size(), 12);

        port.searchAgain();
        QCOMPARE(first.requests().size(), 12);
        QCOMPARE(second.requests().size(), 12);
    }

    // A port that appears while a handshake waits is tried once that
    // handshake is over, never inside its waits.
    void noHandshakeInsideAWait()
    {
        const auto ports = noPorts();
        InstrumentSimulator slow;
        slow.setBlocks(twoBlocks());
        slow.setBehaviour(answering(kWrongAnswer));
        QVERIFY(plugInWatched(slow, *ports));
        Port port(ports);
        QSignalSpy found(&port, &Port::validPortFound);
        {
            LogCapture first;
            QTRY_COMPARE_WITH_TIMEOUT(first.count(QStringLiteral("lame")), 1, testMs(kVerdictMs));
        }
        // Tried again, it keeps silent, and the instrument turns up meanwhile.
        InstrumentBehaviour silent;
        silent.silence.enabled = true;
        slow.setBehaviour(silent);
        QTemporaryDir folder;
        InstrumentSimulator instrument;
        instrument.setBlocks(twoBlocks());
        instrument.setLinkPath(folder.filePath(QStringLiteral("instrument")));
        const QMetaObject::Connection plugging =
            connect(&slow, &InstrumentSimulator::requestReceived, &instrument, [&] {
                if (!instrument.isPluggedIn())
                    plugInWatched(instrument, *ports);
            });
        LogCapture log;

        port.searchAgain();
        disconnect(plugging);

        const int lame = log.indexOf(QStringLiteral("lame"));
        const int seen = log.indexOf(debugLine("New serial port added:", instrument.portPath()));
        QVERIFY2(seen >= 0 && seen < lame, "the instrument should have been seen during the handshake");
        QCOMPARE(log.count(QStringLiteral("check COM called")), 1);
        QVERIFY(found.wait(testMs(3000)));
        QCOMPARE(log.count(QStringLiteral("check COM called")), 2);
        QCOMPARE(port.instrumentPortName(), instrument.portPath());
    }
};

QTEST_GUILESS_MAIN(TestLinkState)
#include "tst_linkstate.moc"
