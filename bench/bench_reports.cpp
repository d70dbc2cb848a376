// Wall time to write one report, per writer and block size. Run by hand:
//   QT_QPA_PLATFORM=offscreen ./bench_reports
#include "report/excelreport.h"
#include "report/pdfreport.h"
#include "report/reportdata.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <ctime>

namespace {

// Seconds to write a block of 65535 values.
constexpr double kExcelGoal = 0.5;
constexpr double kPdfGoal = 5.0;

ReportData sampleReport(int valueCount)
{
    ReportData data;
    const QString sections[] = {QStringLiteral("Данные о компании"), QStringLiteral("Данные об отчете"),
                                QStringLiteral("Данные о приборе")};
    for (int i = 0; i < 15; ++i)
        data.content.fields.append({QStringLiteral("Поле %1").arg(i + 1),
                                    QStringLiteral("Значение %1").arg(i + 1),
                                    sections[i < 5    ? 0
                                             : i < 11 ? 1
                                                      : 2]});
    data.content.valueHeader = QStringLiteral("0001");
    data.content.values.reserve(valueCount);
    for (int i = 0; i < valueCount; ++i)
        data.content.values.append(float(50.0 + 80.0 * std::sin(i * 0.01)));
    data.includeEmptyFields = true;
    data.title = QStringLiteral("Отчет о проведении контроля");
    data.numberHeader = QStringLiteral("Номер");
    data.statisticsHeading = QStringLiteral("Статистика");
    data.minimum = {QStringLiteral("Минимум"), -30.0};
    data.maximum = {QStringLiteral("Максимум"), 130.0};
    data.mean = {QStringLiteral("Среднее"), 50.2};
    data.stdev = {QStringLiteral("СКО"), 56.6};
    data.logo = QImage(300, 200, QImage::Format_ARGB32);
    data.logo.fill(Qt::darkBlue);
    QImage plot(600, 400, QImage::Format_ARGB32);
    plot.fill(Qt::white);
    QPainter(&plot).drawLine(0, 0, 599, 399);
    data.plots = {plot, plot};
    data.toleranceText = QStringLiteral("Допуск: [0; 100]");
    data.outside.reserve(valueCount);
    for (const float value : data.content.values)
        data.outside.append(value < 0.0f || value > 100.0f);
    data.verdict = {{QStringLiteral("Вне допуска"), QStringLiteral("1 из 3 (33,3 %)")},
                    {QStringLiteral("Заключение"), QStringLiteral("Не соответствует")},
                    {QStringLiteral("Cp"), QStringLiteral("0,29")},
                    {QStringLiteral("Cpk"), QStringLiteral("0,29")}};
    data.blockLine =
        QStringLiteral("Блок: Фланец 0001; показаний: %1; считан: 01.02.2024 10:20:30").arg(valueCount);
    data.pageHeader = QStringLiteral("Отчет № 17 · Фланец 0001 · 01.02.2024");
    data.pageOfPages = QStringLiteral("стр. %1 из %2");
    data.documentTitle = data.title;
    data.creator = QStringLiteral("ZRV");
    data.dataSheetName = QStringLiteral("Данные");
    data.dataValueHeader = QStringLiteral("Значение");
    data.dataInBandHeader = QStringLiteral("В допуске");
    data.commentsHeading = QStringLiteral("Комментарии");
    data.comments = QStringLiteral("Без замечаний.");
    data.signature = QStringLiteral("Контроль проведён____, подпись");
    return data;
}

} // namespace

class BenchReports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void writers_data()
    {
        QTest::addColumn<QString>("writer");
        QTest::addColumn<int>("values");
        QTest::addColumn<int>("wideAt");  // index of one reading of 3e38; -1: none
        QTest::addColumn<double>("goal"); // seconds; 0: none
        for (const char *writer : {"excel", "pdf"})
            for (int values : {1000, 10000, 65535})
                QTest::addRow("%s %d", writer, values) << QString::fromLatin1(writer) << values << -1
                                                       << (values < 65535                ? 0.0
                                                           : writer == QByteArray("pdf") ? kPdfGoal
                                                                                         : kExcelGoal);
        // One reading of 39 digits: its row wraps, the pages around it are laid out.
        QTest::addRow("pdf 65535, one wide value") << QStringLiteral("pdf") << 65535 << 65535 / 2 << kPdfGoal;
        QTest::addRow("pdf 65535, one wide value on the first page")
            << QStringLiteral("pdf") << 65535 << 5 << kPdfGoal;
    }

    void writers()
    {
        QFETCH(QString, writer);
        QFETCH(int, values);
        QFETCH(int, wideAt);
        QFETCH(double, goal);
        const bool wide = wideAt >= 0;
        ReportData data = sampleReport(values);
        if (wide)
            data.content.values[wideAt] = 3.0e38f;
        int pages = 0;
        QTemporaryDir dir;
        const QString path = dir.filePath(writer == QLatin1String("pdf") ? "r.pdf" : "r.xlsx");
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpuStart = std::clock();
        const bool ok = writer == QLatin1String("pdf")
                            ? writePdfReportFile(path, data, true, [&pages](int, int all) { pages = all; })
                            : writeExcelReportFile(path, data).saved;
        QVERIFY(ok);
        // Wall time depends on what else the machine runs; CPU time less so.
        const double cpu = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        qInfo("%s, %d values%s: %.3f s wall, %.3f s CPU, %lld bytes, %d pages%s", qPrintable(writer), values,
              wide ? " (one wide)" : "", clock.nsecsElapsed() / 1e9, cpu, QFileInfo(path).size(), pages,
              goal > 0 ? qPrintable(QStringLiteral("; goal <= %1 s").arg(goal)) : "");
    }
};

QTEST_MAIN(BenchReports)
#include "bench_reports.moc"
