#include "ui/mainwindow.h"

#include "ui/fontsize.h"
#include "ui/logoloader.h"
#include "settings/settingsfile.h"
#include "settings/settingskeys.h"
#include "settings/settingsvalues.h"
#include "ui_mainwindow.h"

#include <QDir>
#include <QMessageBox>

void MainWindow::applySettings()
{
    const ConfigAtStart found = loadConfigAtStart();
    settingsUnreadable = found.unreadable;
    settingsKept = found.kept;
    settingsAtStart = found.object;
    settingsStamp = found.stamp;
    const SettingsValues values = settingsFromObject(found.object, LogoDecoding::Later);
    for (const auto &text : values.texts)
        findChild<QLineEdit *>(text.first)->setText(text.second);
    logoText = values.logoText;
    logoDecoding = !logoText.isEmpty();
    logoLoader->start(logoText);
    applyFontSize(this, values.fontSize);
    ui->limits_min->setValue(values.limitsMin);
    ui->limits_max->setValue(values.limitsMax);
    ui->comments_text->setPlainText(values.comments);
}

bool MainWindow::storeSettings()
{
    // An unreadable file whose copy could not be made is not overwritten.
    if (settingsUnreadable && !settingsKept)
        return false;
    takeDecodedLogo();
    SettingsValues values = settingsFromObject({});
    for (auto &text : values.texts)
        text.second = findChild<QLineEdit *>(text.first)->text();
    values.logo = logoImage;
    if (!logoImage.isNull() && logoImage.cacheKey() == logoTextKey)
        values.logoText = logoText;
    values.fontSize = font().pointSize();
    values.limitsMin = ui->limits_min->value();
    values.limitsMax = ui->limits_max->value();
    values.comments = ui->comments_text->document()->toPlainText();

    // Keys this program does not know survive: the object is the file's, read
    // again only when something else wrote the file meanwhile.
    const bool fileAsRead = settingsStamp.size >= 0 && configStamp() == settingsStamp;
    QJsonObject config = fileAsRead ? settingsAtStart : loadConfig();
    values.logoAsStored = fileAsRead && !values.logoText.isEmpty();
    // Nothing changed (the usual case): a large logo is not written again.
    if (!storeSettingsValues(values, config))
        return true;
    if (values.logoAsStored)
        return saveConfig(config, SettingsKeys::kLogoImage, values.logoText);
    return saveConfig(config);
}

void MainWindow::tellUnreadableSettings()
{
    const QString file = QDir::toNativeSeparators(configFilePath());
    const QString text =
        settingsKept
            ? tr("Файл настроек %1 не удалось прочитать, программа начата с пустыми настройками.\n"
                 "Прежний файл сохранён как %2.")
                  .arg(file, QDir::toNativeSeparators(unreadableConfigPath()))
            : tr("Файл настроек %1 не удалось прочитать, программа начата с пустыми настройками.\n"
                 "Сохранить его копию не удалось; при выходе он не будет перезаписан.")
                  .arg(file);
    QMessageBox::warning(this, tr("Настройки"), text);
}

void MainWindow::tellSettingsNotSaved()
{
    QMessageBox::warning(this, tr("Настройки"),
                         tr("Настройки не удалось сохранить в папке %1.\n"
                            "Проверьте, что в неё можно записывать и что на диске есть место.")
                             .arg(QDir::toNativeSeparators(configFolder())));
}
