// The window's status area over a simulated instrument: the instrument's
// state, a read's progress and how it ended, cancel (button and Escape), the
// explanation of failed blocks, and the search run again by hand.

#include "blocksets.h"
#include "mainwindowtester.h"
#include "modalhelper.h"
#include "simulatedlink.h"
#include "windowtestmain.h"
#include "windowwithinstrument.h"

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

namespace {

QString shownName(int index)
{
    return ::shownName(fourBlocks().at(index));
}

constexpr int kFoundMs = WindowWithInstrument::kFoundMs;
constexpr int kVerdictMs = 8000;
constexpr quint32 kNameRequest = 0x00070000;
constexpr quint32 kRequestMask = 0xFFFF0000;

// The window with its own ports and a simulated instrument on one of them.
struct Setup : WindowWithInstrument
{
    explicit Setup(const InstrumentBehaviour &behaviour = InstrumentBehaviour())
        : WindowWithInstrument(fourBlocks(), behaviour)
    {}

    // Plugs the instrument in (unless told not to) and shows the window.
    bool start(bool plugIn = true) { return open(plugIn, true); }

    template <typename T>
    T *named(const char *name)
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QString linkText() { return named<QLabel>("link_status_label")->text(); }
    QString readText() { return named<QLabel>("read_status_label")->text(); }
    void doubleClickRow(int row)
    {
        QListWidget *list = ui->block_names_list;
        list->scrollToItem(list->item(row));
        const QPoint centre = list->visualItemRect(list->item(row)).center();
        // A press and release, then the second press the view takes for a double click.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    }
    void switchToEnglish() { ui->actionEN->trigger(); }
};

// What the status area and the list showed when one request arrived.
struct Glimpse
{
    QString text;
    int value = -1;
    int maximum = -1;
    bool cancelShown = false;
    int rows = -1;
    bool listEnabled = true;
    bool busyCursor = false;
};

} // namespace

Q_DECLARE_METATYPE(InstrumentBehaviour)

class TestLinkStatus : public QObject
{
    Q_OBJECT

private slots:
    void init() { freshSettingsFolder(); }

    // Each state of the link has its words, in either language.
    void linkStates_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("english");
        QTest::addColumn<QString>("expected"); // "@" stands for the port
        const struct
        {
            const char *state, *ru, *en;
        } rows[] = {
            {"searching", "Поиск прибора…", "Searching for the instrument…"},
            {"trying", "Поиск прибора…", "Searching for the instrument…"},
            {"connected", "Прибор на @", "Instrument on @"},
            {"answered wrongly", "@: ответ не похож на прибор",
             "@: the answer does not look like the instrument"},
            {"lost", "Прибор отключён", "Instrument disconnected"},
        };
        for (const auto &row : rows) {
            QTest::addRow("%s, russian", row.state) << row.state << false << QString::fromUtf8(row.ru);
            QTest::addRow("%s, english", row.state) << row.state << true << QString::fromUtf8(row.en);
        }
    }
    void linkStates()
    {
        QFETCH(QString, state);
        QFETCH(bool, english);
        QFETCH(QString, expected);
        InstrumentBehaviour behaviour;
        if (state == QLatin1String("answered wrongly"))
            behaviour.identificationAnswer = QByteArray::fromHex("1000ff00");
        Setup setup(behaviour);
        // While trying, the text is looked at when the instrument is asked who it is.
        QString whileTrying;
        connect(&setup.simulator, &InstrumentSimulator::requestReceived, this, [&] {
            if (whileTrying.isEmpty())
                whileTrying = setup.linkText();
        });
        QVERIFY(setup.start(state != QLatin1String("searching")));
        if (english)
            setup.switchToEnglish();
        const QString path = setup.simulator.portPath();
        expected.replace(QLatin1Char('@'), path);

        if (state == QLatin1String("trying")) {
            QTRY_VERIFY_WITH_TIMEOUT(!whileTrying.isEmpty(), testMs(kFoundMs));
            QCOMPARE(whileTrying, expected);
            return;
        }
        if (state == QLatin1String("connected") || state == QLatin1String("lost"))
            QVERIFY(setup.found());
        if (state == QLatin1String("lost"))
            setup.simulator.unplug();
        QTRY_COMPARE_WITH_TIMEOUT(setup.linkText(), expected, testMs(kVerdictMs));
        // The search can be run again only while there is no instrument.
        QCOMPARE(setup.ui->action_search_again->isEnabled(), state != QLatin1String("connected"));
    }

