#include "ui/mainwindow.h"

#include "ui/fontsize.h"
#include "settings/settingsfile.h"
#include "settings/settingsvalues.h"
#include "ui_mainwindow.h"

void MainWindow::applySettings()
{
    const SettingsValues values = settingsFromObject(loadConfig());
    for (const auto &text : values.texts)
        findChild<QLineEdit *>(text.first)->setText(text.second);
    logoImage = values.logo;
    applyFontSize(this, values.fontSize);
    ui->limits_min->setValue(values.limitsMin);
    ui->limits_max->setValue(values.limitsMax);
    ui->comments_text->setPlainText(values.comments);
}

void MainWindow::storeSettings()
{
    SettingsValues values = settingsFromObject({});
    for (auto &text : values.texts)
        text.second = findChild<QLineEdit *>(text.first)->text();
    values.logo = logoImage;
    values.fontSize = font().pointSize();
    values.limitsMin = ui->limits_min->value();
    values.limitsMax = ui->limits_max->value();
    values.comments = ui->comments_text->document()->toPlainText();

    // Re-read the file so that keys this program does not know survive.
    QJsonObject config = loadConfig();
    storeSettingsValues(values, config);
    saveConfig(config);
}
