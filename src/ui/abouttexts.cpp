#include "ui/abouttexts.h"

#include <QCoreApplication>

namespace {

QString tr(const char *source)
{
    return QCoreApplication::translate("MainWindow", source);
}

const char *const kWebsite = "www.tarven.example";
const char *const kEmail = "info@tarven.example";
const char *const kVersion = ZRV_VERSION;

} // namespace

namespace AboutTexts {

const char *const kCompanyDescription =
    "<h3>Тарвен</h3>"
    "<p>Тарвен разрабатывает и выпускает портативные приборы неразрушающего контроля "
    "для заводских лабораторий, ОТК и сервисных служб.</p>"
    "<h4>Продукция</h4>"
    "<ul>"
    "<li>толщиномеры покрытий и ультразвуковые толщиномеры;</li>"
    "<li>твердомеры для металлов и сплавов;</li>"
    "<li>программы для чтения памяти приборов и составления протоколов контроля.</li>"
    "</ul>"
    "<h4>Услуги</h4>"
    "<ul>"
    "<li>поверка и калибровка приборов;</li>"
    "<li>обучение операторов;</li>"
    "<li>гарантийный и послегарантийный ремонт.</li>"
    "</ul>";

QString programText()
{
    return QStringLiteral("ZRV ") + QLatin1String(kVersion) + QStringLiteral("<br>")
           + tr("Поддерживаемые ОС: Windows 7, Windows 8, Windows 10 (x32,x64)") + QStringLiteral("<br>")
           + tr("Сайт: ") + QStringLiteral("<a href=\"https://%1\">%1</a>").arg(QLatin1String(kWebsite))
           + QStringLiteral("<br>") + tr("Электронная почта: ")
           + QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(QLatin1String(kEmail))
           + QStringLiteral("<br>") + QStringLiteral("© ") + tr("Тарвен");
}

QString companyText()
{
    return tr(kCompanyDescription);
}

} // namespace AboutTexts
