// The block list over a simulated instrument: a list that is replaced shows
// no block until one is chosen, rows of blocks never read say why, a silent
// instrument and an error answer are worded apart, a long wait is counted in
// the status, and a lost instrument's read message goes when it is back.

#include "blocksets.h"
#include "inputevents.h"
#include "logcapture.h"
#include "mainwindowtester.h"
#include "simulatedlink.h"
#include "windowwithinstrument.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(InstrumentBehaviour)
Q_DECLARE_METATYPE(MemoryBlock)

namespace {

constexpr quint32 kThirdNameRequest = 0x00070002;

// The window with a simulated instrument that its port has found, shown.
struct Station : WindowWithInstrument
{
    using WindowWithInstrument::WindowWithInstrument;

    bool start() { return WindowWithInstrument::start(true); }
    QString readText() { return window->findChild<QLabel *>(QStringLiteral("read_status_label"))->text(); }
    QStringList tooltips()
    {
        QStringList tips;
        for (int row = 0; row < ui->block_names_list->count(); ++row)
            tips.append(ui->block_names_list->item(row)->toolTip());
        return tips;
    }
    // A block is shown, as the operator leaves it before the next read.
    bool showFirstBlock()
    {
        ui->button_read_data->click();
        doubleClickRow(ui->block_names_list, 0);
        return ui->table_block_data->rowCount() > 0 && ui->graph->graphCount() > 0;
    }
    // Nothing of an earlier list is shown.
    bool showsNoBlock()
    {
        return ui->table_block_data->rowCount() == 0 && ui->graph->graphCount() == 0
               && ui->diagram->plottableCount() == 0 && window->blockList().shownRow() < 0
               && !window->blockView().hasBlock() && !ui->button_export_to_PDF->isEnabled()
               && !ui->button_export_to_excel->isEnabled();
    }
};

} // namespace

