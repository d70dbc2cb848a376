#include "blockfile.h"
#include "instrumentmodel.h"
#include "instrumentnamecode.h"
#include "sampleblocks.h"
#include "simulatoroptions.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The simulator's own pieces: its block file, its command line and the
// answers it gives. Its exchanges over a pseudo-terminal are covered by the
// port's tests.
class TestSimulator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void blockFile_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("blocks");
        QTest::newRow("object") << QByteArray(R"({"blocks": [{"name": "Т 0001", "values": [4.81, 4.79]},
                                                              {"name": "Lot 0002", "values": []}]})")
                                << true << 2;
        QTest::newRow("bare array") << QByteArray(R"([{"name": "A 0001", "values": [1]}])") << true << 1;
        QTest::newRow("no blocks") << QByteArray(R"({"blocks": []})") << true << 0;
        QTest::newRow("not JSON") << QByteArray("blocks: 1") << false << 0;
        QTest::newRow("no blocks array") << QByteArray(R"({"block": []})") << false << 0;
        QTest::newRow("name missing") << QByteArray(R"([{"values": [1]}])") << false << 0;
        QTest::newRow("value not a number")
            << QByteArray(R"([{"name": "A", "values": ["1"]}])") << false << 0;
    }
    void blockFile()
    {
        QFETCH(QByteArray, json);
        QFETCH(bool, valid);
        QFETCH(int, blocks);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("blocks.json"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(json);
        file.close();

        QVector<SimulatedBlock> loaded = {{QStringLiteral("untouched"), {}}};
        QString error;
        QCOMPARE(loadBlockFile(path, &loaded, &error), valid);
        if (valid) {
            QCOMPARE(loaded.size(), blocks);
            QVERIFY(error.isEmpty());
        } else {
            QCOMPARE(loaded.size(), 1);
            QVERIFY(!error.isEmpty());
        }
        if (json.startsWith("{\"blocks\": [{")) {
            QCOMPARE(loaded.at(0).name, QStringLiteral("Т 0001"));
            QCOMPARE(loaded.at(0).values, (QVector<float>{4.81f, 4.79f}));
        }
    }

    void missingBlockFile()
    {
        QVector<SimulatedBlock> loaded;
        QString error;
        QVERIFY(!loadBlockFile(QStringLiteral("/nonexistent/blocks.json"), &loaded, &error));
        QVERIFY(error.contains(QStringLiteral("/nonexistent/blocks.json")));
    }

    void commandLine()
    {
        SimulatorOptions options;
        QString error;
        QVERIFY(parseSimulatorOptions({"sim",
                                       "--paced",
                                       "--silent",
                                       "0x06,9",
                                       "--error-on",
                                       "all",
                                       "--error-index",
                                       "2",
                                       "--chunks",
                                       "3",
                                       "--surplus",
                                       "5",
                                       "--partial",
                                       "7",
                                       "--partial-on",
                                       "0x07",
                                       "--id-answer",
                                       "1000ff00",
                                       "--id-on-attempt",
                                       "4",
                                       "--unplug-after",
                                       "10",
                                       "--uniform",
                                       "10x1000"},
                                      &options, &error));
        const InstrumentBehaviour &b = options.behaviour;
        QCOMPARE(b.bytesPerSecond, 5760);
        QCOMPARE(b.silence.commands, (QSet<int>{0x06, 0x09}));
        QVERIFY(b.errorAnswer.appliesTo(0x05));
        QCOMPARE(b.errorIndex, 2);
        QVERIFY(b.chunks.enabled);
        QCOMPARE(b.chunkSize, 3);
        QCOMPARE(b.surplusBytes, 5);
        QVERIFY(b.partial.appliesTo(0x07));
        QVERIFY(!b.partial.appliesTo(0x09));
        QCOMPARE(b.partialBytes, 7);
        QCOMPARE(b.identificationAnswer, QByteArray::fromHex("1000ff00"));
        QCOMPARE(b.rightIdentificationAttempt, 4);
        QCOMPARE(b.unplugAfterRequests, 10);
        QCOMPARE(options.blocks.size(), 10);
        QCOMPARE(options.blocks.at(9).values.size(), 1000);

        for (const QStringList &bad :
             {QStringList{"sim", "--chunks", "0"}, QStringList{"sim", "--silent", "x"},
              QStringList{"sim", "--id-answer", "zz"}, QStringList{"sim", "stray"},
              QStringList{"sim", "--uniform", "10"}}) {
            QVERIFY2(!parseSimulatorOptions(bad, &options, &error), qPrintable(bad.join(' ')));
            QVERIFY(!error.isEmpty());
        }
    }

    void sampleBlocksAreRealistic()
    {
        const QVector<SimulatedBlock> blocks = sampleBlocks();
        QCOMPARE(blocks.first().name, QStringLiteral("Т 0001"));
        int smallest = INT_MAX;
        int largest = 0;
        bool latin = false;
        for (const SimulatedBlock &block : blocks) {
            QCOMPARE(encodeInstrumentName(block.name).size(), kInstrumentNameSize);
            if (!block.values.isEmpty())
                smallest = qMin(smallest, block.values.size());
            largest = qMax(largest, block.values.size());
            latin = latin || block.name.startsWith(QLatin1Char('L'));
        }
        QVERIFY(smallest <= 12);
        QVERIFY(largest >= 1000);
        QVERIFY(latin);
        QCOMPARE(sampleBlocks().at(3).values, blocks.at(3).values); // always the same
    }

    void answers_data()
    {
        QTest::addColumn<quint32>("word");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("identification") << 0x00050000u << QByteArray::fromHex("2d07fb82");
        QTest::newRow("count") << 0x00060000u << QByteArray::fromHex("02000000");
        QTest::newRow("name") << 0x00070001u << encodeInstrumentName(QStringLiteral("B 0002"));
        QTest::newRow("size") << 0x00080000u << QByteArray::fromHex("0200");
        QTest::newRow("data") << 0x00090000u << QByteArray::fromHex("0000803f000020c0");
        QTest::newRow("empty block") << 0x00090001u << QByteArray();
        QTest::newRow("index out of range") << 0x00080002u << QByteArray::fromHex("1000ff00");
        QTest::newRow("unknown command") << 0x000A0000u << QByteArray::fromHex("1000ff00");
        QTest::newRow("byte 3 not zero") << 0x01060000u << QByteArray::fromHex("1000ff00");
    }
    void answers()
    {
        QFETCH(quint32, word);
        QFETCH(QByteArray, answer);
        InstrumentModel model;
        model.setBlocks({{QStringLiteral("A 0001"), {1.0f, -2.5f}}, {QStringLiteral("B 0002"), {}}});
        QCOMPARE(model.answer(word).value_or(QByteArray("silent")), answer);
    }

    void unplugCounting()
    {
        InstrumentModel model;
        InstrumentBehaviour behaviour;
        behaviour.unplugAfterRequests = 2;
        model.setBehaviour(behaviour);
        QVERIFY(!model.unplugsOn());
        QVERIFY(!model.unplugsOn());
        QVERIFY(model.unplugsOn());
        model.restartCounting();
        QVERIFY(!model.unplugsOn());
    }

    // Silence kept for one block's requests only, and only the first times.
    void silenceForOneBlockAFewTimes()
    {
        InstrumentModel model;
        model.setBlocks({{QStringLiteral("A 0001"), {1.0f}}, {QStringLiteral("B 0002"), {2.0f}}});
        InstrumentBehaviour behaviour;
        behaviour.silence.enabled = true;
        behaviour.silence.commands = {0x09};
        behaviour.silenceIndex = 1;
        behaviour.silenceTimes = 2;
        model.setBehaviour(behaviour);
        QVERIFY(model.answer(0x00090000u).has_value());
        QVERIFY(model.answer(0x00080001u).has_value());
        QVERIFY(!model.answer(0x00090001u).has_value());
        QVERIFY(!model.answer(0x00090001u).has_value());
        QCOMPARE(model.answer(0x00090001u).value_or(QByteArray("silent")), QByteArray::fromHex("00000040"));
        model.restartCounting();
        QVERIFY(!model.answer(0x00090001u).has_value());

        behaviour.silenceTimes = -1;
        model.setBehaviour(behaviour);
        for (int i = 0; i < 5; ++i)
            QVERIFY(!model.answer(0x00090001u).has_value());
        QVERIFY(model.answer(0x00090000u).has_value());
    }
};

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