    // "Block k of N" with the bar at k - 1 while block k is read; names come
    // into the disabled list as their blocks are done, under a busy cursor.
    void progressOfARead()
    {
        Setup setup;
        QVERIFY(setup.start());
        QVERIFY(setup.found());
        QVector<Glimpse> seen;
        connect(&setup.simulator, &InstrumentSimulator::requestReceived, this, [&](quint32 word) {
            if ((word & kRequestMask) != kNameRequest)
                return;
            auto *progress = setup.named<QProgressBar>("read_progress");
            QListWidget *list = setup.ui->block_names_list;
            seen.append({setup.readText(), progress->value(), progress->maximum(),
                         setup.named<QPushButton>("read_cancel_button")->isVisible(), list->count(),
                         list->isEnabled(), list->cursor().shape() == Qt::BusyCursor});
        });

        setup.ui->button_read_data->click();

        QCOMPARE(seen.size(), 4);
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(seen.at(k).text, QStringLiteral("Блок %1 из 4").arg(k + 1));
            QCOMPARE(seen.at(k).value, k);
            QCOMPARE(seen.at(k).maximum, 4);
            QVERIFY(seen.at(k).cancelShown);
            QCOMPARE(seen.at(k).rows, k);
            QVERIFY(!seen.at(k).listEnabled);
            QVERIFY(seen.at(k).busyCursor);
        }
        QCOMPARE(setup.readText(), QStringLiteral("Прочитано блоков: 4"));
        QVERIFY(!setup.named<QProgressBar>("read_progress")->isVisible());
        QVERIFY(!setup.named<QPushButton>("read_cancel_button")->isVisible());
        QVERIFY(setup.ui->block_names_list->isEnabled());
        QVERIFY(!setup.ui->block_names_list->testAttribute(Qt::WA_SetCursor));
        QCOMPARE(setup.listed(), (QStringList{shownName(0), shownName(1), shownName(2), shownName(3)}));

