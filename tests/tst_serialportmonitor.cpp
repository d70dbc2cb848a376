#include "logcapture.h"
#include "device/portlisting.h"
#include "device/serialportmonitor.h"

#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// Plain files in a temporary folder stand in for device nodes: the monitor
// lists a registered path only while it exists.
class TestSerialPortMonitor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        setSystemPortsListed(false);
    }
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
    }
    void cleanup() { clearVirtualPortPaths(); }

    void listingFollowsTheFileSystem()
    {
        const QString com1 = present(QStringLiteral("COM1"));
        const QString missing = folder->filePath(QStringLiteral("COM2"));
        const QString com3 = present(QStringLiteral("COM3"));
        for (const QString &path : {com1, missing, com3, com1})
            addVirtualPortPath(path);
        QCOMPARE(availablePortNames(), (QStringList{com1, com3}));

        QFile::remove(com1);
        QCOMPARE(availablePortNames(), QStringList{com3});
        removeVirtualPortPath(com3);
        QCOMPARE(availablePortNames(), QStringList());
    }

    void firstPollReportsEveryPortInOrder()
    {
        const QString com1 = present(QStringLiteral("COM1"));
        const QString com3 = present(QStringLiteral("COM3"));
        addVirtualPortPath(com1);
        addVirtualPortPath(com3);
        SerialPortMonitor monitor;
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
        addVirtualPortPath(com1);
        addVirtualPortPath(com3);
        SerialPortMonitor monitor;
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
        addVirtualPortPath(com1);
        SerialPortMonitor monitor;
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
        addVirtualPortPath(com1);
        SerialPortMonitor monitor;
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
        addVirtualPortPath(upper);
        addVirtualPortPath(lower);
        SerialPortMonitor monitor;
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
        addVirtualPortPath(com1);
        SerialPortMonitor monitor;
        QSignalSpy added(&monitor, &SerialPortMonitor::portConnected);
        QVERIFY(added.wait(2000));
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
};

QTEST_GUILESS_MAIN(TestSerialPortMonitor)
#include "tst_serialportmonitor.moc"
