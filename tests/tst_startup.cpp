// Start-up with the catalogue compiled in: the window comes up titled "ZRV" and
// closing it ends the program with status 0.

#include "startup_checks.h"

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

int main(int argc, char **argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    StartupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_startup.moc"
