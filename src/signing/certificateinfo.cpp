#include "signing/certificateinfo.h"

#include "signing/pkcs12file.h"
#include "signing/signingtext.h"

#include <openssl/asn1.h>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>

#include <ctime>

namespace {

QDateTime dateOf(const ASN1_TIME *time)
{
    struct tm parts = {};
    if (!time || ASN1_TIME_to_tm(time, &parts) != 1)
        return {};
    return QDateTime(QDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday),
                     QTime(parts.tm_hour, parts.tm_min, parts.tm_sec), Qt::UTC);
}

QString textOf(X509_NAME *name, unsigned long flags)
{
    BIO *bio = BIO_new(BIO_s_mem());
    if (!bio)
        return {};
    X509_NAME_print_ex(bio, name, 0, flags);
    char *data = nullptr;
    const long length = BIO_get_mem_data(bio, &data);
    const QString text = QString::fromUtf8(data, int(length));
    BIO_free(bio);
    return text;
}

QString commonNameOf(X509_NAME *name)
{
    const int index = X509_NAME_get_index_by_NID(name, NID_commonName, -1);
    if (index < 0)
        return {};
    unsigned char *utf8 = nullptr;
    const int length = ASN1_STRING_to_UTF8(&utf8, X509_NAME_ENTRY_get_data(X509_NAME_get_entry(name, index)));
    if (length < 0)
        return {};
    const QString text = QString::fromUtf8(reinterpret_cast<char *>(utf8), length);
    OPENSSL_free(utf8);
    return text;
}

CertificateInfo failed(SigningError *error, SigningErrorKind kind, const QString &text)
{
    ERR_clear_error();
    if (error)
        *error = {kind, text};
    return {};
}

} // namespace

CertificateInfo readCertificateInfo(const QString &path, const QByteArray &password, SigningError *error)
{
    if (error)
        *error = {};
    const Pkcs12Pointer p12 = openPkcs12(path, password, error);
    if (!p12)
        return {};
    EVP_PKEY *key = nullptr;
    X509 *certificate = nullptr;
    const bool parsed = PKCS12_parse(p12.get(), password.constData(), &key, &certificate, nullptr);
    EVP_PKEY_free(key);
    if (!parsed || !certificate) {
        X509_free(certificate);
        return failed(error, SigningErrorKind::FileUnreadable,
                      signingText("не удалось раскрыть содержимое %1").arg(path));
    }
    X509_NAME *subject = X509_get_subject_name(certificate);
    CertificateInfo info;
    // In the certificate's own order, with its UTF-8 letters as they are.
    info.subject = textOf(subject, XN_FLAG_ONELINE & ~ASN1_STRFLGS_ESC_MSB);
    info.commonName = commonNameOf(subject);
    info.validFrom = dateOf(X509_get0_notBefore(certificate));
    info.validTo = dateOf(X509_get0_notAfter(certificate));
    X509_free(certificate);
    ERR_clear_error();
    return info;
}
