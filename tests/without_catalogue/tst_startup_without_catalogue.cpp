// Start-up of a build without the translation catalogue: only the fixed English
// error box appears, the window is never shown and the status is 18. The
// settings are still written, since the window is destroyed in order.

#include "startup_checks.h"
#include "windowtestmain.h"

#include <QStandardPaths>

class StartupWithoutCatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    void catalogueIsMissing() { QVERIFY(!QFile::exists(QStringLiteral(":/i18n/ts.qm"))); }

    void refusesToRun()
    {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QDir(folder).removeRecursively();

        const StartupOutcome outcome = runStartup(*qApp);
        QVERIFY(outcome.box.shown);
        QCOMPARE(outcome.box.title, QStringLiteral("Error"));
        QCOMPARE(outcome.box.text, QStringLiteral("Startup error 0x0012"));
        QCOMPARE(outcome.box.icon, QMessageBox::Critical);
        QVERIFY(outcome.box.parent == nullptr);
        QVERIFY(!outcome.windowShown);
        QCOMPARE(outcome.status, 18);
        QVERIFY(QFile::exists(folder + QStringLiteral("/config.json")));
    }
};

ZRV_WINDOW_TEST_MAIN(StartupWithoutCatalogueTest)

#include "tst_startup_without_catalogue.moc"
