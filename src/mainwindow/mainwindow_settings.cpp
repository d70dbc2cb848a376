#include "mainwindow.h"

#include "fontsize.h"
#include "settingsfile.h"
#include "settingskeys.h"
#include "ui_mainwindow.h"

#include <QJsonObject>

namespace {

struct TextField
{
    QLatin1String key;
    QLineEdit *Ui::MainWindow::*edit;
};

// Line edits kept in the settings file; order is the file's key order.
const TextField kCompanyAndDeviceFields[] = {
    {SettingsKeys::kCompanyName, &Ui::MainWindow::company_name},
    {SettingsKeys::kCompanyCity, &Ui::MainWindow::company_city},
    {SettingsKeys::kCompanyAddress, &Ui::MainWindow::company_address},
    {SettingsKeys::kCompanyPhone, &Ui::MainWindow::company_phone},
    {SettingsKeys::kCompanyWebsite, &Ui::MainWindow::company_website},
    {SettingsKeys::kDeviceName, &Ui::MainWindow::device_name},
    {SettingsKeys::kDeviceType, &Ui::MainWindow::device_type},
    {SettingsKeys::kDeviceNumber, &Ui::MainWindow::device_number},
    {SettingsKeys::kDeviceDocumentNumber, &Ui::MainWindow::device_document_number},
};

const TextField kReportFields[] = {
    {SettingsKeys::kReportOperator, &Ui::MainWindow::report_operator},
    {SettingsKeys::kReportDetailName, &Ui::MainWindow::report_detail_name},
    {SettingsKeys::kReportMaterial, &Ui::MainWindow::report_material},
    {SettingsKeys::kReportBatchNumber, &Ui::MainWindow::report_batch_number},
};

} // namespace

void MainWindow::applySettings()
{
    using namespace SettingsKeys;
    const QJsonObject config = loadConfig();
    for (const TextField &field : kCompanyAndDeviceFields)
        (ui->*field.edit)->setText(config.value(field.key).toString());
    logoImage = imageFromBase64(config.value(kLogoImage).toString());
    for (const TextField &field : kReportFields)
        (ui->*field.edit)->setText(config.value(field.key).toString());
    applyFontSize(this, config.value(kAppFontSize).toInt(0));
    ui->limits_min->setValue(config.value(kLimitsMin).toDouble(0));
    ui->limits_max->setValue(config.value(kLimitsMax).toDouble(0));
    ui->comments_text->setPlainText(config.value(kComments).toString());
}

void MainWindow::storeSettings()
{
    using namespace SettingsKeys;
    QJsonObject config = loadConfig();
    for (const TextField &field : kCompanyAndDeviceFields)
        config.insert(field.key, (ui->*field.edit)->text());
    config.insert(kLogoImage, imageToBase64(logoImage));
    for (const TextField &field : kReportFields)
        config.insert(field.key, (ui->*field.edit)->text());
    config.insert(kAppFontSize, font().pointSize());
    config.insert(kLimitsMin, ui->limits_min->value());
    config.insert(kLimitsMax, ui->limits_max->value());
    config.insert(kComments, ui->comments_text->document()->toPlainText());
    saveConfig(config);
}
