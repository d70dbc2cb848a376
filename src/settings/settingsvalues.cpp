#include "settings/settingsvalues.h"

#include "settings/logoimage.h"
#include "settings/settingskeys.h"

#include <QtGlobal>
#include <cmath>

namespace {

const QLatin1String kTextKeys[] = {
    SettingsKeys::kCompanyName,      SettingsKeys::kCompanyCity,      SettingsKeys::kCompanyAddress,
    SettingsKeys::kCompanyPhone,     SettingsKeys::kCompanyWebsite,   SettingsKeys::kDeviceName,
    SettingsKeys::kDeviceType,       SettingsKeys::kDeviceNumber,     SettingsKeys::kDeviceDocumentNumber,
    SettingsKeys::kReportOperator,   SettingsKeys::kReportDetailName, SettingsKeys::kReportMaterial,
    SettingsKeys::kReportBatchNumber};

// A whole number, however large, is a size to clamp; anything else changes no font.
int fontSizeFrom(const QJsonValue &value)
{
    if (!value.isDouble())
        return 0;
    const double number = value.toDouble();
    if (std::floor(number) != number)
        return 0;
    return int(qBound<double>(SettingsKeys::kMinFontSize, number, SettingsKeys::kMaxFontSize));
}

constexpr int kToleranceKinds = 3;
const QLatin1String kToleranceKindNames[kToleranceKinds] = {
    QLatin1String("two_sided"), QLatin1String("lower_only"), QLatin1String("upper_only")};

// An unknown name is the two-sided band the program always had.
int toleranceKindFrom(const QString &name)
{
    for (int kind = 0; kind < kToleranceKinds; ++kind)
        if (name == kToleranceKindNames[kind])
            return kind;
    return 0;
}

const QLatin1String kAutoDecimalsName("auto");
constexpr int kAutoDecimals = -1;
constexpr int kMostDecimals = 4;

// A whole number from 1 to 4; anything else is Авто, the rule the program always had.
int decimalsFrom(const QJsonValue &value)
{
    const double number = value.toDouble(kAutoDecimals);
    if (std::floor(number) != number || number < 1 || number > kMostDecimals)
        return kAutoDecimals;
    return int(number);
}

} // namespace

SettingsValues settingsFromObject(const QJsonObject &object, LogoDecoding decoding)
{
    using namespace SettingsKeys;
    SettingsValues values;
    for (const QLatin1String &key : kTextKeys)
        values.texts.append({key, object.value(key).toString()});
    const QString logoText = object.value(kLogoImage).toString();
    if (decoding == LogoDecoding::Later) {
        values.logoText = logoText;
    } else {
        values.logo = imageFromBase64(logoText);
        if (!values.logo.isNull())
            values.logoText = logoText;
    }
    values.fontSize = fontSizeFrom(object.value(kAppFontSize));
    values.limitsMin = object.value(kLimitsMin).toDouble(0);
    values.limitsMax = object.value(kLimitsMax).toDouble(0);
    values.comments = object.value(kComments).toString();
    values.toleranceKind = toleranceKindFrom(object.value(kToleranceKind).toString());
    values.windowGeometry = QByteArray::fromBase64(object.value(kWindowGeometry).toString().toLatin1());
    values.splitterSizes = QByteArray::fromBase64(object.value(kSplitterSizes).toString().toLatin1());
    values.signingCertificatePath = object.value(kSigningCertificatePath).toString();
    values.signPdf = object.value(kSignPdf).toBool(false);
    values.unit = object.value(kReportUnit).toString();
    values.valueDecimals = decimalsFrom(object.value(kValueDecimals));
    values.includeAnalysis = object.value(kIncludeAnalysis).toBool(false);
    return values;
}

bool storeSettingsValues(const SettingsValues &values, QJsonObject &object)
{
    using namespace SettingsKeys;
    // An insert rebuilds the object's storage, a large logo included: only
    // what changed goes in.
    bool changed = false;
    const auto store = [&object, &changed](const QString &key, const QJsonValue &value) {
        if (object.value(key) == value)
            return;
        object.insert(key, value);
        changed = true;
    };
    for (const auto &text : values.texts)
        store(text.first, text.second);
    if (!values.logoAsStored)
        store(kLogoImage, values.logoText.isEmpty() ? imageToBase64(values.logo) : values.logoText);
    store(kAppFontSize, clampFontSize(values.fontSize));
    store(kLimitsMin, values.limitsMin);
    store(kLimitsMax, values.limitsMax);
    store(kComments, values.comments);
    // Like the window's place, the key appears once a one-sided band was chosen.
    if (values.toleranceKind != 0 || object.contains(kToleranceKind))
        store(kToleranceKind, kToleranceKindNames[qBound(0, values.toleranceKind, kToleranceKinds - 1)]);
    if (!values.windowGeometry.isEmpty())
        store(kWindowGeometry, QString::fromLatin1(values.windowGeometry.toBase64()));
    if (!values.splitterSizes.isEmpty())
        store(kSplitterSizes, QString::fromLatin1(values.splitterSizes.toBase64()));
    store(kSigningCertificatePath, values.signingCertificatePath);
    store(kSignPdf, values.signPdf);
    // A unit once kept is kept emptied too, so that clearing the field lasts.
    if (!values.unit.isEmpty() || object.contains(kReportUnit))
        store(kReportUnit, values.unit);
    // Like the tolerance kind, the key appears once a count was chosen.
    const int decimals = decimalsFrom(values.valueDecimals);
    if (decimals != kAutoDecimals || object.contains(kValueDecimals))
        store(kValueDecimals,
              decimals == kAutoDecimals ? QJsonValue(kAutoDecimalsName) : QJsonValue(decimals));
    // Like the unit, the key appears once the box was ticked.
    if (values.includeAnalysis || object.contains(kIncludeAnalysis))
        store(kIncludeAnalysis, values.includeAnalysis);
    return changed;
}

int clampFontSize(int pointSize)
{
    return qBound(SettingsKeys::kMinFontSize, pointSize, SettingsKeys::kMaxFontSize);
}
