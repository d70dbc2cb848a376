#include "ui/signingdialog.h"

#include "signing/certificateinfo.h"
#include "signing/signingidentity.h"
#include "ui/signingprompts.h"
#include "ui_signingdialog.h"

#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>

namespace {
const QString kValidityFormat = QStringLiteral("dd.MM.yyyy hh:mm");
} // namespace

SigningDialog::SigningDialog(const QString &currentPath, const QByteArray &knownPassword, QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::SigningDialog)
    , path(currentPath)
{
    ui->setupUi(this);
    connect(ui->signing_browse_button, &QPushButton::clicked, this, &SigningDialog::browse);
    connect(ui->signing_show_button, &QPushButton::clicked, this, &SigningDialog::showCertificate);
    connect(ui->signing_clear_button, &QPushButton::clicked, this, &SigningDialog::clear);
    connect(ui->button_box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(ui->button_box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (!path.isEmpty() && !knownPassword.isNull())
        open(knownPassword);
    showState();
}

SigningDialog::~SigningDialog()
{
    delete ui;
}

void SigningDialog::browse()
{
    const QString folder = path.isEmpty() ? QDir::homePath() : QFileInfo(path).absolutePath();
    const QString file = QFileDialog::getOpenFileName(this, tr("Сертификат для подписи отчётов"), folder,
                                                      tr("Сертификаты PKCS#12 (*.p12 *.pfx)"));
    if (!file.isEmpty())
        chooseFile(file);
}

void SigningDialog::chooseFile(const QString &file)
{
    QByteArray password;
    if (!askSigningPassword(this, file, &password))
        return;
    path = file;
    open(password);
    showState();
}

void SigningDialog::showCertificate()
{
    QByteArray password;
    if (path.isEmpty() || !askSigningPassword(this, path, &password))
        return;
    open(password);
    showState();
}

void SigningDialog::clear()
{
    path.clear();
    passwordGiven.clear();
    opened = false;
    info = {};
    failure = SigningErrorKind::None;
    showState();
}

// The certificate is described even when it cannot sign (an expired one
// shows its dates); whether it can sign now is said below.
void SigningDialog::open(const QByteArray &password)
{
    SigningError error;
    info = readCertificateInfo(path, password, &error);
    opened = error.ok();
    passwordGiven = opened ? password : QByteArray();
    if (opened)
        SigningIdentity::load(path, password, &error);
    failure = error.kind;
}

void SigningDialog::showState()
{
    ui->signing_certificate_path->setText(QDir::toNativeSeparators(path));
    ui->signing_subject->setText(info.subject);
    ui->signing_validity->setText(info.validFrom.isValid()
                                      ? tr("с %1 по %2")
                                            .arg(info.validFrom.toLocalTime().toString(kValidityFormat),
                                                 info.validTo.toLocalTime().toString(kValidityFormat))
                                      : QString());
    ui->signing_show_button->setEnabled(!path.isEmpty());
    ui->signing_clear_button->setEnabled(!path.isEmpty());
    if (path.isEmpty())
        ui->signing_status->setText(tr("Сертификат не выбран: отчёты не подписываются."));
    else if (failure == SigningErrorKind::WrongPassword || failure == SigningErrorKind::FileUnreadable)
        ui->signing_status->setText(signingFailureText(failure));
    else if (failure != SigningErrorKind::None)
        ui->signing_status->setText(
            tr("Этим сертификатом подписать нельзя. %1").arg(signingFailureText(failure)));
    else if (opened)
        ui->signing_status->setText(tr("Сертификат годен для подписи."));
    else
        ui->signing_status->setText(tr("Владелец и срок действия видны после ввода пароля."));
}

void SigningDialog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        showState();
    }
    QDialog::changeEvent(event);
}