        setup.switchToEnglish();
        QTRY_COMPARE(setup.readText(), QStringLiteral("Blocks read: 4"));
        QCOMPARE(setup.linkText(), QStringLiteral("Instrument on %1").arg(setup.simulator.portPath()));
    }

    // Cancelled while block 3 is asked for: the first two blocks stay listed
    // with their values, the two never read keep rows that say so, and the
    // status says how far the read came.
    void cancel_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("cancel button") << false;
        QTest::newRow("Escape") << true;
    }
    void cancel()
    {
        QFETCH(bool, escape);
        Setup setup;
        QVERIFY(setup.start());
        QVERIFY(setup.found());
        const QMetaObject::Connection cancelling =
            connect(&setup.simulator, &InstrumentSimulator::requestReceived, this, [&](quint32 word) {
                if (word != 0x00070002)
                    return;
                if (escape)
                    QTest::keyClick(setup.window.get(), Qt::Key_Escape);
                else
                    QTest::mouseClick(setup.named<QPushButton>("read_cancel_button"), Qt::LeftButton);
            });
        setup.simulator.clearRecords();

        setup.ui->button_read_data->click();
        disconnect(cancelling);

        QCOMPARE(setup.simulator.requests().last(), quint32(0x00070002));
        QCOMPARE(setup.readText(), QStringLiteral("Чтение прервано: 2 из 4 блоков"));
        QCOMPARE(setup.listed(), (QStringList{shownName(0), shownName(1), QString(), QString()}));
        const QVector<MemoryBlock> &blocks = MainWindowTester::blocks(*setup.window);
        QCOMPARE(blocks.size(), 4);
        QCOMPARE(blocks.at(1).values, fourBlocks().at(1).values);
        for (int row : {2, 3}) {
            QCOMPARE(setup.ui->block_names_list->item(row)->toolTip(),
                     QStringLiteral("Не прочитан: чтение прервано"));
            QCOMPARE(setup.ui->block_names_list->item(row)->foreground().color(), QColor(Qt::gray));
        }
        QVERIFY(setup.ui->block_names_list->item(1)->toolTip().isEmpty());
        QVERIFY(setup.ui->button_read_data->isEnabled());
        QVERIFY(setup.ui->block_names_list->isEnabled());

        setup.doubleClickRow(1);
        QCOMPARE(setup.ui->table_block_data->rowCount(), 3);
        QVERIFY(setup.ui->button_export_to_PDF->isEnabled());
        // Escape outside a read cancels nothing: the next read is whole.
        QTest::keyClick(setup.window.get(), Qt::Key_Escape);
        setup.ui->button_read_data->click();
        QCOMPARE(setup.listed().size(), 4);
    }

    // A failed block is listed grey with a tooltip naming what failed; picked,
    // the status line says why.
    void failedBlocksAreExplained_data()
    {
        QTest::addColumn<InstrumentBehaviour>("behaviour");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<QString>("englishTooltip");
        QTest::addColumn<QString>("picked");
        QTest::addColumn<int>("tableRows");
        auto errorOn = [](int code) {
            InstrumentBehaviour b;
            b.errorAnswer.enabled = true;
            b.errorAnswer.commands = {code};
            b.errorIndex = 1;
            return b;
        };
        QTest::newRow("name") << errorOn(0x07) << "Ошибка запроса имени блока (прибор ответил ошибкой)"
                              << "The block name request failed (the instrument answered with an error)"
                              << "Блок 2: ошибка запроса имени блока (прибор ответил ошибкой)" << 3;
        QTest::newRow("size") << errorOn(0x08) << "Ошибка запроса размера блока (прибор ответил ошибкой)"
                              << "The block size request failed (the instrument answered with an error)"
                              << shownName(1) + ": ошибка запроса размера блока (прибор ответил ошибкой)"
                              << 0;
        QTest::newRow("data") << errorOn(0x09) << "Ошибка запроса данных блока (прибор ответил ошибкой)"
                              << "The block data request failed (the instrument answered with an error)"
                              << shownName(1) + ": ошибка запроса данных блока (прибор ответил ошибкой)" << 0;
        InstrumentBehaviour cut;
        cut.partial.enabled = true;
        cut.partial.commands = {0x09};
        cut.partialBytes = 8;
        QTest::newRow("cut short") << cut << "Получено 2 из 3 значений"
                                   << "2 of 3 values received" << shownName(1) + ": получено 2 из 3 значений"
                                   << 2;
    }
    void failedBlocksAreExplained()
    {
        QFETCH(InstrumentBehaviour, behaviour);
        QFETCH(QString, tooltip);
        QFETCH(QString, englishTooltip);
        QFETCH(QString, picked);
        QFETCH(int, tableRows);
        Setup setup;
        QVERIFY(setup.start());
        QVERIFY(setup.found());
        setup.simulator.setBehaviour(behaviour);
        ModalAnswerer modals;

        setup.ui->button_read_data->click();

        QListWidgetItem *failed = setup.ui->block_names_list->item(1);
        QCOMPARE(failed->toolTip(), tooltip);
        QCOMPARE(failed->foreground().color(), QColor(Qt::gray));
        QListWidgetItem *good = setup.ui->block_names_list->item(2); // the empty block: nothing failed
        QVERIFY(good->toolTip().isEmpty());
        QCOMPARE(good->foreground().style(), Qt::NoBrush);
        QVERIFY(setup.readText().startsWith(QStringLiteral("Прочитано блоков: 4, из них с ошибками: ")));

        setup.doubleClickRow(1);
        QCOMPARE(setup.readText(), picked);
        QCOMPARE(setup.ui->table_block_data->rowCount(), tableRows);
        QCOMPARE(setup.ui->button_export_to_PDF->isEnabled(), tableRows > 0);
        // A block read whole puts the read's outcome back.
        setup.doubleClickRow(2);
        QVERIFY(setup.readText().startsWith(QStringLiteral("Прочитано блоков: 4")));
        QVERIFY2(modals.boxes.isEmpty(), "the read stays quiet");

        // The marks follow the language.
        setup.switchToEnglish();
        QCOMPARE(setup.ui->block_names_list->item(1)->toolTip(), englishTooltip);
        QVERIFY(setup.ui->block_names_list->item(2)->toolTip().isEmpty());
        setup.doubleClickRow(1);
        QVERIFY(setup.readText().endsWith(englishTooltip.mid(1)));
    }

    // A read that replaces the list with less than a full one says so.
    void failedReadSaysSo_data()
    {
        QTest::addColumn<InstrumentBehaviour>("behaviour");
        QTest::addColumn<QString>("said");
        QTest::addColumn<int>("rows");
        InstrumentBehaviour silent;
        silent.silence.enabled = true;
        QTest::newRow("no count") << silent << "Прибор не сообщил число блоков: список блоков очищен" << 0;
        InstrumentBehaviour unplugAtCount;
        unplugAtCount.unplugAfterRequests = 0;
        QTest::newRow("lost at the count")
            << unplugAtCount << "Прибор отключён во время чтения: список блоков очищен" << 0;
        InstrumentBehaviour unplugAtBlock1;
        unplugAtBlock1.unplugAfterRequests = 4; // the count and the whole of block 0
        QTest::newRow("lost at block 2")
            << unplugAtBlock1 << "Прибор отключён во время чтения: прочитано 1 из 4 блоков" << 4;
    }
    void failedReadSaysSo()
    {
        QFETCH(InstrumentBehaviour, behaviour);
        QFETCH(QString, said);
        QFETCH(int, rows);
        Setup setup;
        QVERIFY(setup.start());
        QVERIFY(setup.found());
        setup.ui->button_read_data->click();
        QCOMPARE(setup.listed().size(), 4);
        setup.simulator.setBehaviour(behaviour);

        setup.ui->button_read_data->click();

        QCOMPARE(setup.readText(), said);
        QCOMPARE(setup.listed().size(), rows);
        // Blocks after the loss were never asked for, and say so.
        for (int row = 1; row < rows; ++row)
            QCOMPARE(setup.ui->block_names_list->item(row)->toolTip(),
                     QStringLiteral("Не прочитан: прибор отключён"));
        if (behaviour.unplugAfterRequests >= 0)
            QCOMPARE(setup.linkText(), QStringLiteral("Прибор отключён"));
    }

    // A port whose instrument was still off becomes the instrument's once it
    // is searched again, from the menu, the status area's button or F5.
    void searchAgain_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("menu") << "menu";
        QTest::newRow("status button") << "button";
        QTest::newRow("F5") << "key";
    }
    void searchAgain()
    {
        QFETCH(QString, how);
        InstrumentBehaviour lateToWake;
        lateToWake.rightIdentificationAttempt = 5; // the first handshake sends four
        Setup setup(lateToWake);
        QVERIFY(setup.start());
        const QString path = setup.simulator.portPath();
        QTRY_COMPARE_WITH_TIMEOUT(setup.linkText(), QStringLiteral("%1: ответ не похож на прибор").arg(path),
                                  testMs(kVerdictMs));
        QVERIFY(setup.ui->action_search_again->isEnabled());
        QVERIFY(!setup.ui->button_read_data->isEnabled());
        QCOMPARE(setup.named<QToolButton>("search_again_button")->defaultAction(),
                 setup.ui->action_search_again);

        if (how == QLatin1String("menu")) {
            QVERIFY(setup.ui->view->actions().contains(setup.ui->action_search_again));
            setup.ui->action_search_again->trigger();
        } else if (how == QLatin1String("button")) {
            QTest::mouseClick(setup.named<QToolButton>("search_again_button"), Qt::LeftButton);
        } else {
            QTest::keyClick(setup.window.get(), Qt::Key_F5);
        }

        QTRY_COMPARE_WITH_TIMEOUT(setup.linkText(), QStringLiteral("Прибор на %1").arg(path),
                                  testMs(kFoundMs));
        QVERIFY(setup.ui->button_read_data->isEnabled());
        QVERIFY(!setup.ui->action_search_again->isEnabled());
        QCOMPARE(setup.simulator.requests().size(), 8);
    }
};

int main(int argc, char **argv)
{
    prepareWindowTests();
    QApplication app(argc, argv);
    TestLinkStatus test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_linkstatus.moc"
