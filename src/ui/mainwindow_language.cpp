#include "ui/catalogue.h"
#include "ui/mainwindow.h"

#include "ui/blocklist.h"
#include "ui/reportlogo.h"
#include "ui_mainwindow.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLocale>
#include <QTranslator>

namespace {
const QString kCatalogue = QString::fromLatin1(kCataloguePath);
const QString kQtRussianCatalogue = QString::fromLatin1(kQtRussianCataloguePath);

// The date is shown in the interface's language; the reports write their own format.
void showDateIn(QDateEdit *edit, bool english)
{
    const QLocale locale =
        english ? QLocale(QLocale::English, QLocale::UnitedKingdom) : QLocale(QLocale::Russian, QLocale::Russia);
    edit->setLocale(locale);
    edit->setDisplayFormat(locale.dateFormat(QLocale::ShortFormat));
}
} // namespace

void MainWindow::on_actionRU_triggered()
{
    switchLanguage(false);
}

void MainWindow::on_actionEN_triggered()
{
    switchLanguage(true);
}

// The program starts in Russian, Qt's own texts included.
void MainWindow::setUpLanguages()
{
    languages = new QActionGroup(this);
    languages->addAction(ui->actionRU);
    languages->addAction(ui->actionEN);
    qtTranslator = new QTranslator(this);
    qtTranslator->load(kQtRussianCatalogue, QString(), QString(), QString());
    QCoreApplication::installTranslator(qtTranslator);
    showDateIn(ui->report_date_edit, false);
}

void MainWindow::switchLanguage(bool english)
{
    // retranslateUi puts back the form's own title and empties the logo
    // button, so both are restored afterwards.
    const QString title = windowTitle();
    QCoreApplication::removeTranslator(translator);
    QCoreApplication::removeTranslator(qtTranslator);
    if (english) {
        translator->load(kCatalogue, QString(), QString(), QString());
        QCoreApplication::installTranslator(translator);
    } else {
        QCoreApplication::installTranslator(qtTranslator);
    }
    ui->retranslateUi(this);
    logoPanel->retranslate();
    blocksPanel->retranslate();
    setWindowTitle(title);
    showDateIn(ui->report_date_edit, english);
    (english ? ui->actionEN : ui->actionRU)->setChecked(true);
}
