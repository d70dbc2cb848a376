// Signed PDF reports: identities made by the openssl tool, reports written by
// the PDF writer, signatures checked by poppler's pdfsig and openssl cms.
#include "report/pdfreport.h"
#include "reporttestdata.h"
#include "signing/pdfsigner.h"
#include "signing/signingidentity.h"
#include "testidentities.h"
#include "toolrun.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(SigningErrorKind)

namespace {

const QByteArray kPassword = "s3cret пароль";
const QString kSigner = QStringLiteral("Иванов Иван");
constexpr long kDay = 24 * 60 * 60;

// Exported with the test's password.
bool exportIdentity(const QString &folder, const QString &certificate, const QString &p12,
                    bool withKey = true)
{
    return exportP12(folder, certificate, p12, kPassword, withKey);
}

struct ByteRange
{
    qint64 contentsStart = 0;
    qint64 contentsEnd = 0;
};

// Where the one signature's /Contents stands, from its /ByteRange [0 a b c].
ByteRange byteRangeOf(const QByteArray &pdf)
{
    const int open = pdf.indexOf("/ByteRange");
    const int close = pdf.indexOf(']', open);
    if (open < 0 || close < 0)
        return {};
    const QByteArray inside = pdf.mid(open, close - open).mid(pdf.mid(open).indexOf('[') + 1);
    const QList<QByteArray> numbers = inside.simplified().split(' ');
    if (numbers.size() != 4 || numbers.at(0) != "0")
        return {};
    if (numbers.at(2).toLongLong() + numbers.at(3).toLongLong() != pdf.size())
        return {};
    return {numbers.at(1).toLongLong(), numbers.at(2).toLongLong()};
}

} // namespace

