// Faults of the instrument and its link, played through the real main window
// with a simulated instrument on a pseudo-terminal. Every row says what the
// user must see after the read, and must end without a crash and without
// waiting longer than the link's own timeouts.

#include "blocksets.h"
#include "logcapture.h"
#include "mainwindowtester.h"
#include "modalhelper.h"
#include "sampleblocks.h"
#include "simulatedlink.h"
#include "testtime.h"
#include "windowtestmain.h"

#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Room for a loaded machine (and sanitizers) on top of the link's own timeouts.
const int kSlackMs = testMs(2500);
// The first poll of the port monitor comes this long after the window starts.
constexpr int kPollMs = 500;
// The whole handshake on a silent port: 3 x 700 ms, then 2000 ms.
constexpr int kHandshakeMs = 3 * 700 + 2000;
constexpr int kShortTimeoutMs = 200;
constexpr int kTimeoutPerValueMs = 10;
// The time a complete read of the three blocks spends in data waits at most.
constexpr int kAllDataMs = kTimeoutPerValueMs * (3 + 1 + 2);
// How long an unplugged instrument may take to be gone from both ends.
constexpr int kUnplugMs = 5000;

// How the instrument misbehaves; applied before plugging in when
// `fromPlugIn`, otherwise once the instrument has been found.
struct LinkFault
{
    InstrumentBehaviour behaviour;
    bool fromPlugIn = false;
    // After the fault, plug the instrument back in and read again.
    bool plugBackIn = false;
    // A port that cannot be opened shows up before the instrument.
    bool unopenablePortFirst = false;
    // The instrument's memory; empty: threeBlocks().
    QVector<SimulatedBlock> blocks;
};

// Whether the instrument is found, the rows listed after the read with their
// values, whether the read button offers another read, and the longest the
// user may be kept waiting.
struct ReadSeen
{
    bool found = true;
    QVector<MemoryBlock> blocks;
    bool readEnabled = true;
    int waitLimitMs = 0;
};

MemoryBlock block(int index, bool withName, bool withValues)
{
    MemoryBlock b;
    if (withName)
        b.name = shownName(threeBlocks().at(index));
    if (withValues)
        b.values = threeBlocks().at(index).values;
    return b;
}

QVector<MemoryBlock> allBlocks()
{
    return {block(0, true, true), block(1, true, true), block(2, true, true)};
}

// The rows a complete read of `blocks` lists.
QVector<MemoryBlock> listed(const QVector<SimulatedBlock> &blocks)
{
    QVector<MemoryBlock> rows;
    for (const SimulatedBlock &simulated : blocks) {
        MemoryBlock b;
        b.name = shownName(simulated);
        b.values = simulated.values;
        rows.append(b);
    }
    return rows;
}

FaultSwitch on(std::initializer_list<int> commands)
{
    FaultSwitch s;
    s.enabled = true;
    s.commands = QSet<int>(commands);
    return s;
}

InstrumentBehaviour silentOn(int code)
{
    InstrumentBehaviour b;
    b.silence = on({code});
    return b;
}

InstrumentBehaviour errorOn(int code, int index = -1)
{
    InstrumentBehaviour b;
    b.errorAnswer = on({code});
    b.errorIndex = index;
    return b;
}

InstrumentBehaviour partialOn(int code, int bytes)
{
    InstrumentBehaviour b;
    b.partial = on({code});
    b.partialBytes = bytes;
    return b;
}

InstrumentBehaviour unplugAfter(int requests)
{
    InstrumentBehaviour b;
    b.unplugAfterRequests = requests;
    return b;
}

LinkFault link(const InstrumentBehaviour &b, bool fromPlugIn = false, bool plugBackIn = false)
{
    LinkFault f;
    f.behaviour = b;
    f.fromPlugIn = fromPlugIn;
    f.plugBackIn = plugBackIn;
    return f;
}

