#include "ui/signingprompts.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>

namespace {
QString promptText(const char *source)
{
    return QCoreApplication::translate("SigningPrompts", source);
}
} // namespace

QString signingFailureText(SigningErrorKind kind)
{
    switch (kind) {
    case SigningErrorKind::None:
        break;
    case SigningErrorKind::WrongPassword:
        return promptText("Неверный пароль к сертификату.");
    case SigningErrorKind::CertificateExpired:
        return promptText("Срок действия сертификата истёк.");
    case SigningErrorKind::CertificateNotYetValid:
        return promptText("Сертификат ещё не действует.");
    case SigningErrorKind::NoPrivateKey:
        return promptText("В файле сертификата нет закрытого ключа.");
    case SigningErrorKind::KeyCannotSign:
        return promptText("Ключ сертификата не годится для подписи.");
    case SigningErrorKind::FileUnreadable:
    case SigningErrorKind::PasswordFileUnreadable:
        return promptText("Файл сертификата не удалось прочитать.");
    case SigningErrorKind::PdfUnreadable:
    case SigningErrorKind::SigningFailed:
    case SigningErrorKind::WriteFailed:
        return promptText("Подписать файл отчёта не удалось.");
    }
    return QString();
}

bool askSigningPassword(QWidget *parent, const QString &certificatePath, QByteArray *password)
{
    bool ok = false;
    const QString text = QInputDialog::getText(
        parent, promptText("Пароль сертификата"),
        promptText("Пароль к сертификату %1:").arg(QFileInfo(certificatePath).fileName()),
        QLineEdit::Password, QString(), &ok);
    if (ok)
        *password = text.toUtf8();
    return ok;
}
