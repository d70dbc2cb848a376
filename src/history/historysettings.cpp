#include "history/historysettings.h"

#include "settings/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

QString historySettingsPath(const QString &folder)
{
    return folder + QStringLiteral("/history.json");
}

QString historyDatabasePath(const QString &folder)
{
    return folder + QStringLiteral("/history.sqlite");
}

HistorySettings loadHistorySettings(const QString &folder)
{
    using namespace HistoryKeys;
    HistorySettings settings;
    QFile file(historySettingsPath(folder));
    if (!file.open(QIODevice::ReadOnly))
        return settings;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    if (object.value(kBackend).toString() == kPostgres)
        settings.backend = HistoryBackend::Postgres;
    settings.server.host = object.value(kHost).toString();
    settings.server.port = object.value(kPort).toInt(HistoryServer::kDefaultPort);
    settings.server.database = object.value(kDatabase).toString();
    settings.server.user = object.value(kUser).toString();
    return settings;
}

bool saveHistorySettings(const QString &folder, const HistorySettings &settings)
{
    using namespace HistoryKeys;
    QJsonObject object;
    object.insert(kBackend, settings.backend == HistoryBackend::Postgres ? kPostgres : kSqlite);
    object.insert(kHost, settings.server.host);
    object.insert(kPort, settings.server.port);
    object.insert(kDatabase, settings.server.database);
    object.insert(kUser, settings.server.user);

    QDir().mkpath(folder);
    return writeFileAtomically(historySettingsPath(folder), QJsonDocument(object).toJson(QJsonDocument::Indented));
}
