#include "report/reportassembly.h"

#include "report/reporttexts.h"
#include "report/verdicttexts.h"

#include <QCoreApplication>
#include <QStringList>
#include <cmath>

namespace {
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
const QString kReadAtFormat = QStringLiteral("dd.MM.yyyy hh:mm:ss");
const QString kSignedAtFormat = QStringLiteral("dd.MM.yyyy hh:mm");
const QString kPartSeparator = QStringLiteral(" \u00B7 "); // middle dot
const QString kCreator = QStringLiteral("ZRV " ZRV_VERSION);
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
    if (!source.band.on)
        return data;
    data.toleranceText = reportTextWithUnit(
        reportToleranceText(windowText("Допуск: ["), source.band.lower, source.band.upper), data.unit);
    data.outside = readingsOutOfBand(block.values, source.band);
    const VerdictTexts verdict = verdictTexts(block.values, source.band);
    data.verdict = {{source.captions.outOfBand, verdict.outOfBand},
                    {source.captions.verdict, verdict.verdict},
                    {source.captions.cp, verdict.cp},
                    {source.captions.cpk, verdict.cpk}};
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
        return QString::number(statistic, 'f', kStatisticDecimals).toDouble();
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
    data.documentTitle = source.hasBlock ? data.title + kPartSeparator + source.block.name : data.title;
    data.author = source.operatorName;
    data.subject = source.companyName;
    data.creator = kCreator;
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
    return data;
}
