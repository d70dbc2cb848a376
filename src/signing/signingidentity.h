#pragma once

#include "signing/signingerror.h"

#include <QString>

#include <memory>

typedef struct x509_st X509;
typedef struct evp_pkey_st EVP_PKEY;
struct stack_st_X509;

// A certificate with its private key and chain, loaded from a PKCS#12 file.
class SigningIdentity {
public:
    SigningIdentity();
    ~SigningIdentity();
    SigningIdentity(SigningIdentity &&) noexcept;
    SigningIdentity &operator=(SigningIdentity &&) noexcept;

    // Loads and checks the identity; on failure the returned identity is empty.
    static SigningIdentity load(const QString &path, const QByteArray &password,
                                SigningError *error);

    bool isValid() const;
    X509 *certificate() const;
    EVP_PKEY *key() const;
    stack_st_X509 *chain() const;
    QString commonName() const;

private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};