class TestSigning : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_report;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QString freshReport(const QString &name) const
    {
        const QString copy = path(name);
        QFile::remove(copy);
        QFile::copy(m_report, copy);
        return copy;
    }

    QStringList filesInFolder() const { return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString folder = m_dir.path();
        QVERIFY(runOpenssl(folder,
                           {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "@key.pem", "-out",
                            "@good.pem", "-days", "30", "-utf8", "-subj", "/CN=" + kSigner + "/O=ZRV",
                            "-addext", "keyUsage=critical,digitalSignature,nonRepudiation"}));
        QVERIFY(exportIdentity(folder, "good.pem", "good.p12"));
        QVERIFY(exportIdentity(folder, "good.pem", "nokey.p12", false));
        QVERIFY(runOpenssl(folder,
                           {"req", "-x509", "-new", "-key", "@key.pem", "-out", "@encipher.pem", "-days",
                            "30", "-subj", "/CN=Encipher", "-addext", "keyUsage=critical,keyEncipherment"}));
        QVERIFY(exportIdentity(folder, "encipher.pem", "encipher.p12"));
        QVERIFY(writeDatedCertificate(folder, "expired.pem", -2 * kDay, -kDay));
        QVERIFY(exportIdentity(folder, "expired.pem", "expired.p12"));
        QVERIFY(writeDatedCertificate(folder, "future.pem", kDay, 2 * kDay));
        QVERIFY(exportIdentity(folder, "future.pem", "future.p12"));
        QFile notP12(path("text.p12"));
        QVERIFY(notP12.open(QIODevice::WriteOnly));
        notP12.write("not a PKCS#12 file\n");
        notP12.close();
        QFile passwordFile(path("password.txt"));
        QVERIFY(passwordFile.open(QIODevice::WriteOnly));
        passwordFile.write(kPassword + "\nsecond line is not the password\n");
        passwordFile.close();
        QFile wrongPassword(path("wrong.txt"));
        QVERIFY(wrongPassword.open(QIODevice::WriteOnly));
        wrongPassword.write("not it\n");
        wrongPassword.close();

        m_report = path("report.pdf.orig");
        QVERIFY(writePdfReportFile(m_report, sampleReportData(40)));
    }

    void signedReportVerifies()
    {
        const QString pdf = freshReport("signed.pdf");
        const QByteArray original = [&] {
            QFile f(pdf);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        const SigningError error =
            signWrittenPdf(pdf, path("good.p12"), path("password.txt"), "П-2026/17", QStringLiteral("Тула"));
        QVERIFY2(error.ok(), qPrintable(error.text));

        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray signedPdf = file.readAll();
        file.close();
        // An incremental update: the report's bytes come first, unchanged.
        QVERIFY(signedPdf.size() > original.size());
        QCOMPARE(signedPdf.left(original.size()), original);

        const QString report = QString::fromUtf8(runReader("pdfsig", {pdf}));
        QVERIFY2(report.contains("Signature Validation: Signature is Valid"), qPrintable(report));
        QVERIFY2(report.contains("Total document signed"), qPrintable(report));
        QVERIFY2(report.contains("ETSI.CAdES.detached"), qPrintable(report));
        QVERIFY2(report.contains("SHA-256") || report.contains("SHA256"), qPrintable(report));
        QVERIFY2(report.contains(kSigner), qPrintable(report));

        // The signature dictionary, read by an independent PDF reader.
        const QByteArray fields =
            runReader("/usr/bin/python3",
                      {"-c",
                       "import sys, pypdf\n"
                       "r = pypdf.PdfReader(sys.argv[1])\n"
                       "for f in r.get_fields().values():\n"
                       "    v = f.get('/V')\n"
                       "    if v is not None:\n"
                       "        v = v.get_object()\n"
                       "        for k in ('/Filter', '/SubFilter', '/Reason', '/Location', '/Name'):\n"
                       "            print(k, v[k])\n"
                       "        print('/M', str(v['/M'])[:4])\n",
                       pdf});
        const QString dictionary = QString::fromUtf8(fields);
        QVERIFY2(dictionary.contains("/Filter /Adobe.PPKLite"), qPrintable(dictionary));
        QVERIFY(dictionary.contains("/SubFilter /ETSI.CAdES.detached"));
        QVERIFY(dictionary.contains(QStringLiteral("/Reason Протокол контроля П-2026/17")));
        QVERIFY(dictionary.contains(QStringLiteral("/Location Тула")));
        QVERIFY(dictionary.contains("/Name " + kSigner));
        QVERIFY(dictionary.contains("/M D:2"));

        // The CMS over the byte ranges verifies on its own.
        const ByteRange range = byteRangeOf(signedPdf);
        QVERIFY2(range.contentsEnd > range.contentsStart,
                 signedPdf.mid(signedPdf.indexOf("/ByteRange"), 60).constData());
        const QByteArray hex =
            signedPdf.mid(range.contentsStart + 1, range.contentsEnd - range.contentsStart - 2);
        const QByteArray der = QByteArray::fromHex(hex);
        QFile derFile(path("signature.der"));
        QVERIFY(derFile.open(QIODevice::WriteOnly));
        derFile.write(der);
        derFile.close();
        QFile content(path("signed-bytes.bin"));
        QVERIFY(content.open(QIODevice::WriteOnly));
        content.write(signedPdf.left(range.contentsStart) + signedPdf.mid(range.contentsEnd));
        content.close();
        QVERIFY(runOpenssl(m_dir.path(),
                           {"cms", "-verify", "-binary", "-inform", "DER", "-noverify", "-in",
                            "@signature.der", "-content", "@signed-bytes.bin", "-out", "@verified.bin"}));
        const QString attributes = QString::fromUtf8(runReader(
            "openssl", {"cms", "-cmsout", "-print", "-inform", "DER", "-in", path("signature.der")}));
        for (const char *attribute :
             {"contentType", "messageDigest", "signingTime", "id-smime-aa-signingCertificateV2"})
            QVERIFY2(attributes.contains(attribute), attribute);
        QVERIFY(attributes.contains("sha256"));

        // The PDF/A marks of the report stay.
        const QString meta = QString::fromUtf8(runReader("pdfinfo", {"-meta", pdf}));
        QVERIFY(meta.contains(QStringLiteral("pdfaid:part=\"1\"")));
        QVERIFY(meta.contains(QStringLiteral("pdfaid:conformance=\"B\"")));
        QVERIFY(signedPdf.contains("/OutputIntents"));
        const QStringList fonts =
            QString::fromUtf8(runReader("pdffonts", {pdf})).split('\n', Qt::SkipEmptyParts);
        QVERIFY(fonts.size() > 2);
        for (const QString &font : fonts.mid(2))
            QVERIFY2(font.contains(QRegularExpression("\\syes\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$")),
                     qPrintable(font));

        // One byte changed in the signed part, and the signature no longer holds.
        QByteArray tampered = signedPdf;
        const int at = tampered.indexOf("stream\n") + 20;
        QVERIFY(at > 20 && at < range.contentsStart);
        tampered[at] = static_cast<char>(tampered.at(at) ^ 0x01);
        QFile changed(path("tampered.pdf"));
        QVERIFY(changed.open(QIODevice::WriteOnly));
        changed.write(tampered);
        changed.close();
        const QString tamperedReport = QString::fromUtf8(runTool("pdfsig", {path("tampered.pdf")}).output);
        QVERIFY(tamperedReport.contains("Signature Validation"));
        QVERIFY2(!tamperedReport.contains("Signature is Valid"), qPrintable(tamperedReport));
    }

    void failuresLeaveNothing_data()
    {
        QTest::addColumn<QString>("p12");
        QTest::addColumn<QString>("passwordFile");
        QTest::addColumn<SigningErrorKind>("kind");
        QTest::newRow("missing file") << "absent.p12"
                                      << "password.txt" << SigningErrorKind::FileUnreadable;
        QTest::newRow("not PKCS#12") << "text.p12"
                                     << "password.txt" << SigningErrorKind::FileUnreadable;
        QTest::newRow("wrong password") << "good.p12"
                                        << "wrong.txt" << SigningErrorKind::WrongPassword;
        QTest::newRow("no password file") << "good.p12"
                                          << "absent.txt" << SigningErrorKind::PasswordFileUnreadable;
        QTest::newRow("no private key") << "nokey.p12"
                                        << "password.txt" << SigningErrorKind::NoPrivateKey;
        QTest::newRow("expired") << "expired.p12"
                                 << "password.txt" << SigningErrorKind::CertificateExpired;
        QTest::newRow("not yet valid") << "future.p12"
                                       << "password.txt" << SigningErrorKind::CertificateNotYetValid;
        QTest::newRow("no signing usage") << "encipher.p12"
                                          << "password.txt" << SigningErrorKind::KeyCannotSign;
    }

    void failuresLeaveNothing()
    {
        QFETCH(QString, p12);
        QFETCH(QString, passwordFile);
        QFETCH(SigningErrorKind, kind);
        const QString pdf = freshReport("unsigned.pdf");
        const QStringList before = filesInFolder();
        const SigningError error =
            signWrittenPdf(pdf, path(p12), path(passwordFile), "1", QStringLiteral("Тула"));
        QCOMPARE(error.kind, kind);
        QVERIFY(!error.text.isEmpty());
        QCOMPARE(filesInFolder(), before);
        QFile original(m_report), left(pdf);
        QVERIFY(original.open(QIODevice::ReadOnly) && left.open(QIODevice::ReadOnly));
        QCOMPARE(left.readAll(), original.readAll());
    }

    // A file that is no PDF is refused, and stays as it was with nothing beside it.
    void brokenPdfIsLeftAlone()
    {
        const QString pdf = path("broken.pdf");
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\nnot really\n");
        file.close();
        const QStringList before = filesInFolder();
        const SigningError error = signWrittenPdf(pdf, path("good.p12"), path("password.txt"), "1", "Тула");
        QCOMPARE(error.kind, SigningErrorKind::PdfUnreadable);
        QCOMPARE(filesInFolder(), before);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("%PDF-1.4\nnot really\n"));
    }
};

QTEST_MAIN(TestSigning)
#include "tst_signing.moc"
