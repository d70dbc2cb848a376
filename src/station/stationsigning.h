#pragma once

#include "signing/signingerror.h"

#include <QString>

// The certificate the station signs its PDFs with; both paths empty: no signing.
struct StationSigning
{
    QString certificate;  // PKCS#12 file
    QString passwordFile; // the password on its first line

    bool isOn() const { return !certificate.isEmpty(); }
};

// A signing failure's kind as the JSON document names it ("wrong password", …).
QString signingKindName(SigningErrorKind kind);
// The same for the operator's line on stderr.
QString signingKindText(SigningErrorKind kind);
