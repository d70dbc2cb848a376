// Start-up with the catalogue compiled in: the window comes up titled "ZRV" and
// closing it ends the program with status 0.

#include "startup_checks.h"
#include "windowtestmain.h"

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void catalogueIsEmbedded() { QVERIFY(QFile::exists(QStringLiteral(":/i18n/ts.qm"))); }

    void windowRunsAndCloses()
    {
        const StartupOutcome outcome = runStartup(*qApp);
        QVERIFY(outcome.windowShown);
        QCOMPARE(outcome.windowTitle, QStringLiteral("ZRV"));
        QVERIFY(!outcome.box.shown);
        QCOMPARE(outcome.status, 0);
    }
};

ZRV_WINDOW_TEST_MAIN(StartupTest)

#include "tst_startup.moc"
