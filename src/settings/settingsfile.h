#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>

// config.json in the per-user application data folder.

// Full path of the file; creates its folder when missing.
QString configFilePath();

// The folder that holds the file.
QString configFolder();

// Where a file that could not be parsed is kept: config.json.bad beside it.
QString unreadableConfigPath();

// Writes a file with the defaults if, and only if, none exists.
void createDefaultConfig();

// The defaults of a new file (18 keys).
QJsonObject defaultConfig();

// The file's top-level object; empty when it cannot be read or parsed.
QJsonObject loadConfig();

// When the file was last written, as far as its folder tells.
struct ConfigStamp
{
    QDateTime modified;
    qint64 size = -1;

    bool operator==(const ConfigStamp &other) const { return modified == other.modified && size == other.size; }
};

ConfigStamp configStamp();

// What start-up found in the file.
struct ConfigAtStart
{
    QJsonObject object;
    ConfigStamp stamp;
    // The file held bytes that are no JSON object.
    bool unreadable = false;
    // Those bytes were copied to unreadableConfigPath().
    bool kept = false;
};

// loadConfig() for start-up: a file that holds something but cannot be parsed
// is first copied to unreadableConfigPath() (replacing an older copy), so that
// the rewrite at exit cannot lose what the operator had there.
ConfigAtStart loadConfigAtStart();

// Replaces the file's contents atomically: the previous file stays intact
// when the new one cannot be written completely.
bool saveConfig(const QJsonObject &object);

// saveConfig() with `key` set to `text`. A text that needs no escaping (a
// logo's base64) goes into the file's bytes as it is: copying megabytes
// through the JSON object costs more than writing them.
bool saveConfig(const QJsonObject &object, const QString &key, const QString &text);

// Parses the file's bytes; an empty object when they are not a JSON object.
QJsonObject parseConfig(const QByteArray &bytes);
