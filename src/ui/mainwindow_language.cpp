#include "ui/catalogue.h"
#include "ui/mainwindow.h"

#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QTranslator>

namespace {
const QString kCatalogue = QString::fromLatin1(kCataloguePath);
}

void MainWindow::on_actionRU_triggered()
{
    switchLanguage(false);
}

void MainWindow::on_actionEN_triggered()
{
    switchLanguage(true);
}

void MainWindow::switchLanguage(bool english)
{
    // retranslateUi puts back the form's own title and empties the logo
    // button, so both are restored afterwards.
    const QString title = windowTitle();
    QCoreApplication::removeTranslator(translator);
    if (english) {
        translator->load(kCatalogue, QString(), QString(), QString());
        QCoreApplication::installTranslator(translator);
    }
    ui->retranslateUi(this);
    updateLogoButtonText();
    markFailedBlocks();
    setWindowTitle(title);
}

void MainWindow::updateLogoButtonText()
{
    ui->logo_action->setText(logoImage.isNull() ? tr("Добавить логотип") : tr("Удалить"));
}
