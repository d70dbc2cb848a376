#pragma once

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QString>

// The window's settings file, where the test mode of QStandardPaths puts it.
inline QString configPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/config.json");
}

// Its settings as written; empty when there is no file or no JSON object in it.
inline QJsonObject readConfig()
{
    QFile file(configPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}
