#include "device/blockname.h"
#include "instrumentnamecode.h"

#include <QStandardPaths>
#include <QTest>

class TestBlockName : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QString>("name");

        QTest::newRow("0x80 is А") << QByteArray::fromHex("80") << QStringLiteral("А");
        QTest::newRow("0xA0 is а") << QByteArray::fromHex("a0") << QStringLiteral("а");
        QTest::newRow("0xBF is я") << QByteArray::fromHex("bf") << QStringLiteral("я");
        QTest::newRow("0xE0 stays Windows-1251 а") << QByteArray::fromHex("e0") << QStringLiteral("а");
        QTest::newRow("0xC0 stays Windows-1251 А") << QByteArray::fromHex("c0") << QStringLiteral("А");
        QTest::newRow("0xFF stays я") << QByteArray::fromHex("ff") << QStringLiteral("я");
        QTest::newRow("three characters unchanged") << QByteArray("T01") << QStringLiteral("T01");
        QTest::newRow("four characters get a leading space") << QByteArray("0001") << QStringLiteral(" 0001");
        QTest::newRow("space before the last four") << QByteArray("\x92"
                                                                  "0001")
                                                    << QStringLiteral("Т 0001");
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("twenty bytes, space after the sixteenth")
            << QByteArray("\x92\xA5\xAC\xAF"
                          "ABCDEFGHIJKL"
                          "0042")
            << QStringLiteral("Темп") + QStringLiteral("ABCDEFGHIJKL") + QStringLiteral(" 0042");
        QTest::newRow("padding is kept")
            << QByteArray("\x92", 1) + QByteArray(15, '\0') + QByteArray("0001")
            << QStringLiteral("Т") + QString(15, QChar(0)) + QStringLiteral(" 0001");
        QTest::newRow("Latin and digits as they are")
            << QByteArray("Lot A-17") << QStringLiteral("Lot  A-17");
    }
    void decode()
    {
        QFETCH(QByteArray, raw);
        QFETCH(QString, name);
        QCOMPARE(decodeBlockName(raw), name);
    }

    void everyByteGivesOneCharacter()
    {
        // No byte is lost: each decodes to one kept character.
        for (int byte = 0; byte < 256; ++byte) {
            const QByteArray raw(1, char(byte));
            QCOMPARE(decodeBlockName(raw).size(), 1);
        }
    }

    void characterFilter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kept");
        QTest::newRow("Latin and Cyrillic") << QStringLiteral("Aя") << QStringLiteral("Aя");
        QTest::newRow("end of Latin Extended-B") << QString(QChar(0x024F)) << QString(QChar(0x024F));
        QTest::newRow("IPA dropped") << QString(QChar(0x0250)) << QString();
        QTest::newRow("Greek dropped") << QStringLiteral("Ω") << QString();
        QTest::newRow("Cyrillic Supplement kept") << QString(QChar(0x052F)) << QString(QChar(0x052F));
        QTest::newRow("Armenian dropped") << QString(QChar(0x0531)) << QString();
        QTest::newRow("Latin Extended Additional kept") << QString(QChar(0x1E9E)) << QString(QChar(0x1E9E));
        QTest::newRow("just before and after it dropped")
            << QString(QChar(0x1DFF)) + QString(QChar(0x1F00)) << QString();
        QTest::newRow("euro and quotes dropped") << QStringLiteral("€„A") << QStringLiteral("A");
        QTest::newRow("control characters kept")
            << QString(QChar(0)) + QStringLiteral("\t") << QString(QChar(0)) + QStringLiteral("\t");
    }
    void characterFilter()
    {
        QFETCH(QString, text);
        QFETCH(QString, kept);
        QCOMPARE(keepNameCharacters(text), kept);
    }

    // The simulated instrument writes names in its own code; what it writes
    // must read back as the name it was given.
    void instrumentNamesReadBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("full field") << QStringLiteral("Сварной шов А-12 0003")
                                    << QStringLiteral("Сварной шов А-12 0003");
        QTest::newRow("short text padded")
            << QStringLiteral("Т 0001")
            << QStringLiteral("Т") + QString(15, QLatin1Char(' ')) + QStringLiteral(" 0001");
        QTest::newRow("every Cyrillic letter")
            << QStringLiteral("АБВГДЕЖЗИЙКЛМНОП 0001") << QStringLiteral("АБВГДЕЖЗИЙКЛМНОП 0001");
        QTest::newRow("small letters")
            << QStringLiteral("абвгдежзийклмноп 0002") << QStringLiteral("абвгдежзийклмноп 0002");
        QTest::newRow("rest of the alphabet")
            << QStringLiteral("РСТУФХЦЧШЩЪЫЬЭЮЯ 0003") << QStringLiteral("РСТУФХЦЧШЩЪЫЬЭЮЯ 0003");
        QTest::newRow("rest of the small letters")
            << QStringLiteral("рстуфхцчшщъыьэюя 0004") << QStringLiteral("рстуфхцчшщъыьэюя 0004");
        QTest::newRow("Ё has no code")
            << QStringLiteral("ЁЛКА") + QString(12, QLatin1Char(' ')) + QStringLiteral(" 0005")
            << QStringLiteral("?ЛКА") + QString(12, QLatin1Char(' ')) + QStringLiteral(" 0005");
    }
    void instrumentNamesReadBack()
    {
        QFETCH(QString, name);
        QFETCH(QString, shown);
        const QByteArray raw = encodeInstrumentName(name);
        QCOMPARE(raw.size(), kInstrumentNameSize);
        QCOMPARE(decodeBlockName(raw), shown);
    }
};

QTEST_GUILESS_MAIN(TestBlockName)
#include "tst_blockname.moc"
