#pragma once

#include <QJsonObject>
#include <QString>

// config.json in the per-user application data folder.

// Full path of the file; creates its folder when missing.
QString configFilePath();

// Writes a file with the defaults if, and only if, none exists.
void createDefaultConfig();

// The defaults of a new file (18 keys).
QJsonObject defaultConfig();

// The file's top-level object; empty when it cannot be read or parsed.
QJsonObject loadConfig();

// Replaces the file's contents atomically: the previous file stays intact
// when the new one cannot be written completely.
bool saveConfig(const QJsonObject &object);

// Parses the file's bytes; an empty object when they are not a JSON object.
QJsonObject parseConfig(const QByteArray &bytes);
