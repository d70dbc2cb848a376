// zrv-station on several ports at once and when it is stopped: each port's
// read stays its own, a port that goes away is reported for itself only, and
// SIGINT/SIGTERM keep what was read.

#include "history/historyconnection.h"
#include "history/historyreader.h"
#include "stationprocess.h"
#include "values/blockstatistics.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QtTest>
#include <csignal>

namespace {

// Blocks that name their port: the letter in the name and the readings'
// hundreds tell every port's blocks apart.
QVector<SimulatedBlock> portBlocks(int port, int count, int values)
{
    QVector<SimulatedBlock> blocks;
    for (int b = 0; b < count; ++b) {
        SimulatedBlock block;
        block.name = QStringLiteral("P%1 %2").arg(port).arg(b + 1, 4, 10, QLatin1Char('0'));
        for (int v = 0; v < values; ++v)
            block.values.append(float(100 * port + b) + 0.5f * float(v % 3));
        blocks.append(block);
    }
    return blocks;
}

QJsonObject portNamed(const QJsonObject &document, const QString &path)
{
    for (const QJsonValue &port : document.value(QStringLiteral("ports")).toArray())
        if (port.toObject().value(QStringLiteral("port")).toString() == path)
            return port.toObject();
    return {};
}

// Every block of the port's JSON is one of the simulator's, in order.
bool blocksAreOwn(const QJsonObject &port, int number, const QVector<SimulatedBlock> &blocks)
{
    const QJsonArray list = port.value(QStringLiteral("blocks")).toArray();
    for (int i = 0; i < list.size(); ++i) {
        const QJsonObject block = list.at(i).toObject();
        const QString name = block.value(QStringLiteral("name")).toString();
        if (!name.startsWith(QStringLiteral("P%1 ").arg(number)) || i >= blocks.size())
            return false;
        const BlockStatistics statistics = computeStatistics(blocks.at(i).values);
        if (block.value(QStringLiteral("mean")).toDouble() != statistics.mean
            || block.value(QStringLiteral("n")).toInt() != blocks.at(i).values.size())
            return false;
    }
    return true;
}

} // namespace

class StationPortsTest : public QObject
{
    Q_OBJECT

private slots:
    void fourPortsKeepTheirOwnReadings()
    {
        QTemporaryDir home;
        StationProcess station(home.path());
        std::vector<std::unique_ptr<InstrumentSimulator>> simulators;
        QStringList arguments{QStringLiteral("--band"),    QStringLiteral("0:1000"),
                              QStringLiteral("--report"),  QStringLiteral("xlsx"),
                              QStringLiteral("--out"),     home.filePath(QStringLiteral("r")),
                              QStringLiteral("--history"), home.filePath(QStringLiteral("h.sqlite")),
                              QStringLiteral("--json")};
        for (int port = 1; port <= 4; ++port) {
            simulators.push_back(pluggedSimulator(portBlocks(port, 3, 20 + port)));
            QVERIFY(simulators.back());
            arguments << QStringLiteral("--port") << simulators.back()->portPath();
        }
        QVERIFY(station.run(arguments));
        QVERIFY2(station.exitCode() == 0, qPrintable(station.errors()));
        const QJsonObject document = station.json();
        QCOMPARE(document.value(QStringLiteral("ports")).toArray().size(), 4);
        for (int port = 1; port <= 4; ++port) {
            const QJsonObject read = portNamed(document, simulators.at(port - 1)->portPath());
            QCOMPARE(read.value(QStringLiteral("outcome")).toString(), QStringLiteral("complete"));
            QCOMPARE(read.value(QStringLiteral("blocks")).toArray().size(), 3);
            QVERIFY(blocksAreOwn(read, port, portBlocks(port, 3, 20 + port)));
        }
        // Twelve reports, none overwriting another.
        QCOMPARE(QDir(home.filePath(QStringLiteral("r"))).entryList({QStringLiteral("*.xlsx")}).size(), 12);
        HistoryConnection store(home.filePath(QStringLiteral("h.sqlite")));
        QVERIFY(store.open());
        QVector<StoredRead> reads;
        QVERIFY(HistoryReader(store).listReads({}, nullptr, 10, &reads));
        QCOMPARE(reads.size(), 4);
        for (const StoredRead &read : qAsConst(reads)) {
            ReadRecord record;
            QVERIFY(HistoryReader(store).loadRead(read.id, &record));
            const int port = simulators.at(0)->portPath() == record.portName   ? 1
                             : simulators.at(1)->portPath() == record.portName ? 2
                             : simulators.at(2)->portPath() == record.portName ? 3
                                                                               : 4;
            const QVector<SimulatedBlock> blocks = portBlocks(port, 3, 20 + port);
            QCOMPARE(record.blocks.size(), blocks.size());
            for (int b = 0; b < blocks.size(); ++b)
                QCOMPARE(record.blocks.at(b).values, blocks.at(b).values);
        }
    }

