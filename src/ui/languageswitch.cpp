#include "ui/languageswitch.h"

#include "ui/catalogue.h"

#include <QAction>
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
    const QLocale locale = english ? QLocale(QLocale::English, QLocale::UnitedKingdom)
                                   : QLocale(QLocale::Russian, QLocale::Russia);
    edit->setLocale(locale);
    edit->setDisplayFormat(locale.dateFormat(QLocale::ShortFormat));
}
} // namespace

LanguageSwitch::LanguageSwitch(const LanguageWidgets &widgets, QObject *parent)
    : QObject(parent)
    , w(widgets)
    , languages(new QActionGroup(this))
    , translator(new QTranslator(this))
    , qtTranslator(new QTranslator(this))
{
    languages->addAction(w.russian);
    languages->addAction(w.english);
    qtTranslator->load(kQtRussianCatalogue, QString(), QString(), QString());
    QCoreApplication::installTranslator(qtTranslator);
    showDateIn(w.date, false);
}

void LanguageSwitch::switchTo(bool english)
{
    QCoreApplication::removeTranslator(translator);
    QCoreApplication::removeTranslator(qtTranslator);
    if (english) {
        translator->load(kCatalogue, QString(), QString(), QString());
        QCoreApplication::installTranslator(translator);
    } else {
        QCoreApplication::installTranslator(qtTranslator);
    }
    showDateIn(w.date, english);
    (english ? w.english : w.russian)->setChecked(true);
}
