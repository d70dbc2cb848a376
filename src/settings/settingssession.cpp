#include "settings/settingssession.h"

#include "settings/settingskeys.h"

SettingsSession::SettingsSession()
    : found(loadConfigAtStart())
{}

SettingsValues SettingsSession::startValues() const
{
    return settingsFromObject(found.object, LogoDecoding::Later);
}

bool SettingsSession::unreadable() const
{
    return found.unreadable;
}

bool SettingsSession::keptAside() const
{
    return found.kept;
}

bool SettingsSession::store(SettingsValues values)
{
    if (found.unreadable && !found.kept)
        return false;
    const bool fileAsRead = found.stamp.size >= 0 && configStamp() == found.stamp;
    QJsonObject config = fileAsRead ? found.object : loadConfig();
    values.logoAsStored = fileAsRead && !values.logoText.isEmpty();
    // Nothing changed (the usual case): a large logo is not written again.
    if (!storeSettingsValues(values, config))
        return true;
    const bool saved = values.logoAsStored ? saveConfig(config, SettingsKeys::kLogoImage, values.logoText)
                                           : saveConfig(config);
    // A second store in the same run starts from what was just written.
    if (saved) {
        found.object = config;
        found.stamp = configStamp();
    }
    return saved;
}