ReadSeen seenRead(const QVector<MemoryBlock> &blocks, int waitMs, bool readEnabled = true)
{
    ReadSeen s;
    s.blocks = blocks;
    s.readEnabled = readEnabled;
    s.waitLimitMs = waitMs;
    return s;
}

ReadSeen notFound()
{
    ReadSeen s;
    s.found = false;
    s.readEnabled = false;
    s.waitLimitMs = kPollMs + kHandshakeMs;
    return s;
}

void compareBlocks(const QVector<MemoryBlock> &actual, QListWidget *list,
                   const QVector<MemoryBlock> &expected)
{
    QCOMPARE(list->count(), expected.size());
    QCOMPARE(actual.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(list->item(i)->text(), expected.at(i).name);
        QCOMPARE(actual.at(i).name, expected.at(i).name);
        QCOMPARE(actual.at(i).values, expected.at(i).values);
    }
}

} // namespace

Q_DECLARE_METATYPE(LinkFault)
Q_DECLARE_METATYPE(ReadSeen)

class DeviceFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(folder.isValid(), "no temporary folder"); }
    void init() { freshSettingsFolder(); }

    void faultyRead_data();
    // The instrument misbehaves; the user reads (and, where asked, plugs back in and reads again).
    void faultyRead();

private:
    QTemporaryDir folder;
};

