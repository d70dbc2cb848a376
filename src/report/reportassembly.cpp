#include "report/reportassembly.h"

#include "report/reporttexts.h"
#include "report/verdicttexts.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
const QString kReadAtFormat = QStringLiteral("dd.MM.yyyy hh:mm:ss");
const QString kSignedAtFormat = QStringLiteral("dd.MM.yyyy hh:mm");
const QString kPartSeparator = QStringLiteral(" \u00B7 "); // middle dot
const QString kCreator = QStringLiteral("ZRV " ZRV_VERSION);
const QString kKeywordSeparator = QStringLiteral("; ");
constexpr int kStatisticDecimals = 1;

// The texts belong to the window's catalogue contexts, where they were written first.
QString windowText(const char *source)
{
    return QCoreApplication::translate("MainWindow", source);
}

QString exportText(const char *source)
{
    return QCoreApplication::translate("ReportExport", source);
}

// The same information in both forms; the title in the PDF's wording.
void setDocumentInformation(ReportData &data, const ReportSource &source)
{
    const QString title = windowText("Отчет о проведении контроля");
    data.documentTitle = source.hasBlock ? title + kPartSeparator + source.block.name : title;
    data.author = source.operatorName;
    data.subject = source.companyName;
    data.creator = kCreator;
    data.company = source.companyName;
    QStringList keywords;
    if (!source.reportNumber.trimmed().isEmpty())
        keywords.append(exportText("Отчет № %1").arg(source.reportNumber.trimmed()));
    if (source.hasBlock)
        keywords.append(source.block.name);
    keywords.append(source.reportDate.toString(kDateFormat));
    data.keywords = keywords.join(kKeywordSeparator);
}

// The window's four rows first, in their places; the overall indices, the
// sample and the intervals after them.
QVector<ReportLine> verdictLines(const VerdictTexts &verdict, const ReportCaptions &captions)
{
    QVector<ReportLine> lines = {{captions.outOfBand, verdict.outOfBand},
                                 {captions.verdict, verdict.verdict},
                                 {captions.cp, verdict.cp},
                                 {captions.cpk, verdict.cpk},
                                 {exportText("Pp"), verdict.pp},
                                 {exportText("Ppk"), verdict.ppk},
                                 {exportText("Объём выборки, n"), verdict.sample},
                                 {exportText("Cp, 95 % интервал"), verdict.cpInterval},
                                 {exportText("Cpk, 95 % интервал"), verdict.cpkInterval},
                                 {exportText("Pp, 95 % интервал"), verdict.ppInterval},
                                 {exportText("Ppk, 95 % интервал"), verdict.ppkInterval}};
    if (!verdict.note.isEmpty())
        lines.append({exportText("Примечание"), verdict.note});
    return lines;
}

// What the marks printed in the value table mean, those printed only;
// empty when none is.
QString markLegend(const QVector<BandMark> &marks)
{
    QStringList entries;
    if (marks.contains(BandMark::Above))
        entries.append(exportText("▲ — выше Max"));
    if (marks.contains(BandMark::Below))
        entries.append(exportText("▼ — ниже Min"));
    return entries.join(QStringLiteral(", "));
}

ReportData commonData(const ReportSource &source, bool includeEmptyFields)
{
    ReportData data;
    data.content = source.content;
    data.includeEmptyFields = includeEmptyFields;
    data.numberHeader = windowText("Номер");
    data.minimum = {source.captions.minimum, source.statistics.minimum};
    data.maximum = {source.captions.maximum, source.statistics.maximum};
    data.mean = {source.captions.mean, source.statistics.mean};
    data.stdev = {source.captions.stdev, source.statistics.stdev};
    data.logo = source.logo;
    data.plots = source.plots;
    data.comments = source.comments;
    data.valueDecimals = source.valueDecimals;
    data.unit = source.unit.trimmed();
    data.content.valueHeader = reportHeaderWithUnit(data.content.valueHeader, data.unit);
    data.statisticDecimals = reportStatisticDecimals(source.statistics.stdev, source.valueDecimals);
    data.differenceDecimals = std::max(kStatisticDecimals, source.valueDecimals);
    data.analysis = analysisSection(source.analysis);
    if (!source.hasBlock)
        return data;

    const MemoryBlock &block = source.block;
    const QString readAt =
        block.readAt.isValid() ? block.readAt.toLocalTime().toString(kReadAtFormat) : kNoNumberText;
    data.blockLine = exportText("Блок: %1; показаний: %2; считан: %3")
                         .arg(block.name)
                         .arg(block.values.size())
                         .arg(readAt);
    data.summaryHeading = exportText("Сводка");
    data.summary = {{exportText("Блок"), block.name},
                    {exportText("Показаний"), QString::number(block.values.size())},
                    {exportText("Считан"), readAt}};

    // The band is described whenever it is on, with or without the plots.
    if (!source.band.on) {
        data.toleranceText = exportText("Допуск не задан — заключение не выносится");
        return data;
    }
    data.toleranceText = reportTextWithUnit(
        reportToleranceText(windowText("Допуск: ["), activeLower(source.band), activeUpper(source.band)),
        data.unit);
    data.outside = readingsOutOfBand(block.values, source.band);
    data.marks = readingMarks(block.values, source.band);
    data.markLegend = markLegend(data.marks);
    const VerdictTexts verdict = verdictTexts(block.values, source.band);
    data.verdict = verdictLines(verdict, source.captions);
    data.pageVerdict = QStringList{source.captions.verdict + QStringLiteral(": ") + verdict.verdict,
                                   source.captions.cpk + QLatin1Char(' ') + verdict.cpk,
                                   exportText("Ppk") + QLatin1Char(' ') + verdict.ppk}
                           .join(kPartSeparator);
    return data;
}

