#pragma once

#include <QByteArray>
#include <QString>

// PKCS#12 files made for a test by the openssl tool (and, for dates the tool
// cannot set, by the library), all under one password, in `folder`:
//   good.p12      self-signed, valid for 30 days, for signing, CN = kTestSigner
//   expired.p12   valid until yesterday
//   future.p12    valid from tomorrow
//   nokey.p12     the good certificate without its key
//   encipher.p12  a key meant for encryption only
//   longchain.p12 the good one with a chain too long for the signature's room
extern const QByteArray kTestCertificatePassword;
extern const QString kTestSigner;

bool makeTestCertificates(const QString &folder);