void DeviceFaultsTest::faultyRead_data()
{
    using namespace instrumentcode;
    QTest::addColumn<LinkFault>("fault");
    QTest::addColumn<ReadSeen>("seen");
    const QVector<MemoryBlock> all = allBlocks();

    // Silence: each request runs out its own timeout and nothing more.
    QTest::newRow("silence: identification") << link(silentOn(kIdentify), true) << notFound();
    QTest::newRow("silence: count") << link(silentOn(kBlocksAmount)) << seenRead({}, kShortTimeoutMs);
    QTest::newRow("silence: names") << link(silentOn(kBlockName))
                                    << seenRead({block(0, false, true), block(1, false, true),
                                                 block(2, false, true)},
                                                3 * kShortTimeoutMs + kAllDataMs);
    QTest::newRow("silence: sizes") << link(silentOn(kBlockSize))
                                    << seenRead({block(0, true, false), block(1, true, false),
                                                 block(2, true, false)},
                                                3 * kShortTimeoutMs);
    QTest::newRow("silence: data") << link(silentOn(kBlockData))
                                   << seenRead({block(0, true, false), block(1, true, false),
                                                block(2, true, false)},
                                               kAllDataMs);

    // The error answer 10 00 FF 00 in place of each of the five answers.
    {
        InstrumentBehaviour b;
        b.identificationAnswer = QByteArray::fromHex("1000ff00");
        QTest::newRow("error answer: identification") << link(b, true) << notFound();
    }
    QTest::newRow("error answer: count") << link(errorOn(kBlocksAmount)) << seenRead({}, 0);
    QTest::newRow("error answer: name of block 1")
        << link(errorOn(kBlockName, 1))
        << seenRead({block(0, true, true), block(1, false, true), block(2, true, true)}, kAllDataMs);
    QTest::newRow("error answer: size of block 1")
        << link(errorOn(kBlockSize, 1))
        << seenRead({block(0, true, true), block(1, true, false), block(2, true, true)}, kAllDataMs);
    QTest::newRow("error answer: data of block 1")
        << link(errorOn(kBlockData, 1))
        << seenRead({block(0, true, true), block(1, true, false), block(2, true, true)}, kAllDataMs);

    // Answers in pieces, with surplus bytes, or cut short.
    {
        InstrumentBehaviour b;
        b.chunks = on({});
        b.chunkSize = 1;
        b.chunkGapMs = 1;
        // A value's four bytes take 4 of its 10 ms: blocks long enough that a
        // loaded machine's pauses stay within the data timeout.
        constexpr int kValuesPerBlock = 25;
        LinkFault f = link(b, true);
        f.blocks = uniformBlocks(3, kValuesPerBlock);
        QTest::newRow("split answers, one byte at a time, handshake included")
            << f << seenRead(listed(f.blocks), 3 * kValuesPerBlock * kTimeoutPerValueMs);
    }
    {
        InstrumentBehaviour b;
        b.surplus = on({kBlocksAmount, kBlockName, kBlockSize, kBlockData});
        b.surplusBytes = 4;
        // Bytes beyond the asked-for length are no part of a name or a block.
        QTest::newRow("surplus bytes after every answer") << link(b) << seenRead(all, kAllDataMs);
    }
    QTest::newRow("partial answer: count of two bytes")
        << link(partialOn(kBlocksAmount, 2)) << seenRead(all, kShortTimeoutMs + kAllDataMs);
    {
        constexpr int kNameBytes = 10;
        MemoryBlock b0 = block(0, false, true), b1 = block(1, false, true), b2 = block(2, false, true);
        b0.name = shownName(threeBlocks().at(0), kNameBytes);
        b1.name = shownName(threeBlocks().at(1), kNameBytes);
        b2.name = shownName(threeBlocks().at(2), kNameBytes);
        QTest::newRow("partial answer: names of ten bytes")
            << link(partialOn(kBlockName, kNameBytes))
            << seenRead({b0, b1, b2}, 3 * kShortTimeoutMs + kAllDataMs);
    }
    QTest::newRow("partial answer: sizes of one byte")
        << link(partialOn(kBlockSize, 1)) << seenRead(all, 3 * kShortTimeoutMs + kAllDataMs);
    // Six bytes are no whole number of values; block 1 has only four to send.
    QTest::newRow("partial answer: data of six bytes")
        << link(partialOn(kBlockData, 6))
        << seenRead({block(0, true, false), block(1, true, true), block(2, true, false)}, kAllDataMs);

    {
        InstrumentBehaviour b;
        b.identificationAnswer = QByteArray::fromHex("2d07fb83");
        QTest::newRow("wrong identification answer") << link(b, true) << notFound();
    }
    {
        // Tried first, given up silently; the instrument is found all the same.
        LinkFault f = link(InstrumentBehaviour(), true);
        f.unopenablePortFirst = true;
        QTest::newRow("a port that cannot be opened, then the instrument") << f << seenRead(all, kAllDataMs);
    }
    {
        // Right only on the fourth attempt: the deciding one.
        InstrumentBehaviour b;
        b.rightIdentificationAttempt = 4;
        b.earlyIdentificationAnswer = QByteArray::fromHex("1000ff00");
        QTest::newRow("identification right only on the deciding attempt")
            << link(b, true) << seenRead(all, kAllDataMs);
    }

    // Unplugged: during the handshake, then at each request of a read.
    // Whatever was read before stays listed; the rest are empty rows.
    QTest::newRow("unplugged during the handshake") << link(unplugAfter(1), true) << notFound();
    QTest::newRow("unplugged during the handshake, plugged back in")
        << link(unplugAfter(1), true, true) << seenRead(all, kAllDataMs);
    const MemoryBlock emptyRow;
    QTest::newRow("unplugged at the count") << link(unplugAfter(0)) << seenRead({}, kShortTimeoutMs, false);
    QTest::newRow("unplugged at the name of block 1")
        << link(unplugAfter(4))
        << seenRead({block(0, true, true), emptyRow, emptyRow}, kShortTimeoutMs + kAllDataMs, false);
    QTest::newRow("unplugged at the size of block 1")
        << link(unplugAfter(5))
        << seenRead({block(0, true, true), block(1, true, false), emptyRow}, kShortTimeoutMs + kAllDataMs,
                    false);
    QTest::newRow("unplugged at the data of block 1")
        << link(unplugAfter(6))
        << seenRead({block(0, true, true), block(1, true, false), emptyRow}, kAllDataMs, false);
    QTest::newRow("unplugged at the data of block 1, plugged back in")
        << link(unplugAfter(6), false, true) << seenRead(all, kAllDataMs);
}

