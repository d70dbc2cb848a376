// zrv-station: reads the instrument, judges, reports and stores without a window.

#include "station/stationhistory.h"
#include "station/stationoptions.h"
#include "station/stationrun.h"
#include "station/stationsignals.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

namespace {

constexpr int kUsageError = 64;
// The window's name: the same config.json and history in the same folder.
const QString kApplicationName = QStringLiteral("zrv");
const QString kEnglishCatalogue = QStringLiteral(":/i18n/ts.qm");

void printError(const QString &text)
{
    std::fputs(qUtf8Printable(QStringLiteral("zrv-station: ") + text + QLatin1Char('\n')), stderr);
}

// The link's debug lines are the window's log; stderr here is the operator's.
// Warnings stay, but for the offscreen platform's note about a runtime
// folder it does not need.
void messageHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg
        || message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    printError(message);
}

int usageError(const QString &reason)
{
    printError(reason);
    std::fputs(qUtf8Printable(QCoreApplication::translate("StationOptions", "Справка: zrv-station --help")
                              + QLatin1Char('\n')),
               stderr);
    return kUsageError;
}

} // namespace

int main(int argc, char **argv)
{
    // The PDF writer needs a GUI application, never a display.
    qInstallMessageHandler(messageHandler);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(kApplicationName);

    QTranslator english;
    if (QLocale().language() == QLocale::English && english.load(kEnglishCatalogue))
        QCoreApplication::installTranslator(&english);

    const ParsedOptions parsed = parseStationOptions(QCoreApplication::arguments().mid(1));
    if (!parsed.error.isEmpty())
        return usageError(parsed.error);
    if (parsed.options.help) {
        std::fputs(qUtf8Printable(stationUsage()), stdout);
        return 0;
    }
    QString why;
    if (!StationHistory::checkTarget(parsed.options.history, &why))
        return usageError(why);
    StationForm form;
    if (!loadStationForm(parsed.options.formPath, &form, &why))
        return usageError(why);

    StationRun run(parsed.options, form);
    StationSignals stops;
    QObject::connect(&stops, &StationSignals::stopRequested, &run, &StationRun::stop);
    QObject::connect(&run, &StationRun::finished, &app, &QCoreApplication::exit, Qt::QueuedConnection);
    run.start();
    return app.exec();
}
