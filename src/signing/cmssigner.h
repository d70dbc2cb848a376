#pragma once

#include <QByteArray>

class SigningIdentity;

// A detached CAdES-style CMS SignedData (SHA-256, with the signing certificate
// bound by an ESS signing-certificate-v2 attribute) over the given bytes, DER.
// Returns an empty array on failure.
QByteArray signDetachedCms(const SigningIdentity &identity, const QByteArray &content);
