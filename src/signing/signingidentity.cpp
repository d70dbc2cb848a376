#include "signing/signingidentity.h"

#include "signing/pkcs12file.h"
#include "signing/signingtext.h"

#include <openssl/err.h>
#include <openssl/pkcs12.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

struct SigningIdentity::Parts
{
    X509 *certificate = nullptr;
    EVP_PKEY *key = nullptr;
    STACK_OF(X509) *chain = nullptr;

    ~Parts()
    {
        X509_free(certificate);
        EVP_PKEY_free(key);
        sk_X509_pop_free(chain, X509_free);
    }
};

SigningIdentity::SigningIdentity() = default;
SigningIdentity::~SigningIdentity() = default;
SigningIdentity::SigningIdentity(SigningIdentity &&) noexcept = default;
SigningIdentity &SigningIdentity::operator=(SigningIdentity &&) noexcept = default;

namespace {

SigningIdentity failed(SigningError *error, SigningErrorKind kind, const QString &text)
{
    ERR_clear_error();
    if (error)
        *error = {kind, text};
    return {};
}

} // namespace

SigningIdentity SigningIdentity::load(const QString &path, const QByteArray &password, SigningError *error)
{
    if (error)
        *error = {};
    const Pkcs12Pointer p12 = openPkcs12(path, password, error);
    if (!p12)
        return {};
    SigningIdentity identity;
    identity.m_parts = std::make_unique<Parts>();
    Parts &p = *identity.m_parts;
    const bool parsed = PKCS12_parse(p12.get(), password.constData(), &p.key, &p.certificate, &p.chain);
    if (!parsed)
        return failed(error, SigningErrorKind::FileUnreadable,
                      signingText("не удалось раскрыть содержимое %1").arg(path));
    if (!p.key || !p.certificate)
        return failed(error, SigningErrorKind::NoPrivateKey,
                      signingText("в %1 нет закрытого ключа к сертификату").arg(path));
    if (X509_cmp_current_time(X509_get0_notAfter(p.certificate)) < 0)
        return failed(error, SigningErrorKind::CertificateExpired,
                      signingText("срок действия сертификата в %1 истёк").arg(path));
    if (X509_cmp_current_time(X509_get0_notBefore(p.certificate)) > 0)
        return failed(error, SigningErrorKind::CertificateNotYetValid,
                      signingText("сертификат в %1 ещё не действует").arg(path));
    const uint32_t usage = X509_get_key_usage(p.certificate);
    if (!(usage & (KU_DIGITAL_SIGNATURE | KU_NON_REPUDIATION)))
        return failed(error, SigningErrorKind::KeyCannotSign,
                      signingText("сертификат в %1 не предназначен для подписи").arg(path));
    if (X509_check_private_key(p.certificate, p.key) != 1)
        return failed(error, SigningErrorKind::KeyCannotSign,
                      signingText("ключ в %1 не подходит к сертификату").arg(path));
    return identity;
}

bool SigningIdentity::isValid() const
{
    return m_parts && m_parts->key && m_parts->certificate;
}
X509 *SigningIdentity::certificate() const
{
    return m_parts ? m_parts->certificate : nullptr;
}
EVP_PKEY *SigningIdentity::key() const
{
    return m_parts ? m_parts->key : nullptr;
}
stack_st_X509 *SigningIdentity::chain() const
{
    return m_parts ? m_parts->chain : nullptr;
}

QString SigningIdentity::commonName() const
{
    if (!certificate())
        return {};
    X509_NAME *name = X509_get_subject_name(certificate());
    const int index = X509_NAME_get_index_by_NID(name, NID_commonName, -1);
    if (index < 0)
        return {};
    ASN1_STRING *data = X509_NAME_ENTRY_get_data(X509_NAME_get_entry(name, index));
    unsigned char *utf8 = nullptr;
    const int length = ASN1_STRING_to_UTF8(&utf8, data);
    if (length < 0)
        return {};
    const QString text = QString::fromUtf8(reinterpret_cast<char *>(utf8), length);
    OPENSSL_free(utf8);
    return text;
}
