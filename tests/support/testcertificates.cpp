#include "testcertificates.h"

#include "toolrun.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>

#include <cstdio>

const QByteArray kTestCertificatePassword = "s3cret пароль";
const QString kTestSigner = QStringLiteral("Иванов Иван");

namespace {

constexpr long kDay = 24 * 60 * 60;

bool runOpenssl(const QString &folder, const QStringList &arguments)
{
    QStringList inFolder;
    for (const QString &argument : arguments)
        inFolder << (argument.startsWith('@') ? QDir(folder).filePath(argument.mid(1)) : argument);
    const ToolRun run = runTool(QStringLiteral("openssl"), inFolder);
    if (!run.ok())
        qWarning() << "openssl" << arguments << run.errors;
    return run.ok();
}

// A certificate for key.pem valid over [now + from, now + to], signed by itself.
bool writeDatedCertificate(const QString &folder, const QString &name, long from, long to)
{
    FILE *keyFile = fopen(QFile::encodeName(QDir(folder).filePath("key.pem")).constData(), "r");
    if (!keyFile)
        return false;
    EVP_PKEY *key = PEM_read_PrivateKey(keyFile, nullptr, nullptr, nullptr);
    fclose(keyFile);
    X509 *certificate = X509_new();
    X509_set_version(certificate, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(certificate), 7);
    X509_gmtime_adj(X509_getm_notBefore(certificate), from);
    X509_gmtime_adj(X509_getm_notAfter(certificate), to);
    X509_NAME *subject = X509_get_subject_name(certificate);
    X509_NAME_add_entry_by_txt(subject, "CN", MBSTRING_UTF8, reinterpret_cast<const unsigned char *>("Dated"),
                               -1, -1, 0);
    X509_set_issuer_name(certificate, subject);
    X509_set_pubkey(certificate, key);
    bool ok = X509_sign(certificate, key, EVP_sha256()) > 0;
    FILE *out = fopen(QFile::encodeName(QDir(folder).filePath(name)).constData(), "w");
    ok = ok && out && PEM_write_X509(out, certificate);
    if (out)
        fclose(out);
    X509_free(certificate);
    EVP_PKEY_free(key);
    return ok;
}

bool exportP12(const QString &folder, const QString &certificate, const QString &p12, bool withKey = true)
{
    QStringList arguments{
        "pkcs12", "-export", "-in",      "@" + certificate,
        "-out",   "@" + p12, "-passout", "pass:" + QString::fromUtf8(kTestCertificatePassword)};
    arguments << (withKey ? QStringList{"-inkey", "@key.pem"} : QStringList{"-nokeys"});
    return runOpenssl(folder, arguments);
}

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
           && exportP12(folder, "good.pem", "good.p12") && exportP12(folder, "good.pem", "nokey.p12", false)
           && runOpenssl(folder,
                         {"req", "-x509", "-new", "-key", "@key.pem", "-out", "@encipher.pem", "-days", "30",
                          "-subj", "/CN=Encipher", "-addext", "keyUsage=critical,keyEncipherment"})
           && exportP12(folder, "encipher.pem", "encipher.p12")
           && writeDatedCertificate(folder, "expired.pem", -2 * kDay, -kDay)
           && exportP12(folder, "expired.pem", "expired.p12")
           && writeDatedCertificate(folder, "future.pem", kDay, 2 * kDay)
           && exportP12(folder, "future.pem", "future.p12") && makeLongChain(folder);
}
