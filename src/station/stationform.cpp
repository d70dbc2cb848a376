#include "station/stationform.h"

#include "report/reportassembly.h"
#include "settings/logoimage.h"
#include "settings/settingsfile.h"
#include "settings/settingskeys.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
// The two fields of the form that config.json does not hold.
const QLatin1String kReportNumberKey{"report_number"};
const QLatin1String kReportDateKey{"report_date"};

QString formText(const char *source)
{
    return QCoreApplication::translate("StationForm", source);
}

} // namespace

bool loadStationForm(const QString &path, StationForm *form, QString *why)
{
    QJsonObject object;
    if (path.isEmpty()) {
        object = loadConfig();
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *why = formText("не удалось прочитать %1: %2").arg(path, file.errorString());
            return false;
        }
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
        if (!document.isObject()) {
            *why = formText("в %1 нет объекта JSON").arg(path);
            return false;
        }
        object = document.object();
    }

    using namespace SettingsKeys;
    const auto text = [&object](const QString &key) { return object.value(key).toString(); };
    form->reportNumber = text(kReportNumberKey);
    const QString dateText = text(kReportDateKey);
    form->reportDate = dateText.isEmpty() ? QDate::currentDate() : QDate::fromString(dateText, kDateFormat);
    if (!form->reportDate.isValid()) {
        *why = formText("дата отчёта «%1» не в виде дд.ММ.гггг").arg(dateText);
        return false;
    }
    form->operatorName = text(kReportOperator);
    form->companyName = text(kCompanyName);
    form->companyCity = text(kCompanyCity);
    form->comments = text(kComments);
    form->fields = reportFormFields(
        {text(kCompanyName), text(kCompanyCity), text(kCompanyAddress), text(kCompanyPhone),
         text(kCompanyWebsite), form->reportNumber, form->reportDate.toString(kDateFormat),
         form->operatorName, text(kReportDetailName), text(kReportMaterial), text(kReportBatchNumber),
         text(kDeviceName), text(kDeviceType), text(kDeviceNumber), text(kDeviceDocumentNumber)});
    const QString logoText = text(kLogoImage);
    if (!logoText.isEmpty())
        form->logo = imageFromBase64(logoText);
    return true;
}
