// The workbook writer's sheet whose cells are streamed row by row, read back
// by openpyxl.
#include "report/xlsxdocument.h"
#include "xlsxreader.h"

#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <limits>

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

    // A cell written above the row being streamed cannot be kept: the save
    // fails instead of leaving it out, and no file is left behind.
    void cellAboveTheStreamedRowFailsTheSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("broken.xlsx");
        XlsxDocument document;
        document.addSheet(QStringLiteral("Данные"), XlsxDocument::CellOrder::RowByRow);
        document.writeNumber(5, 1, 1.0, nullptr, QString());
        document.writeNumber(2, 1, 2.0, nullptr, QString());
        QVERIFY(!document.saveAs(path));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(TestXlsxDocument)
#include "tst_xlsxdocument.moc"
