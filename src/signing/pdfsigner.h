#pragma once

#include "signing/signingerror.h"

#include <QString>

class SigningIdentity;

struct PdfSignatureInfo
{
    QString reportNumber;
    QString city;
};

// Signs an existing PDF in place with an invisible signature, appended as an
// incremental update so that the original bytes stay as written. The file is
// replaced only once the signed copy is complete.
SigningError signPdfFile(const QString &path, const SigningIdentity &identity, const PdfSignatureInfo &info);

// The identity of a PKCS#12 file whose password is the first line of passwordFile.
SigningIdentity loadIdentityWithPasswordFile(const QString &p12Path, const QString &passwordFile,
                                             SigningError *error);

// The station's entry: the password is the first line of passwordFile.
SigningError signWrittenPdf(const QString &pdfPath, const QString &p12Path, const QString &passwordFile,
                            const QString &reportNumber, const QString &city);