void setPageHeader(ReportData &data, const ReportSource &source)
{
    QStringList header;
    if (!source.reportNumber.trimmed().isEmpty())
        header.append(exportText("Отчет № %1").arg(source.reportNumber.trimmed()));
    // A long number gives way in the running header; the block and date stay.
    data.pageHeaderNumber = header.value(0);
    if (source.hasBlock)
        header.append(source.block.name);
    header.append(source.reportDate.toString(kDateFormat));
    data.pageHeader = header.join(kPartSeparator);
    data.pageOfPages = exportText("стр. %1 из %2");
}

} // namespace

ReportCaptions defaultReportCaptions()
{
    return {windowText("Min"),         windowText("Max"),        windowText("Среднее"), windowText("σ"),
            windowText("Вне допуска"), windowText("Заключение"), windowText("Cp"),      windowText("Cpk"),
            windowText("Статистика"),  windowText("Комментарии")};
}

BlockStatistics statisticsAsShown(const BlockStatistics &statistics)
{
    const auto asShown = [](double statistic) {
        if (!std::isfinite(statistic))
            return statistic;
        return QString::number(statistic, 'f', kStatisticDecimals).toDouble() + 0.0;
    };
    return {asShown(statistics.minimum), asShown(statistics.maximum), asShown(statistics.mean),
            asShown(statistics.stdev)};
}

QVector<ReportField> reportFormFields(const QStringList &values)
{
    struct Row
    {
        const char *section;
        const char *label;
    };
    static const Row rows[kReportFormFields] = {
        {"Данные о компании", "Компания"},
        {"Данные о компании", "Город"},
        {"Данные о компании", "Адрес"},
        {"Данные о компании", "Телефон"},
        {"Данные о компании", "Вебсайт"},
        {"Данные об отчете", "Номер отчета"},
        {"Данные об отчете", "Дата"},
        {"Данные об отчете", "Оператор"},
        {"Данные об отчете", "Наименование детали"},
        {"Данные об отчете", "Материал"},
        {"Данные об отчете", "Номер партии"},
        {"Данные о приборе", "Название прибора"},
        {"Данные о приборе", "Тип прибора"},
        {"Данные о приборе", "Номер прибора"},
        {"Данные о приборе", "Свидетельство о поверке"},
    };
    QVector<ReportField> fields;
    for (int i = 0; i < kReportFormFields; ++i)
        fields.append({windowText(rows[i].label), values.value(i), windowText(rows[i].section)});
    return fields;
}

ReportData pdfReportData(const ReportSource &source, bool includeEmptyFields)
{
    ReportData data = commonData(source, includeEmptyFields);
    data.title = windowText("Отчет о проведении контроля");
    data.statisticsHeading = windowText("Статистика");
    data.commentsHeading = windowText("Комментарии");
    data.signature = windowText("Контроль проведён____________________________________________, подпись");

    setPageHeader(data, source);
    setDocumentInformation(data, source);
    return data;
}

QString signedByLine(const QString &signer, const QDateTime &signedAt)
{
    return exportText("Подписано: %1, %2").arg(signer, signedAt.toLocalTime().toString(kSignedAtFormat));
}

ReportData excelReportData(const ReportSource &source, bool includeEmptyFields)
{
    ReportData data = commonData(source, includeEmptyFields);
    data.title = windowText("ОТЧЕТ О ПРОВЕДЕНИИ КОНТРОЛЯ");
    data.statisticsHeading = source.captions.statistics;
    data.commentsHeading = source.captions.comments;
    data.signature = windowText("Контроль проведён____________________________________, подпись");
    data.dataSheetName = exportText("Данные");
    data.dataValueHeader = reportHeaderWithUnit(exportText("Значение"), data.unit);
    data.dataInBandHeader = exportText("В допуске");
    setPageHeader(data, source);
    setDocumentInformation(data, source);
    return data;
}
