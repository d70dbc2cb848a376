#pragma once

#include "signing/signingerror.h"

#include <QByteArray>
#include <QString>
#include <memory>

#include <openssl/pkcs12.h>

using Pkcs12Pointer = std::unique_ptr<PKCS12, decltype(&PKCS12_free)>;

// Reads a PKCS#12 file and checks its password against the file's MAC, so
// that a wrong password is told apart from a damaged file. Null with
// `error` set on failure; the caller parses what it needs.
Pkcs12Pointer openPkcs12(const QString &path, const QByteArray &password, SigningError *error);
