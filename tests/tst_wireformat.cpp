#include "device/wireformat.h"

#include <QStandardPaths>
#include <QTest>
#include <cmath>

class TestWireFormat : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void requestFrame_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<uint>("index");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("identification")
            << int(DeviceCommand::Identify) << 0u << QByteArray::fromHex("00000500");
        QTest::newRow("count") << int(DeviceCommand::BlocksAmount) << 0u << QByteArray::fromHex("00000600");
        QTest::newRow("name of block 258")
            << int(DeviceCommand::BlockName) << 258u << QByteArray::fromHex("02010700");
        QTest::newRow("size of block 65535")
            << int(DeviceCommand::BlockSize) << 65535u << QByteArray::fromHex("ffff0800");
        QTest::newRow("data of block 5")
            << int(DeviceCommand::BlockData) << 5u << QByteArray::fromHex("05000900");
    }
    void requestFrame()
    {
        QFETCH(int, command);
        QFETCH(uint, index);
        QFETCH(QByteArray, bytes);
        QCOMPARE(::requestFrame(requestWord(DeviceCommand(command), index)), bytes);
    }

    void fixedAnswers()
    {
        QCOMPARE(identificationAnswer(), QByteArray::fromHex("2d07fb82"));
        QCOMPARE(errorAnswer(), QByteArray::fromHex("1000ff00"));
        QVERIFY(isErrorAnswer(QByteArray::fromHex("1000ff00")));
        QVERIFY(!isErrorAnswer(QByteArray::fromHex("1000ff")));
        QVERIFY(!isErrorAnswer(QByteArray::fromHex("1000ff0000")));
        QVERIFY(!isErrorAnswer(QByteArray()));
    }

    void unsigned16_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("value");
        QTest::newRow("count 3, tail ignored") << QByteArray::fromHex("0300abcd") << 3;
        QTest::newRow("little-endian") << QByteArray::fromHex("3412") << 0x1234;
        QTest::newRow("largest") << QByteArray::fromHex("ffff") << 65535;
        QTest::newRow("zero") << QByteArray::fromHex("0000") << 0;
        QTest::newRow("one byte counts as its value") << QByteArray::fromHex("c8") << 200;
        QTest::newRow("empty") << QByteArray() << -1;
    }
    void unsigned16()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, value);
        QCOMPARE(decodeUnsigned16(answer), value);
    }

    void floats_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<QVector<float>>("values");
        QTest::newRow("1.0") << QByteArray::fromHex("0000803f") << QVector<float>{1.0f};
        QTest::newRow("three values from 12 bytes")
            << QByteArray::fromHex("0000803f000020c000407a44") << QVector<float>{1.0f, -2.5f, 1001.0f};
        QTest::newRow("10 bytes give nothing")
            << QByteArray::fromHex("0000803f0000803f0000") << QVector<float>{};
        QTest::newRow("empty") << QByteArray() << QVector<float>{};
    }
    void floats()
    {
        QFETCH(QByteArray, answer);
        QFETCH(QVector<float>, values);
        QCOMPARE(decodeFloats(answer), values);
    }

    void floatSpecialValues()
    {
        const QVector<float> values = decodeFloats(QByteArray::fromHex("0000c07f0000807f"));
        QCOMPARE(values.size(), 2);
        QVERIFY(std::isnan(values.at(0)));
        QVERIFY(std::isinf(values.at(1)));
    }
};

QTEST_GUILESS_MAIN(TestWireFormat)
#include "tst_wireformat.moc"
