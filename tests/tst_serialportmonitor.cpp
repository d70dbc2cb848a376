#include "device/pathportlister.h"
#include "device/serialportmonitor.h"
#include "device/systemportlister.h"
#include "logcapture.h"
#include "testtime.h"

#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Plain files in a temporary folder stand in for device nodes: the lister
// gives a path only while it exists.
class TestSerialPortMonitor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        ports = std::make_shared<PathPortLister>();
    }

    void listingFollowsTheFileSystem()
    {
        const QString com1 = present(QStringLiteral("COM1"));
        const QString missing = folder->filePath(QStringLiteral("COM2"));
        const QString com3 = present(QStringLiteral("COM3"));
        for (const QString &path : {com1, missing, com3, com1})
            ports->addPath(path);
        QCOMPARE(ports->portNames(), (QStringList{com1, com3}));

        QFile::remove(com1);
        QCOMPARE(ports->portNames(), QStringList{com3});
        ports->removePath(com3);
        QCOMPARE(ports->portNames(), QStringList());
        present(QStringLiteral("COM1"));
        ports->clear();
        QCOMPARE(ports->portNames(), QStringList());
    }

    // The given paths first, then whatever the system lists.
    void systemPortsFollowThePaths()
    {
        const QString com1 = present(QStringLiteral("COM1"));
        PathPortLister withSystem(PathPortLister::SystemPorts::Included);
        withSystem.addPath(com1);
        QCOMPARE(withSystem.portNames(), QStringList{com1} + SystemPortLister().portNames());
    }

    // Each monitor polls its own lister.
    void monitorsDoNotShareTheirPorts()
    {
        const QString com1 = present(QStringLiteral("COM1"));
        ports->addPath(com1);
        SerialPortMonitor watching(ports);
        SerialPortMonitor other(std::make_shared<PathPortLister>());
        QSignalSpy seen(&watching, &SerialPortMonitor::portConnected);
        QSignalSpy notSeen(&other, &SerialPortMonitor::portConnected);
        poll(watching);
        poll(other);
        QCOMPARE(names(seen), QStringList{com1});
        QCOMPARE(notSeen.count(), 0);
        QCOMPARE(watching.listedPorts(), QStringList{com1});
    }

    void firstPollReportsEveryPortInOrder()
    {
        const QString com1 = present(QStringLiteral("COM1"));
        const QString com3 = present(QStringLiteral("COM3"));
        ports->addPath(com1);
        ports->addPath(com3);
        SerialPortMonitor monitor(ports);
        QSignalSpy added(&monitor, &SerialPortMonitor::portConnected);
        QSignalSpy removed(&monitor, &SerialPortMonitor::portDisconnected);
        LogCapture log;

        poll(monitor);

        QCOMPARE(names(added), (QStringList{com1, com3}));
        QCOMPARE(removed.count(), 0);
        QCOMPARE(log.lines(), (QStringList{debugLine("New serial port added:", com1),
                                           debugLine("New serial port added:", com3)}));
    }

    void removalIsReportedOnceAndPresentPortsNeverAgain()
    {
        const QString com1 = present(QStringLiteral("COM1"));
        const QString com3 = present(QStringLiteral("COM3"));
        ports->addPath(com1);
        ports->addPath(com3);
        SerialPortMonitor monitor(ports);
        poll(monitor);
        QSignalSpy added(&monitor, &SerialPortMonitor::portConnected);
        QSignalSpy removed(&monitor, &SerialPortMonitor::portDisconnected);
        LogCapture log;

        QFile::remove(com3);
        poll(monitor);
        poll(monitor);
        poll(monitor);

        QCOMPARE(names(removed), QStringList{com3});
        QCOMPARE(added.count(), 0);
        QCOMPARE(log.lines(), QStringList{debugLine("Serial port removed:", com3)});
    }

    void goneAndBackBetweenPollsIsNotSeen()
    {
        const QString com1 = present(QStringLiteral("COM1"));
        ports->addPath(com1);
        SerialPortMonitor monitor(ports);
        poll(monitor);
        QSignalSpy added(&monitor, &SerialPortMonitor::portConnected);
        QSignalSpy removed(&monitor, &SerialPortMonitor::portDisconnected);

        QFile::remove(com1);
        present(QStringLiteral("COM1"));
        poll(monitor);

        QCOMPARE(added.count(), 0);
        QCOMPARE(removed.count(), 0);
    }

    void goneForOnePollIsReportedBothWays()
    {
        const QString com1 = present(QStringLiteral("COM1"));
        ports->addPath(com1);
        SerialPortMonitor monitor(ports);
        poll(monitor);
        QSignalSpy added(&monitor, &SerialPortMonitor::portConnected);
        QSignalSpy removed(&monitor, &SerialPortMonitor::portDisconnected);

        QFile::remove(com1);
        poll(monitor);
        present(QStringLiteral("COM1"));
        poll(monitor);

        QCOMPARE(names(removed), QStringList{com1});
        QCOMPARE(names(added), QStringList{com1});
    }

    void namesAreCaseSensitive()
    {
        const QString upper = present(QStringLiteral("COM1"));
        const QString lower = present(QStringLiteral("com1"));
        ports->addPath(upper);
        ports->addPath(lower);
        SerialPortMonitor monitor(ports);
        QSignalSpy added(&monitor, &SerialPortMonitor::portConnected);
        QSignalSpy removed(&monitor, &SerialPortMonitor::portDisconnected);

        poll(monitor);
        QFile::remove(lower);
        poll(monitor);

        QCOMPARE(names(added), (QStringList{upper, lower}));
        QCOMPARE(names(removed), QStringList{lower});
    }

    void pollsByItself()
    {
        const QString com1 = present(QStringLiteral("COM1"));
        ports->addPath(com1);
        SerialPortMonitor monitor(ports);
        QSignalSpy added(&monitor, &SerialPortMonitor::portConnected);
        QVERIFY(added.wait(testMs(2000)));
        QCOMPARE(names(added), QStringList{com1});
    }

private:
    QString present(const QString &name)
    {
        const QString path = folder->filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", qPrintable(path));
        return path;
    }
    static void poll(SerialPortMonitor &monitor)
    {
        QVERIFY(QMetaObject::invokeMethod(&monitor, "checkForPortChanges", Qt::DirectConnection));
    }
    static QStringList names(const QSignalSpy &spy)
    {
        QStringList list;
        for (const QList<QVariant> &arguments : spy)
            list.append(arguments.at(0).toString());
        return list;
    }

    std::unique_ptr<QTemporaryDir> folder;
    std::shared_ptr<PathPortLister> ports;
};

QTEST_GUILESS_MAIN(TestSerialPortMonitor)
#include "tst_serialportmonitor.moc"
