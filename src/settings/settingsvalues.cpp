#include "settings/settingsvalues.h"

#include "settings/logoimage.h"
#include "settings/settingskeys.h"


namespace {

const QLatin1String kTextKeys[] = {
    SettingsKeys::kCompanyName,      SettingsKeys::kCompanyCity,      SettingsKeys::kCompanyAddress,
    SettingsKeys::kCompanyPhone,     SettingsKeys::kCompanyWebsite,   SettingsKeys::kDeviceName,
    SettingsKeys::kDeviceType,       SettingsKeys::kDeviceNumber,     SettingsKeys::kDeviceDocumentNumber,
    SettingsKeys::kReportOperator,   SettingsKeys::kReportDetailName, SettingsKeys::kReportMaterial,
    SettingsKeys::kReportBatchNumber};

} // namespace

SettingsValues settingsFromObject(const QJsonObject &object)
{
    using namespace SettingsKeys;
    SettingsValues values;
    for (const QLatin1String &key : kTextKeys)
        values.texts.append({key, object.value(key).toString()});
    values.logo = imageFromBase64(object.value(kLogoImage).toString());
    values.fontSize = object.value(kAppFontSize).toInt(0);
    values.limitsMin = object.value(kLimitsMin).toDouble(0);
    values.limitsMax = object.value(kLimitsMax).toDouble(0);
    values.comments = object.value(kComments).toString();
    return values;
}

void storeSettingsValues(const SettingsValues &values, QJsonObject &object)
{
    using namespace SettingsKeys;
    for (const auto &text : values.texts)
        object.insert(text.first, text.second);
    object.insert(kLogoImage, imageToBase64(values.logo));
    object.insert(kAppFontSize, values.fontSize);
    object.insert(kLimitsMin, values.limitsMin);
    object.insert(kLimitsMax, values.limitsMax);
    object.insert(kComments, values.comments);
}
