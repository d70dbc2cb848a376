// Choosing the history's store in the window: "Хранилище истории…" writes
// history.json and switches the recorder in the run without losing a read,
// tests a connection against a real PostgreSQL server, and never writes the
// password typed for the run anywhere.

#include "history/historyconnection.h"
#include "history/historyreader.h"
#include "history/historyrecorder.h"
#include "history/historyservice.h"
#include "history/historysettings.h"
#include "history/readspool.h"
#include "history/servercheck.h"
#include "historydialogtester.h"
#include "historystation.h"
#include "historystoragedialogtester.h"
#include "historytestdata.h"
#include "mainwindowtester.h"
#include "modalhelper.h"
#include "postgresserver.h"
#include "testports.h"
#include "ui/historydialog.h"
#include "windowtestmain.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>
#include <functional>

namespace {

const QString kOwner = QStringLiteral("owner");
const QString kOperator = QStringLiteral("operator");
const QString kPassword = QStringLiteral("Zq7-пароль-smena");
const QString kSecured = QStringLiteral("secured");
constexpr int kWaitMs = 30000;

QString settingsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString historyFile()
{
    return historyDatabasePath(settingsFolder());
}

// The number of reads in a store; -1 when it cannot be opened.
int storedReads(HistoryConnection &&store)
{
    if (!store.open())
        return -1;
    QSqlQuery q = store.query();
    if (!q.exec(QStringLiteral("SELECT count(*) FROM reads")) || !q.next())
        return -1;
    return q.value(0).toInt();
}

// The block names of the newest read of a store.
QStringList newestReadBlocks(HistoryConnection &&store)
{
    QVector<StoredRead> reads;
    ReadRecord read;
    if (!store.open() || !HistoryReader(store).listReads(ReadFilter(), nullptr, 1, &reads) || reads.isEmpty()
        || !HistoryReader(store).loadRead(reads.first().id, &read))
        return {};
    QStringList names;
    for (const MemoryBlock &block : qAsConst(read.blocks))
        names.append(block.name);
    return names;
}

QStringList unsavedFiles()
{
    return QDir(settingsFolder()).entryList({QStringLiteral("history-unsaved-*.sqlite")}, QDir::Files);
}

QVector<SimulatedBlock> instrumentBlocks()
{
    return {{QStringLiteral("Пустой 0001"), {}},
            {QStringLiteral("Lot A 0002"), {142.5f, 99.96f, 100.0f}},
            {QStringLiteral("Т 0003"), {4.81f, 4.79f, 4.83f, 5.2f}}};
}

void enterServer(Ui::HistoryStorageDialog *form, const HistoryServer &server)
{
    form->server_radio->click();
    form->host_edit->setText(server.host);
    form->port_spin->setValue(server.port);
    form->database_edit->setText(server.database);
    form->user_edit->setText(server.user);
    form->password_edit->setText(server.password);
}

// Opens "Хранилище истории…" from the menu and hands its form to `act`,
// which must end the dialog.
void chooseStorage(MainWindow &window,
                   std::function<void(HistoryStorageDialog *, Ui::HistoryStorageDialog *)> act)
{
    whenModalAppears(
        [act](QWidget *modal) {
            auto *dialog = static_cast<HistoryStorageDialog *>(modal);
            act(dialog, HistoryStorageDialogTester::ui(*dialog));
        },
        [](QWidget *modal) { return qobject_cast<HistoryStorageDialog *>(modal) != nullptr; });
    MainWindowTester::ui(window)->action_history_storage->trigger();
}

// Chooses the store in the dialog and presses OK.
void switchStore(MainWindow &window, const HistorySettings &settings)
{
    chooseStorage(window, [settings](HistoryStorageDialog *, Ui::HistoryStorageDialog *form) {
        if (settings.backend == HistoryBackend::Postgres)
            enterServer(form, settings.server);
        else
            form->local_radio->click();
        form->button_box->button(QDialogButtonBox::Ok)->click();
    });
}

HistorySettings onServer(const HistoryServer &server)
{
    HistorySettings settings;
    settings.backend = HistoryBackend::Postgres;
    settings.server = server;
    return settings;
}

QString serverInUse(const HistoryServer &server)
{
    return QStringLiteral("История измерений хранится на сервере PostgreSQL %1:%2, база «%3».")
        .arg(server.host)
        .arg(server.port)
        .arg(server.database);
}

QString localInUse()
{
    return QStringLiteral("История измерений хранится на этом компьютере: %1.")
        .arg(QDir::toNativeSeparators(historyFile()));
}

// The store and the server's address (not the password) as the dialog shows them.
void compareChoice(const HistorySettings &shown, const HistorySettings &wanted)
{
    QCOMPARE(shown.backend, wanted.backend);
    QCOMPARE(shown.server.host, wanted.server.host);
    QCOMPARE(shown.server.port, wanted.server.port);
    QCOMPARE(shown.server.database, wanted.server.database);
    QCOMPARE(shown.server.user, wanted.server.user);
}

} // namespace

class HistoryStorageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QString why;
        QVERIFY2(server.start(&why), qPrintable(why));
        QVERIFY2(server.createDatabase(kSecured, &why), qPrintable(why));
        QVERIFY2(server.addPasswordUser(kOperator, kPassword, kSecured, &why), qPrintable(why));
        QVERIFY(passwordFiles.isValid());
    }
    void cleanupTestCase() { server.stop(); }
    void init()
    {
        freshSettingsFolder();
        // No password file of the machine's user takes part.
        qputenv("PGPASSFILE", QFile::encodeName(passwordFiles.filePath(QStringLiteral("none"))));
        QString why;
        QVERIFY2(server.start(&why), qPrintable(why));
    }
    void cleanup()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String("history_warning"))
                widget->close();
        }
    }

    // Below "История измерений…"; a modal dialog that starts on the local
    // file with its path shown read-only; Cancel writes nothing; the
    // language switch retranslates the dialog, a shown result included.
    void menuAndForm()
    {
        MainWindow window(noPorts());
        auto *ui = MainWindowTester::ui(window);
        QCOMPARE(ui->data->actions(),
                 (QList<QAction *>{ui->action_history, ui->action_history_storage,
                                   ui->action_process_analysis, ui->action_report_signing}));
        QCOMPARE(ui->action_history_storage->text(), QStringLiteral("Хранилище истории…"));

        bool modal = false;
        chooseStorage(window, [&modal](HistoryStorageDialog *dialog, Ui::HistoryStorageDialog *form) {
            modal = dialog->isModal();
            form->server_radio->click();
            form->button_box->button(QDialogButtonBox::Cancel)->click();
        });
        QVERIFY(modal);
        QVERIFY(!QFileInfo::exists(historySettingsPath(settingsFolder())));

        HistoryStorageDialog dialog(settingsFolder(), HistorySettings(), &window);
        auto *form = HistoryStorageDialogTester::ui(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Хранилище истории"));
        QVERIFY(form->local_radio->isChecked());
        QVERIFY(form->local_path->isReadOnly());
        QCOMPARE(form->local_path->text(), QDir::toNativeSeparators(historyFile()));
        QCOMPARE(form->port_spin->value(), 5432);
        QVERIFY(!form->server_fields->isEnabled());
        QCOMPARE(form->password_edit->echoMode(), QLineEdit::Password);
        QVERIFY(form->password_note->text().contains(QStringLiteral("не записывается ни в какой файл")));
        form->server_radio->click();
        QVERIFY(form->server_fields->isEnabled());

        enterServer(form, freshDatabase(QStringLiteral("form_check")));
        ui->actionEN->trigger();
        QTRY_COMPARE(dialog.windowTitle(), QStringLiteral("History storage"));
        QCOMPARE(ui->action_history_storage->text(), QStringLiteral("History storage…"));
        QCOMPARE(form->local_radio->text(), QStringLiteral("On this computer"));
        QCOMPARE(form->check_button->text(), QStringLiteral("Test connection"));
        QCOMPARE(form->button_box->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));
        QVERIFY(form->password_note->text().contains(QStringLiteral("never written to any file")));
        QCOMPARE(form->local_path->text(), QDir::toNativeSeparators(historyFile()));
        QCOMPARE(form->host_edit->text(), server.address(QString()).host);
        form->check_button->click();
        QCOMPARE(form->result_label->text(), QStringLiteral("Connected; the history tables are ready."));
        ui->actionRU->trigger();
        QTRY_COMPARE(form->result_label->text(),
                     QStringLiteral("Соединение установлено, таблицы истории готовы."));
        QCOMPARE(form->check_button->text(), QStringLiteral("Проверить соединение"));
        QCOMPARE(form->button_box->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Отмена"));
    }

    // OK writes the values to history.json (never the password) and says
    // which store is used; the dialog shows them again, in this run and the next.
    void writesSettings_data()
    {
        QTest::addColumn<bool>("toServer");
        QTest::addColumn<QString>("host");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("user");
        QTest::newRow("local file") << false << QString() << 5432 << QString() << QString();
        QTest::newRow("server by name") << true << QStringLiteral("db.plant.example") << 6543
                                        << QStringLiteral("zrv history") << QStringLiteral("оператор");
        QTest::newRow("server by socket folder") << true << QStringLiteral("/var/run/postgresql") << 5432
                                                 << QStringLiteral("stations") << QStringLiteral("zrv");
    }
    void writesSettings()
    {
        QFETCH(bool, toServer);
        QFETCH(QString, host);
        QFETCH(int, port);
        QFETCH(QString, database);
        QFETCH(QString, user);
        HistorySettings before = onServer({QStringLiteral("old.example"), 1234, QStringLiteral("old"),
                                           QStringLiteral("old user"), QString()});
        QVERIFY(saveHistorySettings(settingsFolder(), before));
        HistorySettings wanted = toServer ? onServer({host, port, database, user, kPassword}) : before;
        if (!toServer)
            wanted.backend = HistoryBackend::Sqlite;

        MainWindow window(noPorts());
        HistorySettings shown;
        chooseStorage(window, [&](HistoryStorageDialog *dialog, Ui::HistoryStorageDialog *form) {
            shown = dialog->chosenSettings();
            if (toServer)
                enterServer(form, wanted.server);
            else
                form->local_radio->click();
            form->button_box->button(QDialogButtonBox::Ok)->click();
        });
        QCOMPARE(shown.backend, HistoryBackend::Postgres);
        QCOMPARE(shown.server.host, before.server.host);
        QCOMPARE(shown.server.port, before.server.port);
        QCOMPARE(shown.server.database, before.server.database);
        QCOMPARE(shown.server.user, before.server.user);

        QFile file(historySettingsPath(settingsFolder()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QJsonObject object = QJsonDocument::fromJson(bytes).object();
        QCOMPARE(object.keys(),
                 (QStringList{QStringLiteral("backend"), QStringLiteral("database"), QStringLiteral("host"),
                              QStringLiteral("port"), QStringLiteral("user")}));
        QCOMPARE(object.value(QStringLiteral("backend")).toString(),
                 toServer ? QStringLiteral("postgresql") : QStringLiteral("sqlite"));
        QCOMPARE(object.value(QStringLiteral("host")).toString(), wanted.server.host);
        QCOMPARE(object.value(QStringLiteral("port")).toInt(), wanted.server.port);
        QCOMPARE(object.value(QStringLiteral("database")).toString(), wanted.server.database);
        QCOMPARE(object.value(QStringLiteral("user")).toString(), wanted.server.user);
        QVERIFY(!bytes.contains(kPassword.toUtf8()));
        QCOMPARE(window.findChild<HistoryService *>()->settings().backend, wanted.backend);
        QCOMPARE(historyStatus(window), toServer ? serverInUse(wanted.server) : localInUse());

        // Again in this run: the password typed stays for the run.
        chooseStorage(window, [&](HistoryStorageDialog *dialog, Ui::HistoryStorageDialog *form) {
            shown = dialog->chosenSettings();
            form->button_box->button(QDialogButtonBox::Cancel)->click();
        });
        compareChoice(shown, wanted);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(shown.server.password, toServer ? kPassword : QString());

        // The next run reads the file: no password.
        MainWindow next(noPorts());
        chooseStorage(next, [&](HistoryStorageDialog *dialog, Ui::HistoryStorageDialog *form) {
            shown = dialog->chosenSettings();
            form->button_box->button(QDialogButtonBox::Cancel)->click();
        });
        compareChoice(shown, wanted);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(shown.server.password.isEmpty());
    }

    // Local file → server in the run: the next read goes to the server; an
    // open history window shows the server's reads, not the file's.
    void switchToServer()
    {
        const HistoryServer address = freshDatabase(QStringLiteral("switch_to_server"));
        InstrumentWindow station;
        QVERIFY(station.start(instrumentBlocks()));
        QVERIFY(station.read());
        QCOMPARE(storedReads(HistoryConnection(historyFile())), 1);
        station.ui->action_history->trigger();
        QPointer<HistoryDialog> before = station.window->findChild<HistoryDialog *>();
        QVERIFY(before && before->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(HistoryDialogTester::ui(*before)->reads_view->model()->rowCount(), 1,
                                  testMs(kWaitMs));

        switchStore(*station.window, onServer(address));
        QCOMPARE(station.window->findChild<HistoryService *>()->settings().backend, HistoryBackend::Postgres);
        QCOMPARE(historyStatus(*station.window), serverInUse(address));
        QVERIFY(before.isNull());
        auto *after = station.window->findChild<HistoryDialog *>();
        QVERIFY(after && after->isVisible());
        QCOMPARE(HistoryDialogTester::ui(*after)->reads_view->model()->rowCount(), 0);

        QVERIFY(station.read());
        QCOMPARE(storedReads(HistoryConnection(address)), 1);
        QCOMPARE(newestReadBlocks(HistoryConnection(address)), listed(station.ui->block_names_list));
        QCOMPARE(storedReads(HistoryConnection(historyFile())), 1);
        QTRY_COMPARE(HistoryDialogTester::ui(*after)->reads_view->model()->rowCount(), 1);
    }

    // A read the old store could not take waits in memory; after the switch
    // it is in the new store, and no file of unsaved reads is left.
    void readWaitingInMemory_data()
    {
        QTest::addColumn<bool>("toServer");
        QTest::newRow("to the server") << true;
        QTest::newRow("to the local file once it works") << false;
    }
    void readWaitingInMemory()
    {
        QFETCH(bool, toServer);
        const HistoryServer address = freshDatabase(QStringLiteral("waiting_%1").arg(int(toServer)));
        InstrumentWindow station;
        QVERIFY(station.start(instrumentBlocks()));
        QVERIFY(QDir().mkpath(historyFile())); // the local file cannot be made
        QVERIFY(station.read());
        QCOMPARE(station.window->findChild<HistoryService *>()->unsavedCount(), 1);

        if (!toServer)
            QVERIFY(QDir(historyFile()).removeRecursively());
        switchStore(*station.window, toServer ? onServer(address) : HistorySettings());
        if (toServer)
            QTRY_COMPARE_WITH_TIMEOUT(storedReads(HistoryConnection(address)), 1, testMs(kWaitMs));
        else
            QTRY_COMPARE_WITH_TIMEOUT(storedReads(HistoryConnection(historyFile())), 1, testMs(kWaitMs));
        QCOMPARE(newestReadBlocks(toServer ? HistoryConnection(address) : HistoryConnection(historyFile())),
                 listed(station.ui->block_names_list));
        QTRY_COMPARE_WITH_TIMEOUT(station.window->findChild<HistoryService *>()->unsavedCount(), 0,
                                  testMs(kWaitMs));
        QTRY_COMPARE(unsavedFiles(), QStringList());
        QDir(historyFile()).removeRecursively();
    }

    // "Проверить соединение" says in words what the server answered, with
    // the driver's own text when it failed.
    void checkConnection_data()
    {
        QTest::addColumn<QString>("host"); // empty: the test's server
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("user"); // empty: the server's owner
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("stopServer");
        QTest::addColumn<QString>("words");
        QTest::newRow("running server")
            << QString() << QStringLiteral("check_ready") << QString() << QString() << false
            << QStringLiteral("Соединение установлено, таблицы истории готовы.");
        QTest::newRow("stopped server")
            << QString() << QStringLiteral("check_stopped") << QString() << QString() << true
            << QStringLiteral("Сервер не отвечает: проверьте адрес, порт и что сервер запущен.");
        QTest::newRow("no such database")
            << QString() << QStringLiteral("no_such_database") << QString() << QString() << false
            << QStringLiteral("На сервере нет такой базы данных.");
        QTest::newRow("wrong password")
            << QString() << kSecured << kOperator << QStringLiteral("wrong") << false
            << QStringLiteral("Сервер не принял пользователя или пароль.");
        QTest::newRow("unknown user") << QString() << kSecured << QStringLiteral("nobody_here") << QString()
                                      << false << QStringLiteral("Сервер не принял пользователя или пароль.");
        QTest::newRow("unknown host")
            << QStringLiteral("no-such-host.invalid") << kSecured << QString() << QString() << false
            << QStringLiteral("Сервер с таким именем не найден: проверьте имя или адрес.");
    }
    void checkConnection()
    {
        QFETCH(QString, host);
        QFETCH(QString, database);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, stopServer);
        QFETCH(QString, words);
        HistoryServer address =
            database.startsWith(QLatin1String("check_")) ? freshDatabase(database) : server.address(database);
        if (!host.isEmpty())
            address.host = host;
        if (!user.isEmpty())
            address.user = user;
        address.password = password;
        if (stopServer)
            server.stop();

        HistoryStorageDialog dialog(settingsFolder(), HistorySettings());
        auto *form = HistoryStorageDialogTester::ui(dialog);
        enterServer(form, address);
        form->check_button->click();
        const QString text = form->result_label->text();
        const bool ready = words.startsWith(QStringLiteral("Соединение установлено"));
        if (ready) {
            QCOMPARE(text, words);
        } else {
            QVERIFY2(text.startsWith(words + QStringLiteral("\nОтвет драйвера: ")), qPrintable(text));
            QVERIFY(text.size() > words.size() + QStringLiteral("\nОтвет драйвера: ").size());
        }
        // Checking changes nothing.
        QVERIFY(!QFileInfo::exists(historySettingsPath(settingsFolder())));
    }

    // The password typed reaches the connection; without one the server's
    // password file is used.
    void password_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("passwordFile");
        QTest::addColumn<bool>("ready");
        QTest::newRow("typed") << kPassword << false << true;
        QTest::newRow("none, no password file") << QString() << false << false;
        QTest::newRow("none, password file") << QString() << true << true;
        QTest::newRow("typed wrong, password file") << QStringLiteral("wrong") << true << false;
    }
    void password()
    {
        QFETCH(QString, typed);
        QFETCH(bool, passwordFile);
        QFETCH(bool, ready);
        if (passwordFile) {
            const QString path = passwordFiles.filePath(QStringLiteral("pgpass"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QStringLiteral("*:*:*:%1:%2\n").arg(kOperator, kPassword).toUtf8());
            file.close();
            // libpq ignores a password file others may read.
            QVERIFY(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
            qputenv("PGPASSFILE", QFile::encodeName(path));
        }
        HistoryServer address = server.address(kSecured);
        address.user = kOperator;
        address.password = typed;
        const ServerCheck check = checkHistoryServer(address);
        QVERIFY2(check.outcome == (ready ? ServerCheckOutcome::Ready : ServerCheckOutcome::Authentication),
                 qPrintable(check.driverText));
    }

    // The password typed for the run is in no file under the settings
    // folder: not in history.json, the history, nor the unsaved reads kept
    // at the end of a run whose stores were both gone.
    void passwordNeverWritten()
    {
        HistoryServer address = server.address(kSecured);
        address.user = kOperator;
        address.password = kPassword;
        InstrumentWindow station;
        QVERIFY(station.start(instrumentBlocks()));
        switchStore(*station.window, onServer(address));
        QVERIFY(station.read());
        QCOMPARE(storedReads(HistoryConnection(address)), 1);

        server.stop();
        QVERIFY(QDir().mkpath(historyFile()));
        QVERIFY(station.read());
        QCOMPARE(station.window->findChild<HistoryService *>()->unsavedCount(), 1);
        station.window.reset();
        // The read waits in the spool, apart from the settings folder.
        QCOMPARE(ReadSpool().count(), 1);

        const QList<QByteArray> forms{kPassword.toUtf8(),
                                      QByteArray(reinterpret_cast<const char *>(kPassword.utf16()),
                                                 kPassword.size() * int(sizeof(char16_t)))};
        int files = 0;
        for (const QString &folder : {settingsFolder(), ReadSpool().folder()}) {
            QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                QFile file(it.next());
                QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
                const QByteArray bytes = file.readAll();
                for (const QByteArray &form : forms)
                    QVERIFY2(!bytes.contains(form), qPrintable(file.fileName()));
                ++files;
            }
        }
        QVERIFY(files >= 2); // history.json and the unsaved reads at least
    }

    // A history.json that cannot be written: said in the dialog, which stays
    // open; the store in use stays as it was.
    void settingsNotWritable()
    {
        const QString settingsPath = historySettingsPath(settingsFolder());
        QVERIFY(QDir().mkpath(settingsPath)); // a folder where the file should be
        MainWindow window(noPorts());
        auto *recorder = window.findChild<HistoryService *>();
        bool stayedOpen = false;
        QString said;
        chooseStorage(window, [&](HistoryStorageDialog *dialog, Ui::HistoryStorageDialog *form) {
            enterServer(form, server.address(kSecured));
            form->button_box->button(QDialogButtonBox::Ok)->click();
            stayedOpen = dialog->isVisible();
            said = form->result_label->text();
            form->button_box->button(QDialogButtonBox::Cancel)->click();
        });
        QVERIFY(stayedOpen);
        QCOMPARE(said,
                 QStringLiteral("Не удалось записать настройки в файл %1. Проверьте права на запись и место "
                                "на диске. Хранилище истории не изменено.")
                     .arg(QDir::toNativeSeparators(settingsPath)));
        QCOMPARE(window.findChild<HistoryService *>(), recorder);
        QCOMPARE(recorder->settings().backend, HistoryBackend::Sqlite);
        QCOMPARE(historyStatus(window), QString());
        QVERIFY(QFileInfo(settingsPath).isDir());
    }

private:
    HistoryServer freshDatabase(const QString &name)
    {
        QString why;
        if (!server.createDatabase(name, &why))
            qWarning("%s", qPrintable(why));
        return server.address(name);
    }

    PostgresServer server;
    QTemporaryDir passwordFiles;
};

ZRV_WINDOW_TEST_MAIN(HistoryStorageTest)

#include "tst_historystorage.moc"
