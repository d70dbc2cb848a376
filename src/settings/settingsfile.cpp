#include "settings/settingsfile.h"

#include "settings/atomicfile.h"
#include "settings/settingskeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>

namespace {

bool writeJsonAtomically(const QString &path, const QJsonObject &object)
{
    return writeFileAtomically(path, QJsonDocument(object).toJson(QJsonDocument::Indented));
}

// Printable ASCII other than the quote and the backslash: JSON text as it is.
bool needsNoEscaping(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) {
        const ushort code = c.unicode();
        return code >= 0x20 && code < 0x7f && code != '"' && code != '\\';
    });
}

// The file's bytes; empty when it cannot be read.
QByteArray readConfigBytes()
{
    createDefaultConfig();
    QFile file(configFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace

QString configFilePath()
{
    const QString folder = configFolder();
    QDir dir(folder);
    if (!dir.exists())
        dir.mkpath(QStringLiteral("."));
    return folder + QStringLiteral("/config.json");
}

QString configFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString unreadableConfigPath()
{
    return configFilePath() + QStringLiteral(".bad");
}

QJsonObject defaultConfig()
{
    using namespace SettingsKeys;
    QJsonObject object;
    for (const QLatin1String &key :
         {kCompanyName, kCompanyCity, kCompanyAddress, kCompanyPhone, kCompanyWebsite, kDeviceName,
          kDeviceType, kDeviceNumber, kDeviceDocumentNumber, kLogoImage, kReportOperator, kReportDetailName,
          kReportMaterial, kReportBatchNumber, kComments})
        object.insert(key, QString());
    object.insert(kAppFontSize, kDefaultFontSize);
    object.insert(kLimitsMin, kDefaultLimitsMin);
    object.insert(kLimitsMax, kDefaultLimitsMax);
    return object;
}

void createDefaultConfig()
{
    const QString path = configFilePath();
    if (QFile::exists(path))
        return;
    writeJsonAtomically(path, defaultConfig());
}

QJsonObject loadConfig()
{
    return parseConfig(readConfigBytes());
}

ConfigStamp configStamp()
{
    const QFileInfo file(configFilePath());
    if (!file.isFile())
        return {};
    return {file.lastModified(), file.size()};
}

ConfigAtStart loadConfigAtStart()
{
    ConfigAtStart found;
    const QByteArray bytes = readConfigBytes();
    found.stamp = configStamp();
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (document.isObject()) {
        found.object = document.object();
        return found;
    }
    // Nothing to keep in a file that could not be read or holds nothing.
    if (bytes.trimmed().isEmpty())
        return found;
    found.unreadable = true;
    found.kept = writeFileAtomically(unreadableConfigPath(), bytes);
    return found;
}

bool saveConfig(const QJsonObject &object)
{
    return writeJsonAtomically(configFilePath(), object);
}

bool saveConfig(const QJsonObject &object, const QString &key, const QString &text)
{
    QJsonObject others;
    for (auto it = object.constBegin(); it != object.constEnd(); ++it) {
        if (it.key() != key)
            others.insert(it.key(), it.value());
    }
    if (!needsNoEscaping(text)) {
        others.insert(key, text);
        return writeJsonAtomically(configFilePath(), others);
    }
    // A marker no other value holds stands for the text in the JSON, then
    // its bytes are put there.
    const QByteArray marker = QUuid::createUuid().toByteArray(QUuid::Id128);
    others.insert(key, QString::fromLatin1(marker));
    QByteArray bytes = QJsonDocument(others).toJson(QJsonDocument::Indented);
    bytes.replace(bytes.indexOf('"' + marker + '"') + 1, marker.size(), text.toLatin1());
    return writeFileAtomically(configFilePath(), bytes);
}

QJsonObject parseConfig(const QByteArray &bytes)
{
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (document.isNull() || !document.isObject())
        return {};
    return document.object();
}