void DeviceFaultsTest::faultyRead()
{
    QFETCH(LinkFault, fault);
    QFETCH(ReadSeen, seen);

    const auto ports = noPorts();
    InstrumentSimulator simulator;
    simulator.setBlocks(fault.blocks.isEmpty() ? threeBlocks() : fault.blocks);
    if (fault.fromPlugIn)
        simulator.setBehaviour(fault.behaviour);
    QFile unopenable(folder.filePath(QStringLiteral("not a serial port")));
    if (fault.unopenablePortFirst) {
        QVERIFY(unopenable.open(QIODevice::WriteOnly));
        unopenable.close();
        ports->addPath(unopenable.fileName());
    }
    QVERIFY(plugInWatched(simulator, *ports));
    LogCapture log;
    ModalAnswerer modals;
    QElapsedTimer clock;
    clock.start();
    MainWindow window(ports);
    Ui::MainWindow *ui = MainWindowTester::ui(window);
    Port &port = MainWindowTester::port(window);

    if (fault.fromPlugIn) {
        // The handshake's verdict: found, or the port given up ("lame").
        QVERIFY(QTest::qWaitFor(
            [&] { return port.isInstrumentConnected() || log.count(QStringLiteral("lame")) > 0; },
            seen.waitLimitMs + kSlackMs));
        QVERIFY2(clock.elapsed() <= seen.waitLimitMs + kSlackMs,
                 qPrintable(QString::number(clock.elapsed())));
    } else {
        QVERIFY(
            QTest::qWaitFor([&] { return port.isInstrumentConnected(); }, kPollMs + kHandshakeMs + kSlackMs));
        simulator.setBehaviour(fault.behaviour);
    }

    if (fault.plugBackIn) {
        if (!fault.fromPlugIn)
            ui->button_read_data->click();
        QVERIFY(QTest::qWaitFor([&] { return !port.isInstrumentConnected() && !simulator.isPluggedIn(); },
                                kUnplugMs));
        // The monitor must see the port gone before it can see it come back.
        QVERIFY(QTest::qWaitFor(
            [&] { return log.indexStartingWith(QStringLiteral("Serial port removed:")) >= 0; },
            kPollMs + kSlackMs));
        simulator.setBehaviour(InstrumentBehaviour());
        QVERIFY(simulator.plugIn());
        QVERIFY(QTest::qWaitFor([&] { return ui->button_read_data->isEnabled(); },
                                kPollMs + kHandshakeMs + kSlackMs));
    }

    QCOMPARE(port.isInstrumentConnected(), seen.found);
    QCOMPARE(ui->button_read_data->isEnabled(), seen.found);
    if (seen.found) {
        clock.restart();
        ui->button_read_data->click();
        const qint64 waited = clock.elapsed();
        QVERIFY2(waited <= seen.waitLimitMs + kSlackMs,
                 qPrintable(QStringLiteral("the read took %1 ms").arg(waited)));
        compareBlocks(MainWindowTester::blocks(window), ui->block_names_list, seen.blocks);
        if (QTest::currentTestFailed())
            return;
        // Shown one by one: a block without values gives an empty table and no export.
        for (int row = 0; row < seen.blocks.size(); ++row) {
            QMetaObject::invokeMethod(&window, "on_block_names_list_itemDoubleClicked",
                                      Q_ARG(QListWidgetItem *, ui->block_names_list->item(row)));
            const QVector<float> &values = seen.blocks.at(row).values;
            QCOMPARE(ui->table_block_data->rowCount(), values.size());
            QCOMPARE(ui->button_export_to_PDF->isEnabled(), !values.isEmpty());
            QCOMPARE(ui->button_export_to_excel->isEnabled(), !values.isEmpty());
        }
        QCOMPARE(ui->button_read_data->isEnabled(), seen.readEnabled);
        QVERIFY(ui->block_names_list->isEnabled());
    }
    QVERIFY2(modals.boxes.isEmpty(), "no message box belongs to the link");
}

ZRV_WINDOW_TEST_MAIN(DeviceFaultsTest)
#include "tst_faults_device.moc"
