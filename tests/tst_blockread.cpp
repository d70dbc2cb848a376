#include "blocksets.h"
#include "logcapture.h"
#include "mainwindowtester.h"
#include "simulatedlink.h"
#include "windowtestmain.h"
#include "windowwithinstrument.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

class TestBlockRead : public QObject
{
    Q_OBJECT

private slots:
    void init() { freshSettingsFolder(); }

    void readsEveryBlockInOrder()
    {
        WindowWithInstrument setup(threeBlocks());
        QVERIFY(setup.start());
        setup.simulator.clearRecords();

        setup.read();

        QCOMPARE(setup.simulator.requests(),
                 (QVector<quint32>{0x00060000, 0x00070000, 0x00080000, 0x00090000, 0x00070001, 0x00080001,
                                   0x00090001, 0x00070002, 0x00080002, 0x00090002}));
        const QVector<MemoryBlock> &blocks = MainWindowTester::blocks(*setup.window);
        QCOMPARE(blocks.size(), 3);
        QStringList names;
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(blocks.at(i).name, shownName(threeBlocks().at(i)));
            QCOMPARE(blocks.at(i).values, threeBlocks().at(i).values);
            names.append(blocks.at(i).name);
        }
        QCOMPARE(setup.listed(), names);
        QVERIFY(setup.ui->button_read_data->isEnabled());
        QVERIFY(setup.ui->block_names_list->isEnabled());
        QVERIFY(!setup.ui->button_export_to_PDF->isEnabled());
        QVERIFY(!setup.ui->button_export_to_excel->isEnabled());

        // A second read replaces the list.
        setup.read();
        QCOMPARE(setup.listed(), names);
        QCOMPARE(MainWindowTester::blocks(*setup.window).size(), 3);
    }

    void nothingCanBeStartedOrPickedDuringTheRead()
    {
        WindowWithInstrument setup(threeBlocks());
        QVERIFY(setup.start());
        setup.window->blockList().showRead({{QStringLiteral("old"), {1.0f}}});
        setup.ui->button_export_to_PDF->setEnabled(true);
        setup.ui->button_export_to_excel->setEnabled(true);

        int checked = 0;
        QStringList problems;
        connect(&setup.simulator, &InstrumentSimulator::requestReceived, this, [&] {
            ++checked;
            if (setup.ui->button_read_data->isEnabled())
                problems << QStringLiteral("read button enabled");
            if (setup.ui->button_export_to_PDF->isEnabled() || setup.ui->button_export_to_excel->isEnabled())
                problems << QStringLiteral("export enabled");
            if (setup.ui->block_names_list->isEnabled())
                problems << QStringLiteral("list usable");
            // Its connection check and switch would hold up the read's waits.
            if (setup.ui->action_history_storage->isEnabled())
                problems << QStringLiteral("history storage can be changed");
        });
        setup.read();

        QCOMPARE(checked, 10);
        QCOMPARE(problems, QStringList());
        QVERIFY(setup.ui->button_read_data->isEnabled());
        QVERIFY(setup.ui->action_history_storage->isEnabled());
    }

    void noBlocks()
    {
        WindowWithInstrument setup(QVector<SimulatedBlock>{});
        QVERIFY(setup.start());
        setup.window->blockList().showRead({{QStringLiteral("old"), {1.0f}}});
        setup.simulator.clearRecords();

        setup.read();

        QCOMPARE(setup.simulator.requests(), QVector<quint32>{0x00060000});
        QCOMPARE(setup.ui->block_names_list->count(), 0);
        QVERIFY(MainWindowTester::blocks(*setup.window).isEmpty());
        QVERIFY(setup.ui->button_read_data->isEnabled());
    }

    void silentInstrument()
    {
        WindowWithInstrument setup(threeBlocks());
        QVERIFY(setup.start());
        setup.window->blockList().showRead({{QStringLiteral("old"), {1.0f}}});
        InstrumentBehaviour silent;
        silent.silence.enabled = true;
        setup.simulator.setBehaviour(silent);
        setup.simulator.clearRecords();
        LogCapture log;

        setup.read();

        QCOMPARE(setup.simulator.requests(), QVector<quint32>{0x00060000});
        QCOMPARE(log.count(QStringLiteral("recieved TIMEOUT")), 1);
        QCOMPARE(setup.ui->block_names_list->count(), 0);
        QVERIFY(setup.ui->button_read_data->isEnabled());
    }

    void failedNameKeepsItsRow()
    {
        WindowWithInstrument setup(threeBlocks());
        QVERIFY(setup.start());
        InstrumentBehaviour behaviour;
        behaviour.errorAnswer.enabled = true;
        behaviour.errorAnswer.commands = {0x07};
        behaviour.errorIndex = 1;
        setup.simulator.setBehaviour(behaviour);

        setup.read();

        const QStringList names = setup.listed();
        QCOMPARE(names.size(), 3);
        QCOMPARE(names.at(0), shownName(threeBlocks().at(0)));
        QCOMPARE(names.at(1), QString());
        QCOMPARE(names.at(2), shownName(threeBlocks().at(2)));
        QCOMPARE(MainWindowTester::blocks(*setup.window).at(1).values, threeBlocks().at(1).values);
    }

    void instrumentLostDuringTheRead()
    {
        WindowWithInstrument setup(threeBlocks());
        QVERIFY(setup.start());
        // Count and the whole of block 0 are answered; block 1's name request unplugs.
        InstrumentBehaviour behaviour;
        behaviour.unplugAfterRequests = 4;
        setup.simulator.setBehaviour(behaviour);
        QSignalSpy lost(&setup.port(), &Port::validPortDisconnected);
        QSignalSpy found(&setup.port(), &Port::validPortFound);
        LogCapture log;

        setup.read();

        QCOMPARE(lost.count(), 1);
        const QVector<MemoryBlock> &blocks = MainWindowTester::blocks(*setup.window);
        QCOMPARE(blocks.size(), 3);
        QCOMPARE(blocks.at(0).values, threeBlocks().at(0).values);
        for (int i = 1; i < 3; ++i) {
            QCOMPARE(blocks.at(i).name, QString());
            QVERIFY(blocks.at(i).values.isEmpty());
        }
        QCOMPARE(setup.ui->block_names_list->count(), 3);
        // Only the request that was waiting logged a timeout (it ended at the
        // loss); later ones failed at once.
        QCOMPARE(log.count(QStringLiteral("recieved TIMEOUT")), 1);
        QCOMPARE(log.count(QStringLiteral("Serial port is not open.")), 3);
        // The button follows the link, not the end of the read.
        QVERIFY(!setup.ui->button_read_data->isEnabled());
        QVERIFY(setup.ui->block_names_list->isEnabled());

        // Plugged back in, it is found again.
        QTRY_VERIFY_WITH_TIMEOUT(log.indexStartingWith(QStringLiteral("Serial port removed:")) >= 0,
                                 testMs(2000));
        setup.simulator.setBehaviour(InstrumentBehaviour());
        QVERIFY(plugInWatched(setup.simulator, *setup.ports));
        QVERIFY(found.wait(testMs(3000)));
        QVERIFY(setup.ui->button_read_data->isEnabled());
        setup.read();
        QCOMPARE(setup.listed().at(2), shownName(threeBlocks().at(2)));
    }
};

int main(int argc, char **argv)
{
    prepareWindowTests();
    QApplication app(argc, argv);
    TestBlockRead test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_blockread.moc"
