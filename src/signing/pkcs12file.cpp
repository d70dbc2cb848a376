#include "signing/pkcs12file.h"

#include "signing/signingtext.h"

#include <QFile>

#include <openssl/err.h>

Pkcs12Pointer openPkcs12(const QString &path, const QByteArray &password, SigningError *error)
{
    const auto fail = [error](SigningErrorKind kind, const QString &text) {
        ERR_clear_error();
        if (error)
            *error = {kind, text};
        return Pkcs12Pointer(nullptr, &PKCS12_free);
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(SigningErrorKind::FileUnreadable,
                    signingText("не удалось прочитать %1: %2").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    const unsigned char *cursor = reinterpret_cast<const unsigned char *>(bytes.constData());
    Pkcs12Pointer p12(d2i_PKCS12(nullptr, &cursor, bytes.size()), &PKCS12_free);
    if (!p12)
        return fail(SigningErrorKind::FileUnreadable, signingText("%1 не файл PKCS#12").arg(path));
    if (!PKCS12_verify_mac(p12.get(), password.constData(), password.size()))
        return fail(SigningErrorKind::WrongPassword, signingText("неверный пароль к %1").arg(path));
    return p12;
}
