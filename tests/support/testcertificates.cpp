#include "testcertificates.h"

#include "testidentities.h"

#include <QDir>
#include <QFile>
#include <QStringList>

const QByteArray kTestCertificatePassword = "s3cret пароль";
const QString kTestSigner = QStringLiteral("Иванов Иван");

namespace {

constexpr long kDay = 24 * 60 * 60;

// The good certificate with more certificates beside it than a signature
// has room for: it loads, and signing fails only once the report is written.
bool makeLongChain(const QString &folder)
{
    constexpr int kExtraCertificates = 24;
    QFile chain(QDir(folder).filePath("chain.pem"));
    if (!chain.open(QIODevice::WriteOnly))
        return false;
    for (int i = 0; i < kExtraCertificates; ++i) {
        const QString name = QStringLiteral("extra%1.pem").arg(i);
        if (!runOpenssl(folder, {"req", "-x509", "-new", "-key", "@key.pem", "-out", "@" + name, "-days",
                                 "30", "-subj", QStringLiteral("/CN=Extra %1").arg(i)}))
            return false;
        QFile extra(QDir(folder).filePath(name));
        if (!extra.open(QIODevice::ReadOnly))
            return false;
        chain.write(extra.readAll());
    }
    chain.close();
    return runOpenssl(folder, {"pkcs12", "-export", "-in", "@good.pem", "-inkey", "@key.pem", "-certfile",
                               "@chain.pem", "-out", "@longchain.p12", "-passout",
                               "pass:" + QString::fromUtf8(kTestCertificatePassword)});
}

} // namespace

bool makeTestCertificates(const QString &folder)
{
    return runOpenssl(folder, {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "@key.pem", "-out",
                               "@good.pem", "-days", "30", "-utf8", "-subj", "/CN=" + kTestSigner + "/O=ZRV",
                               "-addext", "keyUsage=critical,digitalSignature,nonRepudiation"})
           && exportP12(folder, "good.pem", "good.p12", kTestCertificatePassword)
           && exportP12(folder, "good.pem", "nokey.p12", kTestCertificatePassword, false)
           && runOpenssl(folder,
                         {"req", "-x509", "-new", "-key", "@key.pem", "-out", "@encipher.pem", "-days", "30",
                          "-subj", "/CN=Encipher", "-addext", "keyUsage=critical,keyEncipherment"})
           && exportP12(folder, "encipher.pem", "encipher.p12", kTestCertificatePassword)
           && writeDatedCertificate(folder, "expired.pem", -2 * kDay, -kDay)
           && exportP12(folder, "expired.pem", "expired.p12", kTestCertificatePassword)
           && writeDatedCertificate(folder, "future.pem", kDay, 2 * kDay)
           && exportP12(folder, "future.pem", "future.p12", kTestCertificatePassword)
           && makeLongChain(folder);
}
