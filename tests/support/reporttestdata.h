#pragma once

#include "report/reportdata.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QStringList>

// A complete report with every field filled, as the window would gather it.
inline ReportData sampleReportData(int valueCount)
{
    ReportData data;
    const QString company = QStringLiteral("Данные о компании");
    const QString report = QStringLiteral("Данные об отчете");
    const QString device = QStringLiteral("Данные о приборе");
    const QStringList labels = {"Компания",    "Город",         "Адрес",
                                "Телефон",     "Вебсайт",       "Номер отчета",
                                "Дата",        "Оператор",      "Наименование детали",
                                "Материал",    "Номер партии",  "Название прибора",
                                "Тип прибора", "Номер прибора", "Свидетельство о поверке"};
    for (int i = 0; i < labels.size(); ++i)
        data.content.fields.append({labels.at(i), QStringLiteral("знач%1").arg(i + 1),
                                    i < 5    ? company
                                    : i < 11 ? report
                                             : device});
    data.content.valueHeader = QStringLiteral("0001");
    for (int i = 0; i < valueCount; ++i)
        data.content.values.append(float(10.0 + i % 7 * 0.25));
    data.includeEmptyFields = true;
    data.title = QStringLiteral("Отчет о проведении контроля");
    data.blockLine = QStringLiteral("Блок: Фланец 0001; показаний: %1; считан: 01.02.2024 10:20:30").arg(valueCount);
    data.numberHeader = QStringLiteral("Номер");
    data.statisticsHeading = QStringLiteral("Статистика");
    data.minimum = {QStringLiteral("Мин"), 10.0};
    data.maximum = {QStringLiteral("Макс"), 11.5};
    data.mean = {QStringLiteral("Среднее"), 10.7};
    data.stdev = {QStringLiteral("СКО"), 0.5};
    data.commentsHeading = QStringLiteral("Комментарии");
    data.comments = QStringLiteral("Замечаний нет");
    data.signature = QStringLiteral("Контроль проведён____________________________________________, подпись");
    data.pageHeader = QStringLiteral("Отчет № 17/2024-К · Фланец 0001 · 01.02.2024");
    data.pageOfPages = QStringLiteral("стр. %1 из %2");
    data.documentTitle = QStringLiteral("Отчет о проведении контроля · Фланец 0001");
    data.author = QStringLiteral("Иванов И. И.");
    data.subject = QStringLiteral("ООО Ромашка");
    data.creator = QStringLiteral("ZRV 9.9.9");
    data.dataSheetName = QStringLiteral("Данные");
    data.dataValueHeader = QStringLiteral("Значение");
    data.dataInBandHeader = QStringLiteral("В допуске");
    return data;
}

inline QImage solidImage(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QPainter(&image).drawLine(0, 0, width - 1, height - 1);
    return image;
}
