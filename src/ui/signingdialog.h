#pragma once

#include "signing/certificateinfo.h"

#include <QByteArray>
#include <QDialog>

namespace Ui {
class SigningDialog;
}

// "Подпись отчётов": the PKCS#12 file PDF reports are signed with, its
// certificate's owner and validity shown once its password is given, and
// whether the certificate can sign now. The password stays in memory only.
class SigningDialog : public QDialog
{
    Q_OBJECT

public:
    // A known password shows the current certificate at once.
    SigningDialog(const QString &currentPath, const QByteArray &knownPassword, QWidget *parent = nullptr);
    ~SigningDialog() override;

    // Empty: reports are not to be signed.
    QString chosenPath() const { return path; }
    // Whether the password of the chosen file was given and opened it.
    bool passwordKnown() const { return opened; }
    QByteArray password() const { return passwordGiven; }

    // The file chosen in the file dialog: asks its password and shows it.
    void chooseFile(const QString &file);

protected:
    void changeEvent(QEvent *event) override;

private:
    void browse();
    void showCertificate();
    void clear();
    void open(const QByteArray &password);
    void showState();

    Ui::SigningDialog *ui = nullptr;
    QString path;
    QByteArray passwordGiven;
    bool opened = false;
    // What was read of the file, kept to word it again in another language.
    CertificateInfo info;
    SigningErrorKind failure = SigningErrorKind::None;
};
