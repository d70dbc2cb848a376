#include "ui/reportsigning.h"

#include "settings/settingsvalues.h"
#include "ui/signingdialog.h"
#include "ui/signingprompts.h"

#include <QCheckBox>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

ReportSigning::ReportSigning(QCheckBox *box, QWidget *dialogParent)
    : QObject(dialogParent)
    , box(box)
    , dialogParent(dialogParent)
{
    showState();
}

void ReportSigning::start(const SettingsValues &values)
{
    path = values.signingCertificatePath;
    box->setChecked(values.signPdf);
    showState();
}

void ReportSigning::storeInto(SettingsValues &values) const
{
    values.signingCertificatePath = path;
    values.signPdf = box->isChecked();
}

void ReportSigning::chooseCertificate()
{
    SigningDialog dialog(path, passwordKnown ? password : QByteArray(), dialogParent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const bool sameFile = dialog.chosenPath() == path;
    const bool wasEmpty = path.isEmpty();
    path = dialog.chosenPath();
    // A password given in the dialog opened the file: it is not asked again.
    if (dialog.passwordKnown()) {
        password = dialog.password();
        passwordKnown = true;
    } else if (!sameFile) {
        password.clear();
        passwordKnown = false;
    }
    // A first choice is meant to be used.
    if (wasEmpty && !path.isEmpty())
        box->setChecked(true);
    showState();
}

ReportSigning::Decision ReportSigning::decide()
{
    Decision decision;
    if (path.isEmpty() || !box->isChecked())
        return decision;
    if (!passwordKnown) {
        if (!askSigningPassword(dialogParent, path, &password)) {
            decision.cancelled = true;
            return decision;
        }
        passwordKnown = true;
    }
    SigningError error;
    decision.identity = SigningIdentity::load(path, password, &error);
    if (error.kind == SigningErrorKind::WrongPassword || error.kind == SigningErrorKind::FileUnreadable) {
        // Asked again next time: it was mistyped, or the file has changed.
        password.clear();
        passwordKnown = false;
    }
    if (!error.ok())
        decision.cancelled = !offerUnsigned(error);
    return decision;
}

bool ReportSigning::offerUnsigned(const SigningError &error)
{
    QMessageBox box(QMessageBox::Warning, tr("Подпись отчёта"),
                    tr("Отчёт не подписан. %1").arg(signingFailureText(error.kind)), QMessageBox::NoButton,
                    dialogParent);
    box.setInformativeText(tr("%1\n\nСохранить отчёт без подписи?").arg(error.text));
    box.addButton(QMessageBox::Save)->setText(tr("Сохранить без подписи"));
    box.addButton(QMessageBox::Cancel)->setText(tr("Отмена"));
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Save;
}

void ReportSigning::showState()
{
    // Without a certificate nothing is signed, and the box does not pretend otherwise.
    if (path.isEmpty())
        box->setChecked(false);
    box->setEnabled(!path.isEmpty());
    box->setToolTip(path.isEmpty() ? tr("Сертификат для подписи не выбран: Данные → Подпись отчётов…")
                                   : tr("Подписывается сертификатом %1").arg(QDir::toNativeSeparators(path)));
}
