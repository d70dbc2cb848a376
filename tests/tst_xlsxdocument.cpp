// The workbook writer's sheet whose cells are streamed row by row, read back
// by openpyxl, and its rows made apart from the library, compared by Python's
// zipfile with what the library writes for the same cells.
#include "report/xlsxdocument.h"
#include "report/xlsxplainrows.h"
#include "toolrun.h"
#include "xlsxreader.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Checks both archives' entries against their CRCs, lists the entries whose
// bytes differ and those compressed alike.
const char kCompareScript[] = R"(
import json, struct, sys, zipfile
def raw(path, info):
    with open(path, "rb") as f:
        f.seek(info.header_offset)
        name, extra = struct.unpack("<HH", f.read(30)[26:30])
        f.seek(info.header_offset + 30 + name + extra)
        return f.read(info.compress_size)
a, b = zipfile.ZipFile(sys.argv[1]), zipfile.ZipFile(sys.argv[2])
both = [n for n in a.namelist() if n in b.namelist()]
# The creation time: the two saves may fall in different seconds.
timeless = [n for n in both if n != "docProps/core.xml"]
print(json.dumps({"broken": [a.testzip(), b.testzip()],
                  "names": [a.namelist(), b.namelist()],
                  "different": [n for n in timeless if a.read(n) != b.read(n)],
                  "compressedAlike": [n for n in both
                                      if raw(sys.argv[1], a.getinfo(n)) == raw(sys.argv[2], b.getinfo(n))]}))
)";

// A data sheet's columns: reading number, reading (with the numbers no cell
// holds), in band.
XlsxPlainRows readingRows(int count, const QVector<double> &odd, const QString &noNumberText, int flagCount)
{
    QVector<double> numbers;
    QVector<double> readings;
    QVector<bool> flags;
    for (int i = 0; i < count; ++i) {
        numbers.append(i + 1);
        readings.append(i < odd.size() ? odd.at(i) : 50.0 + 80.0 * std::sin(i * 0.01));
    }
    for (int i = 0; i < flagCount; ++i)
        flags.append(i % 3 != 0);
    XlsxPlainRows rows;
    rows.addNumbers(numbers, QString());
    rows.addNumbers(readings, noNumberText);
    rows.addFlags(flags);
    return rows;
}

// A workbook with a first sheet and the rows from the second row of a second,
// below a header where asked; apart: the rows written as a whole, otherwise
// cell by cell.
bool writeRows(const QString &path, const XlsxPlainRows &rows, int firstColumn, XlsxDocument::CellOrder order,
               bool header, bool apart)
{
    XlsxDocument document;
    XlsxFormatSpec boldSpec;
    boldSpec.bold = true;
    lxw_format *bold = document.addFormat(boldSpec);
    document.writeString(1, 1, QStringLiteral("Отчет"), bold);
    document.addSheet(QStringLiteral("Данные"), order);
    if (header)
        document.writeString(1, firstColumn, QStringLiteral("Номер"), bold);
    if (apart) {
        document.writePlainRows(2, firstColumn, rows);
    } else {
        for (int index = 0; index < rows.rowCount(); ++index)
            for (int i = 0; i < rows.columnCount(); ++i) {
                const XlsxPlainRows::Cell cell = rows.cell(index, i);
                const int row = 2 + index;
                const int column = firstColumn + i;
                if (cell.kind == XlsxPlainRows::Kind::Number)
                    document.writeNumber(row, column, cell.number, nullptr, QString());
                else if (cell.kind == XlsxPlainRows::Kind::Text)
                    document.writeString(row, column, cell.text, nullptr);
                else if (cell.kind == XlsxPlainRows::Kind::Flag)
                    document.writeBoolean(row, column, cell.flag, nullptr);
            }
    }
    document.writeString(rows.rowCount() + 3, firstColumn, QStringLiteral("конец"), bold);
    return document.saveAs(path);
}

} // namespace

class TestXlsxDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // Every cell of a streamed sheet is kept, beside a first sheet written in any order.
    void rowByRowSheetKeepsEveryCell()
    {
        constexpr int kRows = 3000;
        QTemporaryDir dir;
        const QString path = dir.filePath("streamed.xlsx");
        {
            XlsxDocument document;
            lxw_format *bold = document.addFormat([] {
                XlsxFormatSpec spec;
                spec.bold = true;
                return spec;
            }());
            document.writeString(3, 1, QStringLiteral("ниже"), nullptr);
            document.writeString(1, 2, QStringLiteral("выше"), bold);
            document.addSheet(QStringLiteral("Данные"), XlsxDocument::CellOrder::RowByRow);
            document.writeString(1, 1, QStringLiteral("Номер"), bold);
            document.writeString(1, 2, QStringLiteral("Значение"), bold);
            for (int row = 2; row <= kRows; ++row) {
                document.writeNumber(row, 1, row - 1, nullptr, QString());
                const double value = row == 100 ? std::numeric_limits<double>::quiet_NaN() : row * 0.5;
                document.writeNumber(row, 2, value, nullptr, QStringLiteral("нет числа"));
                document.writeBoolean(row, 3, row % 3 == 0, nullptr);
            }
            QVERIFY(document.saveAs(path));
        }
        const QJsonObject book = readWorkbook(path);
        QCOMPARE(cellValue(book, "A3").toString(), QStringLiteral("ниже"));
        QCOMPARE(cellValue(book, "B1").toString(), QStringLiteral("выше"));
        const QJsonArray rows = book.value("dataRows").toArray();
        QCOMPARE(rows.size(), kRows);
        QCOMPARE(rows.at(0).toArray().at(0).toObject().value("value").toString(), QStringLiteral("Номер"));
        QCOMPARE(rows.at(0).toArray().at(1).toObject().value("value").toString(), QStringLiteral("Значение"));
        for (int row = 2; row <= kRows; ++row) {
            const QJsonArray cells = rows.at(row - 1).toArray();
            QCOMPARE(cells.at(0).toObject().value("value").toDouble(), double(row - 1));
            if (row == 100)
                QCOMPARE(cells.at(1).toObject().value("value").toString(), QStringLiteral("нет числа"));
            else
                QCOMPARE(cells.at(1).toObject().value("value").toDouble(), row * 0.5);
            QCOMPARE(cells.at(2).toObject().value("value").toBool(), row % 3 == 0);
        }
    }

    void plainRowsAsTheLibraryWritesThem_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QVector<double>>("odd"); // the first readings
        QTest::addColumn<QString>("noNumberText");
        QTest::addColumn<int>("flagCount");
        QTest::addColumn<int>("firstColumn");
        QTest::addColumn<bool>("streamed");
        QTest::addColumn<bool>("header");
        QTest::addColumn<bool>("joined"); // the rows between the first and last are made apart
        const QVector<double> odd = {
            0.0,       -0.0,        -1.0,   kNaN, kInfinity, -kInfinity, 3.0e38, -3.4028234663852886e38,
            1e-45,     1e15,        1e16,   1e17, 0.1,       1e-5,       2.5e-7, 12345678.9,
            50.799988, 123456789.0, 65535.0};
        // Past one chunk of rows made at a time.
        QTest::newRow("many rows, odd readings")
            << 10000 << odd << QStringLiteral("\u2014") << 10000 << 1 << true << true << true;
        QTest::newRow("text with spaces and markup")
            << 40 << odd << QStringLiteral(" нет <числа> & ") << 40 << 1 << true << true << true;
        QTest::newRow("no text: no cell") << 40 << odd << QString() << 40 << 1 << true << true << true;
        // The first and last rows short of a cell: written cell by cell.
        QTest::newRow("shorter flag column")
            << 30 << odd << QStringLiteral("\u2014") << 12 << 1 << true << true << false;
        QTest::newRow("no cell in the first row")
            << 40 << QVector<double>{kNaN} << QString() << 40 << 1 << true << true << false;
        QTest::newRow("three rows") << 3 << odd << QStringLiteral("\u2014") << 3 << 1 << true << true << true;
        QTest::newRow("from column AA")
            << 300 << odd << QStringLiteral("\u2014") << 300 << 27 << true << true << true;
        QTest::newRow("two rows") << 2 << odd << QStringLiteral("\u2014") << 2 << 1 << true << true << false;
        QTest::newRow("one row") << 1 << odd << QStringLiteral("\u2014") << 1 << 1 << true << true << false;
        QTest::newRow("no rows") << 0 << odd << QStringLiteral("\u2014") << 0 << 1 << true << true << false;
        QTest::newRow("no header above")
            << 300 << odd << QStringLiteral("\u2014") << 300 << 2 << true << false << true;
        QTest::newRow("sheet in any order")
            << 300 << odd << QStringLiteral("\u2014") << 300 << 1 << false << true << false;
    }

    // Rows made apart and joined into the package are the library's own
    // bytes for the same cells, in an archive whose checksums hold; where
    // they cannot be, the library writes them all.
    void plainRowsAsTheLibraryWritesThem()
    {
        QFETCH(int, count);
        QFETCH(QVector<double>, odd);
        QFETCH(QString, noNumberText);
        QFETCH(int, flagCount);
        QFETCH(int, firstColumn);
        QFETCH(bool, streamed);
        QFETCH(bool, header);
        QFETCH(bool, joined);
        const XlsxPlainRows rows = readingRows(count, odd, noNumberText, flagCount);
        const XlsxDocument::CellOrder order =
            streamed ? XlsxDocument::CellOrder::RowByRow : XlsxDocument::CellOrder::Any;
        QTemporaryDir dir;
        const QString byCell = dir.filePath("cells.xlsx");
        const QString apart = dir.filePath("apart.xlsx");
        QVERIFY(writeRows(byCell, rows, firstColumn, order, header, false));
        QVERIFY(writeRows(apart, rows, firstColumn, order, header, true));
        const QByteArray answer =
            runReader(QStringLiteral("/usr/bin/python3"),
                      {QStringLiteral("-c"), QString::fromLatin1(kCompareScript), byCell, apart});
        const QJsonObject compared = QJsonDocument::fromJson(answer).object();
        QVERIFY2(!compared.isEmpty(), answer.constData());
        QCOMPARE(compared.value("broken").toArray(), QJsonArray({QJsonValue(), QJsonValue()}));
        const QJsonArray names = compared.value("names").toArray();
        QCOMPARE(names.at(1), names.at(0));
        QVERIFY(names.at(0).toArray().contains(QStringLiteral("xl/worksheets/sheet2.xml")));
        const QJsonArray different = compared.value("different").toArray();
        QVERIFY2(different.isEmpty(), QJsonDocument(different).toJson().constData());
        // Joined parts are compressed otherwise than the library's one stream.
        const QJsonArray alike = compared.value("compressedAlike").toArray();
        QCOMPARE(alike.contains(QStringLiteral("xl/worksheets/sheet2.xml")), !joined);
        QVERIFY(alike.contains(QStringLiteral("xl/worksheets/sheet1.xml")));
    }

    // A cell or rows written above the row being streamed cannot be kept:
    // the save fails instead of leaving them out, and no file is left behind.
    void writeAboveTheStreamedRowFailsTheSave_data()
    {
        QTest::addColumn<bool>("plainRows");
        QTest::newRow("a cell") << false;
        QTest::newRow("plain rows") << true;
    }

    void writeAboveTheStreamedRowFailsTheSave()
    {
        QFETCH(bool, plainRows);
        QTemporaryDir dir;
        const QString path = dir.filePath("broken.xlsx");
        XlsxDocument document;
        document.addSheet(QStringLiteral("Данные"), XlsxDocument::CellOrder::RowByRow);
        document.writeNumber(5, 1, 1.0, nullptr, QString());
        if (plainRows)
            document.writePlainRows(3, 2, readingRows(100, {}, QString(), 100));
        else
            document.writeNumber(2, 1, 2.0, nullptr, QString());
        QVERIFY(!document.saveAs(path));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(TestXlsxDocument)
#include "tst_xlsxdocument.moc"
