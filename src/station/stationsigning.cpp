#include "station/stationsigning.h"

#include <QCoreApplication>

namespace {
QString signingText(const char *source)
{
    return QCoreApplication::translate("StationSigning", source);
}
} // namespace

QString signingKindName(SigningErrorKind kind)
{
    switch (kind) {
    case SigningErrorKind::None:
        return QString();
    case SigningErrorKind::FileUnreadable:
        return QStringLiteral("certificate unreadable");
    case SigningErrorKind::WrongPassword:
        return QStringLiteral("wrong password");
    case SigningErrorKind::NoPrivateKey:
        return QStringLiteral("no private key");
    case SigningErrorKind::CertificateExpired:
        return QStringLiteral("certificate expired");
    case SigningErrorKind::CertificateNotYetValid:
        return QStringLiteral("certificate not yet valid");
    case SigningErrorKind::KeyCannotSign:
        return QStringLiteral("key cannot sign");
    case SigningErrorKind::PasswordFileUnreadable:
        return QStringLiteral("password file unreadable");
    case SigningErrorKind::PdfUnreadable:
        return QStringLiteral("report unreadable");
    case SigningErrorKind::SigningFailed:
        return QStringLiteral("signing failed");
    case SigningErrorKind::WriteFailed:
        break;
    }
    return QStringLiteral("write failed");
}

QString signingKindText(SigningErrorKind kind)
{
    switch (kind) {
    case SigningErrorKind::None:
        return QString();
    case SigningErrorKind::FileUnreadable:
        return signingText("файл сертификата не читается");
    case SigningErrorKind::WrongPassword:
        return signingText("неверный пароль");
    case SigningErrorKind::NoPrivateKey:
        return signingText("нет закрытого ключа");
    case SigningErrorKind::CertificateExpired:
        return signingText("срок действия сертификата истёк");
    case SigningErrorKind::CertificateNotYetValid:
        return signingText("сертификат ещё не действует");
    case SigningErrorKind::KeyCannotSign:
        return signingText("ключ не годится для подписи");
    case SigningErrorKind::PasswordFileUnreadable:
        return signingText("файл пароля не читается");
    case SigningErrorKind::PdfUnreadable:
        return signingText("отчёт не читается");
    case SigningErrorKind::SigningFailed:
        return signingText("подпись не создана");
    case SigningErrorKind::WriteFailed:
        break;
    }
    return signingText("подписанный файл не записан");
}
