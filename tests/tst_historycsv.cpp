// CSV export of stored blocks: every reading as the shortest decimal that
// reads back as the same single-precision number, in the layout a Russian or
// an English spreadsheet expects, read back by Python's csv module.

#include "history/csvexport.h"
#include "historytestdata.h"
#include "toolrun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QtTest>
#include <cmath>
#include <cstdlib>

namespace {

const QString kPython = QStringLiteral("/usr/bin/python3");

// Reads the file as a spreadsheet would and hands back, per row, the name,
// the number and the value's bits as a single-precision number.
const QString kReader = QStringLiteral(R"(
import csv, json, math, struct, sys
path, separator, mark = sys.argv[1], sys.argv[2], sys.argv[3]
raw = open(path, 'rb').read()
assert raw.startswith(b'\xef\xbb\xbf'), 'no byte-order mark'
rows = []
with open(path, newline='', encoding='utf-8-sig') as f:
    reader = csv.reader(f, delimiter=separator)
    header = next(reader)
    for name, number, value in reader:
        text = value.replace(mark, '.') if mark != '.' else value
        assert mark == '.' or '.' not in value, value
        parsed = float(text)
        bits = struct.unpack('<I', struct.pack('<f', parsed))[0]
        rows.append([name, int(number), bits, math.isnan(parsed)])
print(json.dumps({'header': header, 'rows': rows}, ensure_ascii=False))
)");

QJsonObject readBack(const QString &path, const CsvFormat &format, QString *problem)
{
    const ToolRun python = runTool(kPython, {QStringLiteral("-c"), kReader, path, QString(format.separator),
                                             QString(format.decimalMark)});
    if (!python.ok()) {
        *problem = QString::fromUtf8(python.errors);
        return QJsonObject();
    }
    return QJsonDocument::fromJson(python.output).object();
}

} // namespace

Q_DECLARE_METATYPE(CsvFormat)

class HistoryCsvTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(folder.isValid()); }

    // The shortest text of every kind of float reads back as the same bits.
    void numbersRoundTrip()
    {
        QVector<float> values = awkwardValues();
        QRandomGenerator random(20240603);
        for (int i = 0; i < 20000; ++i)
            values.append(floatFromBits(random.generate()));
        for (const float value : qAsConst(values)) {
            const QString text = csvNumber(value, QLatin1Char('.'));
            const float back = std::strtof(text.toLatin1().constData(), nullptr);
            if (std::isnan(value))
                QVERIFY2(std::isnan(back), qPrintable(text));
            else
                QVERIFY2(bitsOf(back) == bitsOf(value), qPrintable(text));
            QCOMPARE(csvNumber(value, QLatin1Char(',')),
                     QString(text).replace(QLatin1Char('.'), QLatin1Char(',')));
        }
        QCOMPARE(csvNumber(0.1f, QLatin1Char('.')), QStringLiteral("0.1"));
        QCOMPARE(csvNumber(142.5f, QLatin1Char(',')), QStringLiteral("142,5"));
        QCOMPARE(csvNumber(floatFromBits(1), QLatin1Char('.')), QStringLiteral("1e-45"));
        QCOMPARE(csvNumber(16777216.0f, QLatin1Char('.')), QStringLiteral("16777216"));
    }

    void readBackBySpreadsheetRules_data()
    {
        QTest::addColumn<CsvFormat>("format");
        QTest::newRow("Russian: ';' and decimal comma") << CsvFormat{QLatin1Char(';'), QLatin1Char(',')};
        QTest::newRow("English: ',' and decimal point") << CsvFormat{QLatin1Char(','), QLatin1Char('.')};
    }

    void readBackBySpreadsheetRules()
    {
        QFETCH(CsvFormat, format);
        const QVector<MemoryBlock> blocks = {
            makeBlock(QStringLiteral("Т 0003"), awkwardValues()),
            makeBlock(QStringLiteral("Без данных 0004"), {}, BlockFault::Data),
            makeBlock(QStringLiteral("O'Brien; \"Ёлка\", 0005"), {4.81f, -99.96f}),
            makeBlock(QStringLiteral("Lot A 0006"), noisyValues(1000, 3)),
        };
        const QString path =
            folder.filePath(QStringLiteral("values %1.csv").arg(format.separator == ';' ? "ru" : "en"));
        QVERIFY(writeCsvFile(path, blocksToCsv(blocks, format,
                                               {QStringLiteral("Блок"), QStringLiteral("Номер"),
                                                QStringLiteral("Значение")})));
        QString problem;
        const QJsonObject back = readBack(path, format, &problem);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        QCOMPARE(back.value(QStringLiteral("header")).toArray(),
                 (QJsonArray{QStringLiteral("Блок"), QStringLiteral("Номер"), QStringLiteral("Значение")}));
        const QJsonArray rows = back.value(QStringLiteral("rows")).toArray();
        int row = 0;
        for (const MemoryBlock &block : blocks) {
            for (int i = 0; i < block.values.size(); ++i, ++row) {
                const QJsonArray fields = rows.at(row).toArray();
                QCOMPARE(fields.at(0).toString(), block.name);
                QCOMPARE(fields.at(1).toInt(), i + 1);
                const float value = block.values.at(i);
                if (std::isnan(value))
                    QVERIFY(fields.at(3).toBool());
                else
                    QCOMPARE(quint32(fields.at(2).toDouble()), bitsOf(value));
            }
        }
        QCOMPARE(rows.size(), row);
    }

    // A file that cannot be written completely is not left half written.
    void unwritableTarget()
    {
        const QString path = folder.filePath(QStringLiteral("no such folder/values.csv"));
        QVERIFY(!writeCsvFile(path, QByteArrayLiteral("x")));
        QVERIFY(!QFileInfo::exists(path));
    }

private:
    QTemporaryDir folder;
};

QTEST_GUILESS_MAIN(HistoryCsvTest)
#include "tst_historycsv.moc"
