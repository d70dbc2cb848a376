#include "ui/historystoragedialog.h"

#include "history/historyservice.h"
#include "history/historyworker.h"
#include "ui_historystoragedialog.h"

#include <QDir>
#include <QEvent>
#include <QGuiApplication>

HistoryStorageDialog::HistoryStorageDialog(const QString &folder, const HistorySettings &current,
                                           QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::HistoryStorageDialog)
    , folder(folder)
{
    ui->setupUi(this);
    ui->local_path->setText(QDir::toNativeSeparators(historyDatabasePath(folder)));
    const bool server = current.backend == HistoryBackend::Postgres;
    (server ? ui->server_radio : ui->local_radio)->setChecked(true);
    ui->server_fields->setEnabled(server);
    ui->host_edit->setText(current.server.host);
    ui->port_spin->setValue(current.server.port);
    ui->database_edit->setText(current.server.database);
    ui->user_edit->setText(current.server.user);
    ui->password_edit->setText(current.server.password);

    connect(ui->server_radio, &QRadioButton::toggled, ui->server_fields, &QWidget::setEnabled);
    connect(ui->check_button, &QPushButton::clicked, this, &HistoryStorageDialog::checkConnection);
    connect(ui->button_box, &QDialogButtonBox::accepted, this, &HistoryStorageDialog::accept);
    connect(ui->button_box, &QDialogButtonBox::rejected, this, &HistoryStorageDialog::reject);
}

HistoryStorageDialog::HistoryStorageDialog(const QString &folder, const HistorySettings &current,
                                           HistoryService *service, QWidget *parent)
    : HistoryStorageDialog(folder, current, parent)
{
    this->service = service;
    connect(service->worker(), &HistoryWorker::serverChecked, this, &HistoryStorageDialog::checked);
}

HistoryStorageDialog::~HistoryStorageDialog()
{
    delete ui;
}

HistorySettings HistoryStorageDialog::chosenSettings() const
{
    HistorySettings settings;
    settings.backend = ui->server_radio->isChecked() ? HistoryBackend::Postgres : HistoryBackend::Sqlite;
    settings.server.host = ui->host_edit->text().trimmed();
    settings.server.port = ui->port_spin->value();
    settings.server.database = ui->database_edit->text().trimmed();
    settings.server.user = ui->user_edit->text().trimmed();
    settings.server.password = ui->password_edit->text();
    return settings;
}

void HistoryStorageDialog::accept()
{
    if (!saveHistorySettings(folder, chosenSettings())) {
        shown = Shown::SaveFailed;
        showResult();
        return;
    }
    QDialog::accept();
}

void HistoryStorageDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && ui) {
        const QString path = ui->local_path->text();
        ui->retranslateUi(this);
        ui->local_path->setText(path);
        showResult();
    }
    QDialog::changeEvent(event);
}

void HistoryStorageDialog::checkConnection()
{
    if (service) {
        checkAsked = service->checkServer(chosenSettings().server);
        ui->check_button->setEnabled(false);
        setCursor(Qt::BusyCursor);
        return;
    }
    // A server that does not answer holds this for the connect timeout.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    lastCheck = checkHistoryServer(chosenSettings().server);
    QGuiApplication::restoreOverrideCursor();
    shown = Shown::Check;
    showResult();
}

void HistoryStorageDialog::checked(quint64 request, const ServerCheck &check)
{
    if (request != checkAsked)
        return;
    checkAsked = 0;
    ui->check_button->setEnabled(true);
    unsetCursor();
    lastCheck = check;
    shown = Shown::Check;
    showResult();
}

void HistoryStorageDialog::showResult()
{
    switch (shown) {
    case Shown::Nothing:
        ui->result_label->clear();
        return;
    case Shown::SaveFailed:
        ui->result_label->setText(
            tr("Не удалось записать настройки в файл %1. Проверьте права на запись и место "
               "на диске. Хранилище истории не изменено.")
                .arg(QDir::toNativeSeparators(historySettingsPath(folder))));
        return;
    case Shown::Check:
        ui->result_label->setText(checkText());
        return;
    }
}

QString HistoryStorageDialog::checkText() const
{
    QString text;
    switch (lastCheck.outcome) {
    case ServerCheckOutcome::Ready:
        return tr("Соединение установлено, таблицы истории готовы.");
    case ServerCheckOutcome::NoServer:
        text = tr("Сервер не отвечает: проверьте адрес, порт и что сервер запущен.");
        break;
    case ServerCheckOutcome::UnknownHost:
        text = tr("Сервер с таким именем не найден: проверьте имя или адрес.");
        break;
    case ServerCheckOutcome::Authentication:
        text = tr("Сервер не принял пользователя или пароль.");
        break;
    case ServerCheckOutcome::NoDatabase:
        text = tr("На сервере нет такой базы данных.");
        break;
    case ServerCheckOutcome::SchemaFailed:
        text =
            tr("Соединение установлено, но таблицы истории не удалось создать или прочитать: проверьте права "
               "пользователя.");
        break;
    case ServerCheckOutcome::DriverMissing:
        text = tr("Драйвер PostgreSQL не установлен (пакет libqt5sql5-psql).");
        break;
    case ServerCheckOutcome::Other:
        text = tr("Не удалось соединиться с сервером.");
        break;
    }
    if (!lastCheck.driverText.isEmpty())
        text += QLatin1Char('\n') + tr("Ответ драйвера: %1").arg(lastCheck.driverText);
    return text;
}
