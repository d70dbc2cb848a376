// The history in the window: the menu and its shortcut, the history dialog
// (newest first, filters, the blocks of a read, paging, deleting, CSV), and
// "Открыть", which puts a stored read into the window as a fresh read does.
// End to end: a read from the simulated instrument, the window closed and
// opened again, the read re-opened from the history gives the same reports.

#include "history/historyconnection.h"
#include "history/historyreader.h"
#include "history/historyrecorder.h"
#include "history/historyservice.h"
#include "history/historysettings.h"
#include "history/historywriter.h"
#include "history/readlistmodel.h"
#include "historydialogtester.h"
#include "historystation.h"
#include "historytestdata.h"
#include "mainwindowtester.h"
#include "modalhelper.h"
#include "openedfiles.h"
#include "testports.h"
#include "toolrun.h"
#include "ui/historytexts.h"
#include "windowtestmain.h"
#include "xlsxreader.h"

#include <QDesktopServices>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenuBar>
#include <QStatusBar>
#include <QtTest>

namespace {

const QDateTime kFirst(QDate(2024, 2, 1), QTime(7, 45, 10), Qt::UTC);
constexpr int kWaitMs = 30000;

QVector<ReadRecord> storedReads()
{
    return {makeRead(kFirst, {makeBlock(QStringLiteral("Т 0001"), awkwardValues()),
                              makeBlock(QStringLiteral("Lot A 0002"), {142.5f, 99.96f, 100.0f})}),
            makeRead(kFirst.addDays(3), {makeBlock(QStringLiteral("Сварной шов 0001"), {196.0f, 201.0f})},
                     ReadOutcome::InstrumentLost, QStringLiteral("/dev/ttyACM1")),
            makeRead(kFirst.addDays(10), {makeBlock(QStringLiteral("т 0001"), {4.81f, 4.79f, 4.83f}),
                                          makeBlock(QString(), {}, BlockFault::Name)})};
}

QString historyFile()
{
    return historyDatabasePath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

bool storeInHistory(const QVector<ReadRecord> &reads)
{
    HistoryConnection file(historyFile());
    if (!file.open())
        return false;
    HistoryWriter writer(file);
    for (const ReadRecord &read : reads) {
        if (!writer.storeRead(read))
            return false;
    }
    return true;
}

HistoryDialog *openHistory(MainWindow &window)
{
    MainWindowTester::ui(window)->action_history->trigger();
    auto *dialog = window.findChild<HistoryDialog *>();
    if (!dialog || !dialog->isVisible())
        return nullptr;
    // The history's worker answers on its own thread.
    return QTest::qWaitFor([dialog] { return !dialog->isBusy(); }, kWaitMs) ? dialog : nullptr;
}

// Waits for the answers the history window asked for.
bool settled(HistoryDialog *dialog)
{
    return QTest::qWaitFor([dialog] { return !dialog->isBusy(); }, kWaitMs);
}

QStringList column(QAbstractItemModel *model, int column)
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts.append(model->index(row, column).data().toString());
    return texts;
}

// Selects whole rows, the first of them current, as clicks with Ctrl would.
void selectRows(QTableView *view, std::initializer_list<int> rows)
{
    QItemSelectionModel *selection = view->selectionModel();
    selection->clearSelection();
    selection->setCurrentIndex(view->model()->index(*rows.begin(), 0), QItemSelectionModel::NoUpdate);
    for (const int row : rows)
        selection->select(view->model()->index(row, 0),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QList<QMessageBox *> historyWarnings()
{
    QList<QMessageBox *> boxes;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(widget);
        if (box && box->objectName() == QLatin1String("history_warning") && box->isVisible())
            boxes.append(box);
    }
    return boxes;
}

QVector<SimulatedBlock> instrumentBlocks()
{
    return {{QStringLiteral("Пустой 0001"), {}},
            {QStringLiteral("Lot A 0002"), {142.5f, 99.96f, 100.0f}},
            {QStringLiteral("Т 0003"), {4.81f, 4.79f, 4.83f, 5.2f}}};
}

} // namespace

class HistoryWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
        QVERIFY(files.isValid());
    }
    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        server.stop();
    }
    void init()
    {
        freshSettingsFolder();
        opened.urls.clear();
    }
    void cleanup()
    {
        for (QMessageBox *box : historyWarnings())
            box->close();
    }

    // "Данные" / "Data", just before Help in the menu bar, with "История измерений…" on Ctrl+H.
    void menu()
    {
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        const QList<QAction *> bar = ui->menubar->actions();
        QCOMPARE(bar.at(bar.size() - 2)->menu(), ui->data);
        QCOMPARE(bar.last()->menu(), ui->about);
        QCOMPARE(ui->data->title(), QStringLiteral("Данные"));
        QCOMPARE(ui->data->actions(),
                 (QList<QAction *>{ui->action_history, ui->action_history_storage,
                                   ui->action_process_analysis, ui->action_report_signing}));
        QCOMPARE(ui->action_history->text(), QStringLiteral("История измерений…"));
        QCOMPARE(ui->action_history->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_H));
        ui->actionEN->trigger();
        QCOMPARE(ui->data->title(), QStringLiteral("Data"));
        QCOMPARE(ui->action_history->text(), QStringLiteral("Measurement history…"));
        ui->actionRU->trigger();

        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_H, Qt::ControlModifier);
        auto *dialog = window.findChild<HistoryDialog *>();
        QVERIFY(dialog);
        QTRY_VERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), QStringLiteral("История измерений"));
    }

    // The dialog follows the window's language, also while it is open.
    void dialogLanguage()
    {
        QVERIFY(storeInHistory(storedReads()));
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        ui->actionEN->trigger();
        HistoryDialog *dialog = openHistory(window);
        QVERIFY(dialog);
        auto *form = HistoryDialogTester::ui(*dialog);
        const auto texts = [&] {
            QAbstractItemModel *reads = form->reads_view->model();
            return QStringList{dialog->windowTitle(),
                               form->block_filter_label->text(),
                               form->block_filter->placeholderText(),
                               form->date_filter->text(),
                               form->date_to_label->text(),
                               form->reads_label->text(),
                               form->blocks_label->text(),
                               form->open_button->text(),
                               form->delete_button->text(),
                               form->csv_format->itemText(0),
                               form->csv_format->itemText(1),
                               form->export_button->text(),
                               form->close_button->text(),
                               reads->headerData(ReadListModel::TimeColumn, Qt::Horizontal).toString(),
                               reads->headerData(ReadListModel::PortColumn, Qt::Horizontal).toString(),
                               reads->headerData(ReadListModel::BlocksColumn, Qt::Horizontal).toString(),
                               reads->headerData(ReadListModel::ValuesColumn, Qt::Horizontal).toString(),
                               reads->headerData(ReadListModel::OutcomeColumn, Qt::Horizontal).toString(),
                               reads->index(1, ReadListModel::OutcomeColumn).data().toString(),
                               form->blocks_view->model()->headerData(4, Qt::Horizontal).toString()};
        };
        const QStringList english = {QStringLiteral("Measurement history"),
                                     QStringLiteral("Block:"),
                                     QStringLiteral("part of a block name"),
                                     QStringLiteral("Period from"),
                                     QStringLiteral("to"),
                                     QStringLiteral("Reads"),
                                     QStringLiteral("Blocks of the selected read"),
                                     QStringLiteral("Open"),
                                     QStringLiteral("Delete"),
                                     QStringLiteral("“;” and decimal comma"),
                                     QStringLiteral("“,” and decimal point"),
                                     QStringLiteral("Export to CSV…"),
                                     QStringLiteral("Close"),
                                     QStringLiteral("Date and time"),
                                     QStringLiteral("Port"),
                                     QStringLiteral("Blocks"),
                                     QStringLiteral("Values"),
                                     QStringLiteral("Read"),
                                     QStringLiteral("cut: instrument lost"),
                                     QStringLiteral("Failed request")};
        const QStringList russian = {QStringLiteral("История измерений"),
                                     QStringLiteral("Блок:"),
                                     QStringLiteral("часть имени блока"),
                                     QStringLiteral("Период с"),
                                     QStringLiteral("по"),
                                     QStringLiteral("Чтения"),
                                     QStringLiteral("Блоки выбранного чтения"),
                                     QStringLiteral("Открыть"),
                                     QStringLiteral("Удалить"),
                                     QStringLiteral("«;» и десятичная запятая"),
                                     QStringLiteral("«,» и десятичная точка"),
                                     QStringLiteral("Экспорт в CSV…"),
                                     QStringLiteral("Закрыть"),
                                     QStringLiteral("Дата и время"),
                                     QStringLiteral("Порт"),
                                     QStringLiteral("Блоков"),
                                     QStringLiteral("Значений"),
                                     QStringLiteral("Чтение"),
                                     QStringLiteral("прервано: прибор отключён"),
                                     QStringLiteral("Сбой чтения")};
        QCOMPARE(texts(), english);
        // The change of language reaches open windows through the event loop.
        ui->actionRU->trigger();
        QTRY_COMPARE(texts(), russian);
    }

    // Newest first in local time; filters by name and by days; the blocks of
    // the selected read; "Открыть" fills the window as a read does.
    void listFilterAndOpen()
    {
        const QVector<ReadRecord> reads = storedReads();
        QVERIFY(storeInHistory(reads));
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        HistoryDialog *dialog = openHistory(window);
        QVERIFY(dialog);
        auto *form = HistoryDialogTester::ui(*dialog);
        QAbstractItemModel *model = form->reads_view->model();
        QCOMPARE(column(model, ReadListModel::TimeColumn),
                 (QStringList{historyTimeText(reads.at(2).startedAt), historyTimeText(reads.at(1).startedAt),
                              historyTimeText(reads.at(0).startedAt)}));
        QCOMPARE(historyTimeText(kFirst),
                 kFirst.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
        QCOMPARE(column(model, ReadListModel::PortColumn),
                 (QStringList{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyACM1"),
                              QStringLiteral("/dev/ttyUSB0")}));
        QCOMPARE(column(model, ReadListModel::BlocksColumn), (QStringList{"2", "1", "2"}));
        QCOMPARE(column(model, ReadListModel::ValuesColumn),
                 (QStringList{"3", "2", QString::number(awkwardValues().size() + 3)}));
        QCOMPARE(column(model, ReadListModel::OutcomeColumn),
                 (QStringList{QStringLiteral("завершено с ошибками: 1 из 2"),
                              QStringLiteral("прервано: прибор отключён"), QStringLiteral("завершено")}));
        QVERIFY(!form->open_button->isEnabled());

        // By name, in any case.
        form->block_filter->setText(QStringLiteral("т 00"));
        QVERIFY(settled(dialog));
        QCOMPARE(model->rowCount(), 2);
        form->block_filter->clear();
        QVERIFY(settled(dialog));
        QCOMPARE(model->rowCount(), 3);
        // By whole local days.
        form->date_from->setDate(kFirst.toLocalTime().date().addDays(1));
        QVERIFY(settled(dialog));
        form->date_to->setDate(kFirst.addDays(3).toLocalTime().date());
        QVERIFY(settled(dialog));
        QCOMPARE(model->rowCount(), 3);
        form->date_filter->setChecked(true);
        QVERIFY(settled(dialog));
        QCOMPARE(column(model, ReadListModel::PortColumn), QStringList{QStringLiteral("/dev/ttyACM1")});
        form->date_filter->setChecked(false);
        QVERIFY(settled(dialog));

        selectRows(form->reads_view, {2});
        QVERIFY(settled(dialog));
        QVERIFY(form->open_button->isEnabled());
        QCOMPARE(column(form->blocks_view->model(), 1),
                 (QStringList{QStringLiteral("Т 0001"), QStringLiteral("Lot A 0002")}));
        QCOMPARE(column(form->blocks_view->model(), 2),
                 (QStringList{QString::number(awkwardValues().size()), "3"}));

        QTest::mouseClick(form->open_button, Qt::LeftButton);
        QVERIFY(settled(dialog));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(listed(ui->block_names_list),
                 (QStringList{QStringLiteral("Т 0001"), QStringLiteral("Lot A 0002")}));
        QVERIFY(ui->block_names_list->isEnabled());
        const QVector<MemoryBlock> &blocks = MainWindowTester::blocks(window);
        QCOMPARE(blocks.size(), 2);
        QVERIFY(sameBits(blocks.at(0).values, reads.at(0).blocks.at(0).values));
        QCOMPARE(historyStatus(window),
                 QStringLiteral("Из истории: ")
                     + kFirst.toLocalTime().toString(QStringLiteral("dd.MM.yyyy HH:mm:ss")));
        QVERIFY(!ui->button_export_to_PDF->isEnabled());

        MainWindowTester::showBlock(window, 1);
        QCOMPARE(ui->table_block_data->rowCount(), 3);
        QVERIFY(ui->button_export_to_PDF->isEnabled());
        QVERIFY(ui->button_export_to_excel->isEnabled());

        // The read with a nameless block lists it at its place, as a read does.
        dialog = openHistory(window);
        selectRows(form->reads_view, {0});
        QVERIFY(settled(dialog));
        QTest::mouseClick(form->open_button, Qt::LeftButton);
        QVERIFY(settled(dialog));
        QCOMPARE(listed(ui->block_names_list), (QStringList{QStringLiteral("т 0001"), QString()}));
        QCOMPARE(ui->block_names_list->item(1)->toolTip(), QStringLiteral("Ошибка запроса имени блока"));
        QVERIFY(ui->block_names_list->item(0)->toolTip().isEmpty());
    }

    // The words on a read opened from the history go when the instrument is read again.
    void freshReadAfterAnOpenedOne()
    {
        QVERIFY(storeInHistory(storedReads()));
        InstrumentWindow station;
        QVERIFY(station.start(instrumentBlocks()));
        HistoryDialog *dialog = openHistory(*station.window);
        QVERIFY(dialog);
        selectRows(HistoryDialogTester::ui(*dialog)->reads_view, {1});
        QVERIFY(settled(dialog));
        QTest::mouseClick(HistoryDialogTester::ui(*dialog)->open_button, Qt::LeftButton);
        QVERIFY(settled(dialog));
        QCOMPARE(listed(station.ui->block_names_list), QStringList{QStringLiteral("Сварной шов 0001")});
        QVERIFY(historyStatus(*station.window).startsWith(QStringLiteral("Из истории: ")));
        QVERIFY(station.read());
        QCOMPARE(listed(station.ui->block_names_list).size(), 3);
        QCOMPARE(historyStatus(*station.window), QString());
    }

    // Deleting asks first.
    void deleteAfterConfirmation()
    {
        QVERIFY(storeInHistory(storedReads()));
        MainWindow window(noPorts());
        HistoryDialog *dialog = openHistory(window);
        QVERIFY(dialog);
        auto *form = HistoryDialogTester::ui(*dialog);
        selectRows(form->reads_view, {0, 2});
        QVERIFY(settled(dialog));
        {
            ModalAnswerer modals;
            modals.queueButton(QMessageBox::No);
            QTest::mouseClick(form->delete_button, Qt::LeftButton);
            QVERIFY(settled(dialog));
            QCOMPARE(modals.boxes.size(), 1);
            QCOMPARE(modals.boxes.at(0).text, QStringLiteral("Удалить из истории выбранные чтения (2)?"));
        }
        QCOMPARE(form->reads_view->model()->rowCount(), 3);
        {
            ModalAnswerer modals;
            modals.queueButton(QMessageBox::Yes);
            QTest::mouseClick(form->delete_button, Qt::LeftButton);
            QVERIFY(settled(dialog));
            QCOMPARE(modals.boxes.size(), 1);
        }
        QCOMPARE(column(form->reads_view->model(), ReadListModel::PortColumn),
                 QStringList{QStringLiteral("/dev/ttyACM1")});
        HistoryConnection file(historyFile());
        QVERIFY(file.open());
        QCOMPARE(countRows(file, QStringLiteral("reads")), qint64(1));
        QCOMPARE(inconsistency(file), QString());
    }

    // The selected blocks of a read, or all of them, in the chosen layout.
    void csvExport_data()
    {
        QTest::addColumn<int>("layout");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("oneBlock");
        QTest::newRow("Russian, one block") << 0 << QStringLiteral(";") << QStringLiteral(",") << true;
        QTest::newRow("English, the whole read") << 1 << QStringLiteral(",") << QStringLiteral(".") << false;
    }

    void csvExport()
    {
        QFETCH(int, layout);
        QFETCH(QString, separator);
        QFETCH(QString, mark);
        QFETCH(bool, oneBlock);
        QVERIFY(storeInHistory(storedReads()));
        MainWindow window(noPorts());
        HistoryDialog *dialog = openHistory(window);
        QVERIFY(dialog);
        auto *form = HistoryDialogTester::ui(*dialog);
        QCOMPARE(form->csv_format->count(), 2);
        form->csv_format->setCurrentIndex(layout);
        selectRows(form->reads_view, {2});
        QVERIFY(settled(dialog));
        if (oneBlock)
            selectRows(form->blocks_view, {1});
        const QString path = files.filePath(QStringLiteral("история %1.csv").arg(layout));
        {
            ModalAnswerer modals;
            modals.queueFile(path);
            QTest::mouseClick(form->export_button, Qt::LeftButton);
            QVERIFY(settled(dialog));
            QCOMPARE(modals.fileDialogProposals.size(), 1);
            QVERIFY(modals.fileDialogProposals.at(0).endsWith(QStringLiteral(".csv")));
        }
        const QByteArray rows =
            runReader(QStringLiteral("/usr/bin/python3"),
                      {QStringLiteral("-c"),
                       QStringLiteral("import csv, sys\n"
                                      "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
                                      "    for row in csv.reader(f, delimiter=sys.argv[2]):\n"
                                      "        print('|'.join(row))\n"),
                       path, separator});
        QStringList expected = {QStringLiteral("Блок|Номер|Значение")};
        const auto add = [&](const QString &name, const QStringList &values) {
            for (int i = 0; i < values.size(); ++i)
                expected.append(QStringLiteral("%1|%2|%3")
                                    .arg(name)
                                    .arg(i + 1)
                                    .arg(QString(values.at(i)).replace(QLatin1Char('.'), mark)));
        };
        if (!oneBlock)
            add(QStringLiteral("Т 0001"),
                {QStringLiteral("nan"), QStringLiteral("nan"), QStringLiteral("nan"), QStringLiteral("-nan"),
                 QStringLiteral("inf"), QStringLiteral("-inf"), QStringLiteral("1e-45"),
                 QStringLiteral("1.1754942e-38"), QStringLiteral("-1e-45"), QStringLiteral("0"),
                 QStringLiteral("-0"), QStringLiteral("3.4028235e+38"), QStringLiteral("-3.4028235e+38"),
                 QStringLiteral("1.1754944e-38"), QStringLiteral("0.1"), QStringLiteral("142.5"),
                 QStringLiteral("-99.96"), QStringLiteral("16777216")});
        add(QStringLiteral("Lot A 0002"),
            {QStringLiteral("142.5"), QStringLiteral("99.96"), QStringLiteral("100")});
        QCOMPARE(QString::fromUtf8(rows).split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
    }

    // Every read is kept; after a restart it opens again and gives the same reports.
    void readKeptAcrossRestart()
    {
        const QString xlsxBefore = files.filePath(QStringLiteral("before.xlsx"));
        const QString xlsxAfter = files.filePath(QStringLiteral("after.xlsx"));
        const QString pdfBefore = files.filePath(QStringLiteral("before.pdf"));
        const QString pdfAfter = files.filePath(QStringLiteral("after.pdf"));
        QVector<MemoryBlock> read;
        InstrumentWindow first;
        QVERIFY(first.start(instrumentBlocks()));
        QVERIFY(first.read());
        read = MainWindowTester::blocks(*first.window);
        QCOMPARE(read.size(), 3);
        exportReports(*first.window, xlsxBefore, pdfBefore);
        first.window.reset();
        first.simulator.unplug();

        MainWindow window(noPorts());
        HistoryDialog *dialog = openHistory(window);
        QVERIFY(dialog);
        auto *form = HistoryDialogTester::ui(*dialog);
        QCOMPARE(form->reads_view->model()->rowCount(), 1);
        QVERIFY(!form->reads_view->model()->index(0, ReadListModel::PortColumn).data().toString().isEmpty());
        selectRows(form->reads_view, {0});
        QVERIFY(settled(dialog));
        QTest::mouseClick(form->open_button, Qt::LeftButton);
        QVERIFY(settled(dialog));
        const QVector<MemoryBlock> &reopened = MainWindowTester::blocks(window);
        QCOMPARE(reopened.size(), read.size());
        for (int i = 0; i < read.size(); ++i) {
            QCOMPARE(reopened.at(i).name, read.at(i).name);
            QVERIFY(sameBits(reopened.at(i).values, read.at(i).values));
        }
        exportReports(window, xlsxAfter, pdfAfter);

        const QJsonObject before = readWorkbook(xlsxBefore);
        QVERIFY(!before.isEmpty());
        QCOMPARE(readWorkbook(xlsxAfter), before);
        const QByteArray textBefore = runReader(QStringLiteral("pdftotext"),
                                                {QStringLiteral("-layout"), pdfBefore, QStringLiteral("-")});
        QVERIFY(textBefore.contains("4.8"));
        QCOMPARE(runReader(QStringLiteral("pdftotext"),
                           {QStringLiteral("-layout"), pdfAfter, QStringLiteral("-")}),
                 textBefore);

        // config.json keeps exactly its keys; the history has its own files.
        QFile config(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                     + QStringLiteral("/config.json"));
        QVERIFY(config.open(QIODevice::ReadOnly));
        QStringList keys = QJsonDocument::fromJson(config.readAll()).object().keys();
        QStringList all = allSettingsKeys() + keysWrittenAtExit();
        keys.sort();
        all.sort();
        QCOMPARE(keys, all);
    }

    // A history that cannot be written: the reads still show, the trouble is
    // said once (status area and a message), and the reads are written later.
    void failureShownOnceReadsKept()
    {
        QVERIFY(QDir().mkpath(historyFile())); // a folder where the file belongs
        InstrumentWindow station;
        QVERIFY(station.start(instrumentBlocks()));
        QVERIFY(station.read());
        QCOMPARE(listed(station.ui->block_names_list).size(), 3);
        const QString said =
            QStringLiteral("История измерений: не удалось открыть файл истории. Чтение показано и "
                           "будет записано в историю, как только это станет возможно.");
        QCOMPARE(historyStatus(*station.window), said);
        QTRY_COMPARE(historyWarnings().size(), 1);
        QCOMPARE(historyWarnings().at(0)->text(), said);
        QVERIFY(station.read());
        QCOMPARE(listed(station.ui->block_names_list).size(), 3);
        QCOMPARE(historyWarnings().size(), 1);
        QCOMPARE(station.window->findChild<HistoryService *>()->unsavedCount(), 2);

        QVERIFY(QDir(historyFile()).removeRecursively());
        QVERIFY(station.read());
        QCOMPARE(historyStatus(*station.window),
                 QStringLiteral("История измерений снова доступна: записано отложенных чтений: 3."));
        HistoryConnection file(historyFile());
        QVERIFY(file.open());
        QCOMPARE(countRows(file, QStringLiteral("reads")), qint64(3));
        // The same memory three times: its blocks are kept once.
        QCOMPARE(countRows(file, QStringLiteral("blocks")), qint64(3));
    }

    // Closing the window right after a read keeps the read, also when the
    // history cannot take it then: the next run does.
    void closingRightAfterARead_data()
    {
        QTest::addColumn<bool>("blocked");
        QTest::newRow("history writable") << false;
        QTest::newRow("history not writable") << true;
    }

    void closingRightAfterARead()
    {
        QFETCH(bool, blocked);
        if (blocked)
            QVERIFY(QDir().mkpath(historyFile()));
        {
            InstrumentWindow station;
            QVERIFY(station.start(instrumentBlocks()));
            station.ui->button_read_data->click();
            QVERIFY(station.window->findChild<HistoryService *>()->storeScheduled());
        }
        if (blocked)
            QVERIFY(QDir(historyFile()).removeRecursively());
        MainWindow window(noPorts());
        HistoryDialog *dialog = openHistory(window);
        QVERIFY(dialog);
        auto *form = HistoryDialogTester::ui(*dialog);
        QTRY_COMPARE(form->reads_view->model()->rowCount(), 1);
        QCOMPARE(form->reads_view->model()->index(0, ReadListModel::BlocksColumn).data().toInt(), 3);
    }

    // A station on the shared server: its reads go there; while the server is
    // gone they wait on this computer (said in the status area, and once in a
    // message) and are sent when it is back; another station opens them.
    void sharedServer()
    {
        QString why;
        QVERIFY2(server.start(&why), qPrintable(why));
        QVERIFY2(server.createDatabase(QStringLiteral("stations"), &why), qPrintable(why));
        HistorySettings settings;
        settings.backend = HistoryBackend::Postgres;
        settings.server = server.address(QStringLiteral("stations"));
        QVERIFY(saveHistorySettings(QFileInfo(historyFile()).absolutePath(), settings));
        const QString xlsxBefore = files.filePath(QStringLiteral("station 1.xlsx"));
        const QString xlsxAfter = files.filePath(QStringLiteral("station 2.xlsx"));
        const QString pdfBefore = files.filePath(QStringLiteral("station 1.pdf"));
        const QString pdfAfter = files.filePath(QStringLiteral("station 2.pdf"));

        InstrumentWindow station;
        QVERIFY(station.start(instrumentBlocks()));
        QVERIFY(station.read());
        exportReports(*station.window, xlsxBefore, pdfBefore);
        server.stop();
        QVERIFY(station.read());
        QCOMPARE(listed(station.ui->block_names_list).size(), 3);
        QCOMPARE(historyStatus(*station.window),
                 QStringLiteral("Сервер истории недоступен: чтение сохранено на этом компьютере (ожидают "
                                "отправки: 1)."));
        QTRY_COMPARE(historyWarnings().size(), 1);
        QCOMPARE(historyWarnings().at(0)->text(),
                 QStringLiteral("История измерений: сервер истории недоступен. Чтения сохраняются на этом "
                                "компьютере и будут отправлены на сервер, когда он станет доступен."));
        QVERIFY(station.read());
        QCOMPARE(historyWarnings().size(), 1);
        QVERIFY2(server.start(&why), qPrintable(why));
        QVERIFY(station.read());
        QCOMPARE(
            historyStatus(*station.window),
            QStringLiteral("Сервер истории доступен: отправлено чтений, сохранённых на этом компьютере: 2."));
        station.window.reset();
        station.simulator.unplug();

        MainWindow other(noPorts());
        HistoryDialog *dialog = openHistory(other);
        QVERIFY(dialog);
        auto *form = HistoryDialogTester::ui(*dialog);
        QCOMPARE(form->reads_view->model()->rowCount(), 4);
        selectRows(form->reads_view, {3});
        QVERIFY(settled(dialog));
        QTest::mouseClick(form->open_button, Qt::LeftButton);
        QVERIFY(settled(dialog));
        exportReports(other, xlsxAfter, pdfAfter);
        const QJsonObject before = readWorkbook(xlsxBefore);
        QVERIFY(!before.isEmpty());
        QCOMPARE(readWorkbook(xlsxAfter), before);
        QCOMPARE(runReader(QStringLiteral("pdftotext"),
                           {QStringLiteral("-layout"), pdfAfter, QStringLiteral("-")}),
                 runReader(QStringLiteral("pdftotext"),
                           {QStringLiteral("-layout"), pdfBefore, QStringLiteral("-")}));
    }

    // A long history is listed a page at a time.
    void longHistoryIsPaged()
    {
        constexpr int kReads = 1000;
        {
            HistoryConnection file(historyFile());
            QVERIFY(file.open());
            QVERIFY(file.exec(QStringLiteral("PRAGMA synchronous = OFF"))); // only to fill it quickly
            HistoryWriter writer(file);
            for (int i = 0; i < kReads; ++i)
                QVERIFY(writer.storeRead(
                    makeRead(kFirst.addSecs(i), {makeBlock(QStringLiteral("Т 0001"), {float(i)})})));
        }
        MainWindow window(noPorts());
        HistoryDialog *dialog = openHistory(window);
        QVERIFY(dialog);
        QTableView *view = HistoryDialogTester::ui(*dialog)->reads_view;
        QCOMPARE(view->model()->rowCount(), ReadListModel::kPageSize);
        QVERIFY(view->model()->canFetchMore(QModelIndex()));
        QCOMPARE(view->model()->index(0, ReadListModel::TimeColumn).data().toString(),
                 historyTimeText(kFirst.addSecs(kReads - 1)));
        view->scrollToBottom();
        QTRY_VERIFY(view->model()->rowCount() > ReadListModel::kPageSize);
        QVERIFY(settled(dialog));
        while (view->model()->canFetchMore(QModelIndex())) {
            view->model()->fetchMore(QModelIndex());
            QVERIFY(settled(dialog));
        }
        QCOMPARE(view->model()->rowCount(), kReads);
        QCOMPARE(view->model()->index(kReads - 1, ReadListModel::TimeColumn).data().toString(),
                 historyTimeText(kFirst));
    }

private:
    void exportReports(MainWindow &window, const QString &xlsx, const QString &pdf)
    {
        auto *ui = MainWindowTester::ui(window);
        MainWindowTester::showBlock(window, 2);
        QVERIFY(ui->button_export_to_excel->isEnabled());
        {
            ModalAnswerer modals;
            modals.queueFile(xlsx);
            modals.queueButton(QMessageBox::No);
            QTest::mouseClick(ui->button_export_to_excel, Qt::LeftButton);
        }
        {
            ModalAnswerer modals;
            modals.queueFile(pdf);
            modals.queueButton(QMessageBox::No);
            QTest::mouseClick(ui->button_export_to_PDF, Qt::LeftButton);
        }
        QVERIFY(QFileInfo::exists(xlsx));
        QVERIFY(QFileInfo::exists(pdf));
    }

    OpenedFiles opened;
    QTemporaryDir files;
    PostgresServer server;
};

ZRV_WINDOW_TEST_MAIN(HistoryWindowTest)

#include "tst_historywindow.moc"
