#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Signing identities made for a test by the openssl tool and OpenSSL itself,
// in a folder of the test's own. "@name" in an argument is a file of that folder.

bool runOpenssl(const QString &folder, const QStringList &arguments);

// A certificate for key.pem valid over [now + from, now + to] seconds, signed
// by itself: the openssl tool of this system cannot date a certificate in the past.
bool writeDatedCertificate(const QString &folder, const QString &name, long from, long to);

// certificate (PEM) with key.pem, or without any key, as a PKCS#12 file.
bool exportP12(const QString &folder, const QString &certificate, const QString &p12,
               const QByteArray &password, bool withKey = true);
