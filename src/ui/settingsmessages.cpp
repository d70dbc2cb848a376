#include "ui/settingsmessages.h"

#include "settings/settingsfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>

namespace {

// The texts belong to the window's catalogue context.
QString windowText(const char *source)
{
    return QCoreApplication::translate("MainWindow", source);
}

} // namespace

void tellUnreadableSettings(QWidget *parent, bool keptAside)
{
    const QString file = QDir::toNativeSeparators(configFilePath());
    const QString text =
        keptAside
            ? windowText("Файл настроек %1 не удалось прочитать, программа начата с пустыми настройками.\n"
                         "Прежний файл сохранён как %2.")
                  .arg(file, QDir::toNativeSeparators(unreadableConfigPath()))
            : windowText("Файл настроек %1 не удалось прочитать, программа начата с пустыми настройками.\n"
                         "Сохранить его копию не удалось; при выходе он не будет перезаписан.")
                  .arg(file);
    QMessageBox::warning(parent, windowText("Настройки"), text);
}

void tellSettingsNotSaved(QWidget *parent)
{
    QMessageBox::warning(parent, windowText("Настройки"),
                         windowText("Настройки не удалось сохранить в папке %1.\n"
                                    "Проверьте, что в неё можно записывать и что на диске есть место.")
                             .arg(QDir::toNativeSeparators(configFolder())));
}
