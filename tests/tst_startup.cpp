// Start-up with the catalogue compiled in: the window comes up titled "ZRV",
// the program's windows carry its icon, and closing it ends the program with
// status 0.

#include "startup_checks.h"
#include "ui/appicon.h"
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
        // Also boxes without a parent window, such as the company box.
        constexpr int kSide = 48;
        QVERIFY(!appIcon().isNull());
        QCOMPARE(QApplication::windowIcon().pixmap(kSide, kSide).toImage(),
                 appIcon().pixmap(kSide, kSide).toImage());
    }
};

ZRV_WINDOW_TEST_MAIN(StartupTest)

#include "tst_startup.moc"