class TestBlockList : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        qRegisterMetaType<BlockReader::Outcome>();
        qRegisterMetaType<QVector<MemoryBlock>>();
    }
    void init() { freshSettingsFolder(); }

    void listTellsTheTruth_data()
    {
        QTest::addColumn<InstrumentBehaviour>("behaviour");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QStringList>("tooltips");
        QTest::addColumn<QString>("englishTooltip"); // of row 1
        const QString lost = QStringLiteral("Не прочитан: прибор отключён");
        const QString stopped = QStringLiteral("Не прочитан: чтение прервано");

        InstrumentBehaviour unplug;
        unplug.unplugAfterRequests = 4; // the count and the whole of block 0
        QTest::newRow("unplugged mid-read") << unplug << false << QStringList{QString(), lost, lost, lost}
                                            << "Not read: the instrument was disconnected";
        QTest::newRow("cancelled") << InstrumentBehaviour() << true
                                   << QStringList{QString(), QString(), stopped, stopped} << QString();
        InstrumentBehaviour silent;
        silent.silence.enabled = true;
        silent.silence.commands = {0x08};
        const QString noAnswer = QStringLiteral("Ошибка запроса размера блока (прибор не ответил)");
        QTest::newRow("silent instrument")
            << silent << false << QStringList{noAnswer, noAnswer, noAnswer, noAnswer}
            << "The block size request failed (the instrument did not answer)";
        InstrumentBehaviour error;
        error.errorAnswer.enabled = true;
        error.errorAnswer.commands = {0x08};
        error.errorIndex = 1;
        QTest::newRow("error answer")
            << error << false
            << QStringList{QString(), QStringLiteral("Ошибка запроса размера блока (прибор ответил ошибкой)"),
                           QString(), QString()}
            << "The block size request failed (the instrument answered with an error)";
    }
    void listTellsTheTruth()
    {
        QFETCH(InstrumentBehaviour, behaviour);
        QFETCH(bool, cancel);
        QFETCH(QStringList, tooltips);
        QFETCH(QString, englishTooltip);
        Station station;
        QVERIFY(station.start());
        QVERIFY(station.showFirstBlock());
        station.simulator.setBehaviour(behaviour);
        const QMetaObject::Connection cancelling =
            connect(&station.simulator, &InstrumentSimulator::requestReceived, this, [&](quint32 word) {
                if (cancel && word == kThirdNameRequest)
                    station.window->blockList().cancel();
            });

        station.ui->button_read_data->click();
        disconnect(cancelling);

        QVERIFY(station.showsNoBlock());
        QCOMPARE(station.tooltips(), tooltips);
        QCOMPARE(station.window->blockList().blocks().size(), tooltips.size());
        // Picked, a row never read says the same in the status line.
        doubleClickRow(station.ui->block_names_list, 1);
        if (!tooltips.at(1).isEmpty())
            QVERIFY2(station.readText().endsWith(tooltips.at(1).mid(1)), qPrintable(station.readText()));
        if (!englishTooltip.isEmpty()) {
            station.ui->actionEN->trigger();
            QCOMPARE(station.ui->block_names_list->item(1)->toolTip(), englishTooltip);
        }
    }

    // A read from the history replaces the list as a read does.
    void readFromTheHistoryShowsNoBlock()
    {
        Station station;
        QVERIFY(station.start());
        QVERIFY(station.showFirstBlock());
        QSignalSpy replaced(&station.window->blockList(), &BlockList::listReplaced);

        QVERIFY(
            station.window->blockList().showRead({MemoryBlock{QStringLiteral("из истории"), {1.0f, 2.0f}}}));

        QCOMPARE(replaced.count(), 1);
        QVERIFY(station.showsNoBlock());
        QVERIFY(station.window->blockList().isFromHistory());
        QCOMPARE(station.ui->block_names_list->count(), 1);
        doubleClickRow(station.ui->block_names_list, 0);
        QCOMPARE(station.ui->table_block_data->rowCount(), 2);
    }

    // While a read runs the history cannot replace the list; the read's own
    // signals carry what the history stores.
    void readSignalsAndNoReplacementDuringARead()
    {
        Station station;
        QVERIFY(station.start());
        QSignalSpy starting(&station.window->blockList(), &BlockList::readStarting);
        QSignalSpy ended(&station.window->blockList(), &BlockList::readEnded);
        bool refused = false;
        bool reading = false;
        const QMetaObject::Connection trying =
            connect(&station.simulator, &InstrumentSimulator::requestReceived, this, [&](quint32 word) {
                if (word != kThirdNameRequest)
                    return;
                reading = station.window->blockList().isReading();
                refused = !station.window->blockList().showRead({MemoryBlock{QStringLiteral("x"), {1.0f}}});
            });

        station.ui->button_read_data->click();
        disconnect(trying);

        QVERIFY(reading);
        QVERIFY(refused);
        QVERIFY(!station.window->blockList().isReading());
        QCOMPARE(station.ui->block_names_list->count(), 4);
        QCOMPARE(starting.count(), 1);
        QCOMPARE(starting.at(0).at(0).toString(), station.simulator.portPath());
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).value<BlockReader::Outcome>(), BlockReader::Outcome::Complete);
        QCOMPARE(ended.at(0).at(1).toInt(), 4);
        QCOMPARE(ended.at(0).at(2).value<QVector<MemoryBlock>>().size(), 4);
    }

    // An answer awaited longer than a second is counted in the status line,
    // and the count goes with the wait.
    void longWaitIsCounted()
    {
        // 300 values: the data request waits 3 s for an instrument that stays silent.
        Station station({{QStringLiteral("Долгий"), QVector<float>(300, 1.5f)}});
        QVERIFY(station.start());
        InstrumentBehaviour silent;
        silent.silence.enabled = true;
        silent.silence.commands = {0x09};
        station.simulator.setBehaviour(silent);
        QStringList seen;
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [&] {
            if (!seen.contains(station.readText()))
                seen.append(station.readText());
        });
        watch.start(50);

        station.ui->button_read_data->click();
        watch.stop();

        QVERIFY2(seen.contains(QStringLiteral("Ожидание ответа прибора… 1 с")), qPrintable(seen.join('|')));
        QVERIFY(!station.readText().startsWith(QStringLiteral("Ожидание")));
        QCOMPARE(station.tooltips(),
                 QStringList{QStringLiteral("Ошибка запроса данных блока (прибор не ответил)")});
    }

    // What a lost instrument did to the last read goes once it is found again.
    void staleLossMessageGoes()
    {
        Station station;
        QVERIFY(station.start());
        InstrumentBehaviour unplug;
        unplug.unplugAfterRequests = 4;
        station.simulator.setBehaviour(unplug);
        LogCapture log;
        station.ui->button_read_data->click();
        QVERIFY(station.readText().startsWith(QStringLiteral("Прибор отключён во время чтения")));

        // Plugged in again once the port's monitor has seen it go.
        QTRY_VERIFY_WITH_TIMEOUT(log.indexStartingWith(QStringLiteral("Serial port removed:")) >= 0,
                                 testMs(2000));
        station.simulator.setBehaviour(InstrumentBehaviour());
        QVERIFY(station.simulator.plugIn());
        QVERIFY(station.found());
        QCOMPARE(station.readText(), QString());
    }
};

QTEST_MAIN(TestBlockList)

#include "tst_blocklist.moc"