    // One of two instruments is pulled out mid-read: that port alone is lost.
    void unplugOnOneOfTwoPorts()
    {
        QTemporaryDir home;
        StationProcess station(home.path());
        InstrumentBehaviour pulled;
        // The handshake's four requests, the count, and two whole blocks (three requests each).
        pulled.unplugAfterRequests = 4 + 1 + 2 * 3;
        const auto lost = pluggedSimulator(portBlocks(1, 5, 10), pulled);
        const auto kept = pluggedSimulator(portBlocks(2, 5, 10));
        QVERIFY(lost && kept);
        // The unplugged simulator's path is gone with it.
        const QString lostPath = lost->portPath();
        QVERIFY(station.run({QStringLiteral("--port"), lostPath, QStringLiteral("--port"), kept->portPath(),
                             QStringLiteral("--out"), home.filePath(QStringLiteral("r")),
                             QStringLiteral("--history"), home.filePath(QStringLiteral("h.sqlite")),
                             QStringLiteral("--json")}));
        QVERIFY2(station.exitCode() == 2, qPrintable(station.errors()));
        const QJsonObject document = station.json();
        const QJsonObject lostPort = portNamed(document, lostPath);
        const QJsonObject keptPort = portNamed(document, kept->portPath());
        QCOMPARE(lostPort.value(QStringLiteral("outcome")).toString(), QStringLiteral("instrument lost"));
        QCOMPARE(lostPort.value(QStringLiteral("blocksRead")).toInt(), 2);
        QCOMPARE(lostPort.value(QStringLiteral("blocks")).toArray().size(), 2);
        QVERIFY(blocksAreOwn(lostPort, 1, portBlocks(1, 5, 10)));
        QCOMPARE(keptPort.value(QStringLiteral("outcome")).toString(), QStringLiteral("complete"));
        QCOMPARE(keptPort.value(QStringLiteral("blocks")).toArray().size(), 5);
        QVERIFY(blocksAreOwn(keptPort, 2, portBlocks(2, 5, 10)));
        QCOMPARE(document.value(QStringLiteral("history")).toString(), QStringLiteral("stored"));
    }

    void stopSignal_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("SIGTERM") << int(SIGTERM) << 143;
        QTest::newRow("SIGINT") << int(SIGINT) << 130;
    }

    // Stopped mid-read: what was read is judged, reported and stored as cancelled.
    void stopSignal()
    {
        QFETCH(int, signalNumber);
        QFETCH(int, exitCode);
        QTemporaryDir home;
        StationProcess station(home.path());
        InstrumentBehaviour paced;
        paced.bytesPerSecond = kWireBytesPerSecond;
        constexpr int kBlocks = 30;
        const auto simulator = pluggedSimulator(portBlocks(1, kBlocks, 150), paced);
        QVERIFY(simulator);
        const QString historyFile = home.filePath(QStringLiteral("h.sqlite"));
        station.start({QStringLiteral("--port"), simulator->portPath(), QStringLiteral("--band"),
                       QStringLiteral("0:1000"), QStringLiteral("--out"), home.filePath(QStringLiteral("r")),
                       QStringLiteral("--history"), historyFile, QStringLiteral("--json")});
        QVERIFY2(station.waitForProgress(QStringLiteral(" 1/%1 ").arg(kBlocks)),
                 qPrintable(station.errors()));
        QCOMPARE(::kill(pid_t(station.pid()), signalNumber), 0);
        QVERIFY(station.finish());
        QVERIFY2(station.exitCode() == exitCode, qPrintable(station.errors()));

        const QJsonObject port = station.json().value(QStringLiteral("ports")).toArray().at(0).toObject();
        QCOMPARE(port.value(QStringLiteral("outcome")).toString(), QStringLiteral("cancelled"));
        const int read = port.value(QStringLiteral("blocksRead")).toInt();
        QVERIFY(read >= 1);
        QVERIFY(read < kBlocks);
        QCOMPARE(port.value(QStringLiteral("blocks")).toArray().size(), read);
        QVERIFY(blocksAreOwn(port, 1, portBlocks(1, kBlocks, 150)));
        QCOMPARE(QDir(home.filePath(QStringLiteral("r"))).entryList({QStringLiteral("*.pdf")}).size(), read);

        HistoryConnection store(historyFile);
        QVERIFY(store.open());
        QVector<StoredRead> reads;
        QVERIFY(HistoryReader(store).listReads({}, nullptr, 10, &reads));
        QCOMPARE(reads.size(), 1);
        QCOMPARE(reads.at(0).outcome, ReadOutcome::Cancelled);
        QCOMPARE(reads.at(0).storedBlocks, read);
    }

    // Stopped before any instrument answered: nothing to keep, and no instrument fault.
    void stopWhileWaiting()
    {
        QTemporaryDir home;
        StationProcess station(home.path());
        station.start({QStringLiteral("--wait"), QStringLiteral("600"), QStringLiteral("--history"),
                       QStringLiteral("default"), QStringLiteral("--json")});
        QVERIFY2(station.waitForProgress(QStringLiteral("…")), qPrintable(station.errors()));
        QCOMPARE(::kill(pid_t(station.pid()), SIGTERM), 0);
        QVERIFY(station.finish());
        QCOMPARE(station.exitCode(), 143);
        const QJsonObject port = station.json().value(QStringLiteral("ports")).toArray().at(0).toObject();
        QCOMPARE(port.value(QStringLiteral("outcome")).toString(), QStringLiteral("cancelled"));
        QVERIFY(port.value(QStringLiteral("history")).isNull());
        QVERIFY(!QFile::exists(station.windowFolder() + QStringLiteral("/history.sqlite")));
    }
};

QTEST_GUILESS_MAIN(StationPortsTest)

#include "tst_station_ports.moc"
