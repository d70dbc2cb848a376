#pragma once

#include "report/reportsource.h"

#include <QString>

// The parts of a report that come from the window's form: the fields, the
// logo and the comments, taken from a form file or else from config.json.
struct StationForm
{
    QVector<ReportField> fields;
    QImage logo;
    QString comments;
    QString reportNumber;
    QDate reportDate;
    QString operatorName;
    QString companyName;
    QString companyCity; // the place of a signed report's signature
};

// `path` empty: config.json. False with `why` when the file cannot be read
// or holds no JSON object.
bool loadStationForm(const QString &path, StationForm *form, QString *why);
