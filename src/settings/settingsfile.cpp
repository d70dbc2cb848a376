#include "settings/settingsfile.h"

#include "settings/settingskeys.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

bool writeJsonAtomically(const QString &path, const QJsonObject &object)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
    // A full disk shows only when the buffer goes out: a short write is
    // accepted there, and commit() would then put a cut file in place.
    if (file.write(text) != text.size() || !file.flush() || file.size() != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

QString configFilePath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir dir(folder);
    if (!dir.exists())
        dir.mkpath(QStringLiteral("."));
    return folder + QStringLiteral("/config.json");
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
    createDefaultConfig();
    QFile file(configFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    file.close();
    return parseConfig(bytes);
}

bool saveConfig(const QJsonObject &object)
{
    return writeJsonAtomically(configFilePath(), object);
}

QJsonObject parseConfig(const QByteArray &bytes)
{
    const QJsonDocument document = QJsonDocument::fromJson(bytes);
    if (document.isNull() || !document.isObject())
        return {};
    return document.object();
}
