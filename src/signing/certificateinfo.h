#pragma once

#include "signing/signingerror.h"

#include <QDateTime>
#include <QString>

// What the operator is shown of a PKCS#12 file's certificate before choosing it.
struct CertificateInfo
{
    QString subject;    // the whole subject name, one line
    QString commonName; // the signer's name
    QDateTime validFrom;
    QDateTime validTo;
};

// Reads the certificate without judging it: an expired one is still described.
// Fails only when the file cannot be read or opened with the password.
CertificateInfo readCertificateInfo(const QString &path, const QByteArray &password, SigningError *error);
