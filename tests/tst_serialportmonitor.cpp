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

    // What the monitor reports as ports come and go between its polls. Steps:
    // "poll", "+NAME" (the port appears), "-NAME" (it goes). Events, in the
    // order reported and logged: "+NAME" added, "-NAME" removed.
    void reportsChanges_data()
    {
        QTest::addColumn<QStringList>("initial");
        QTest::addColumn<bool>("polledBefore"); // the first poll happened before watching
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("first poll reports every port in order")
            << QStringList{"COM1", "COM3"} << false << QStringList{"poll"} << QStringList{"+COM1", "+COM3"};
        QTest::newRow("removal reported once, present ports never again")
            << QStringList{"COM1", "COM3"} << true << QStringList{"-COM3", "poll", "poll", "poll"}
            << QStringList{"-COM3"};
        QTest::newRow("gone and back between polls is not seen")
            << QStringList{"COM1"} << true << QStringList{"-COM1", "+COM1", "poll"} << QStringList{};
        QTest::newRow("gone for one poll is reported both ways")
            << QStringList{"COM1"} << true << QStringList{"-COM1", "poll", "+COM1", "poll"}
            << QStringList{"-COM1", "+COM1"};
        QTest::newRow("names are case sensitive")
            << QStringList{"COM1", "com1"} << false << QStringList{"poll", "-com1", "poll"}
            << QStringList{"+COM1", "+com1", "-com1"};
    }
    void reportsChanges()
    {
        QFETCH(QStringList, initial);
        QFETCH(bool, polledBefore);
        QFETCH(QStringList, steps);
        QFETCH(QStringList, events);
        for (const QString &name : initial)
            ports->addPath(present(name));
        SerialPortMonitor monitor(ports);
        if (polledBefore)
            poll(monitor);
        QSignalSpy added(&monitor, &SerialPortMonitor::portConnected);
        QSignalSpy removed(&monitor, &SerialPortMonitor::portDisconnected);
        LogCapture log;

        for (const QString &step : steps) {
            if (step == QLatin1String("poll"))
                poll(monitor);
            else if (step.startsWith(QLatin1Char('+')))
                present(step.mid(1));
            else
                QVERIFY(QFile::remove(folder->filePath(step.mid(1))));
        }

        QStringList addedPaths;
        QStringList removedPaths;
        QStringList lines;
        for (const QString &event : events) {
            const QString path = folder->filePath(event.mid(1));
            const bool isAdded = event.startsWith(QLatin1Char('+'));
            (isAdded ? addedPaths : removedPaths).append(path);
            lines.append(debugLine(isAdded ? "New serial port added:" : "Serial port removed:", path));
        }
        QCOMPARE(names(added), addedPaths);
        QCOMPARE(names(removed), removedPaths);
        QCOMPARE(log.lines(), lines);
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
