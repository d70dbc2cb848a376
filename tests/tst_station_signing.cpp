// zrv-station --sign: each PDF it writes carries a signature that poppler's
// pdfsig verifies, with the form's report number and city; a certificate
// that cannot sign leaves no PDF at all, says why, and ends with status 3.

#include "blocksets.h"
#include "pdfreader.h"
#include "stationprocess.h"
#include "testidentities.h"
#include "toolrun.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QtTest>

namespace {

const QByteArray kPassword = "пароль станции";
const QString kSigner = QStringLiteral("Петров Пётр");
const QString kCity = QStringLiteral("Тула");
const QString kReportNumber = QStringLiteral("П-17/2026");
constexpr long kDay = 24 * 60 * 60;

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class StationSigningTest : public QObject
{
    Q_OBJECT

    QTemporaryDir identities;

    QString identity(const QString &name) const { return identities.filePath(name); }

private slots:
    void initTestCase()
    {
        QVERIFY(identities.isValid());
        const QString folder = identities.path();
        QVERIFY(runOpenssl(folder,
                           {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "@key.pem", "-out",
                            "@good.pem", "-days", "30", "-utf8", "-subj", "/CN=" + kSigner + "/O=ZRV",
                            "-addext", "keyUsage=critical,digitalSignature,nonRepudiation"}));
        QVERIFY(exportP12(folder, "good.pem", "good.p12", kPassword));
        QVERIFY(exportP12(folder, "good.pem", "nokey.p12", kPassword, false));
        QVERIFY(writeDatedCertificate(folder, "expired.pem", -2 * kDay, -kDay));
        QVERIFY(exportP12(folder, "expired.pem", "expired.p12", kPassword));
        QVERIFY(writeFile(identity("password.txt"), kPassword + "\n"));
        QVERIFY(writeFile(identity("wrong.txt"), "not it\n"));
    }

    void signedReports_data()
    {
        QTest::addColumn<QString>("p12");
        QTest::addColumn<QString>("passwordFile");
        QTest::addColumn<QString>("report");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("failure"); // the JSON's signingError; empty: signed
        QTest::addColumn<QString>("told");    // the kind as stderr says it
        QTest::newRow("signed, pdf") << "good.p12"
                                     << "password.txt"
                                     << "pdf" << 0 << QString() << QString();
        QTest::newRow("signed, both: the workbook as ever") << "good.p12"
                                                            << "password.txt"
                                                            << "both" << 0 << QString() << QString();
        QTest::newRow("wrong password") << "good.p12"
                                        << "wrong.txt"
                                        << "pdf" << 3 << "wrong password"
                                        << "неверный пароль";
        QTest::newRow("no private key, both: the workbook stays") << "nokey.p12"
                                                                  << "password.txt"
                                                                  << "both" << 3 << "no private key"
                                                                  << "нет закрытого ключа";
        QTest::newRow("expired certificate") << "expired.p12"
                                             << "password.txt"
                                             << "pdf" << 3 << "certificate expired"
                                             << "срок действия сертификата истёк";
    }

    void signedReports()
    {
        QFETCH(QString, p12);
        QFETCH(QString, passwordFile);
        QFETCH(QString, report);
        QFETCH(int, exitCode);
        QFETCH(QString, failure);
        QFETCH(QString, told);

        QTemporaryDir home;
        StationProcess station(home.path());
        const QString form = home.filePath(QStringLiteral("form.json"));
        QVERIFY(writeFile(form,
                          QJsonDocument(QJsonObject{{QStringLiteral("company_name"), QStringLiteral("Завод")},
                                                    {QStringLiteral("company_city"), kCity},
                                                    {QStringLiteral("report_number"), kReportNumber}})
                              .toJson()));
        const auto simulator = pluggedSimulator(threeBlocks());
        QVERIFY(simulator);
        const QString out = home.filePath(QStringLiteral("reports"));
        QVERIFY(station.run(
            {QStringLiteral("--port"), simulator->portPath(), QStringLiteral("--band"),
             QStringLiteral("0:1000"), QStringLiteral("--blocks"), QStringLiteral("1,3"),
             QStringLiteral("--report"), report, QStringLiteral("--out"), out, QStringLiteral("--form"), form,
             QStringLiteral("--history"), QStringLiteral("none"), QStringLiteral("--sign"), identity(p12),
             QStringLiteral("--sign-password-file"), identity(passwordFile), QStringLiteral("--json")}));
        QVERIFY2(station.exitCode() == exitCode, qPrintable(station.errors()));

        // Nothing half-written, and no PDF at all when it could not be signed.
        const QStringList files = QDir(out).entryList(QDir::Files | QDir::Hidden);
        const QStringList pdfs = QDir(out).entryList({QStringLiteral("*.pdf")}, QDir::Files | QDir::Hidden);
        QCOMPARE(pdfs.size(), failure.isEmpty() ? 2 : 0);
        QCOMPARE(files.size(), pdfs.size() + (report == QLatin1String("both") ? 2 : 0));
        for (const QString &file : files)
            QVERIFY2(!file.startsWith(QLatin1Char('.')), qPrintable(file));

        const QJsonArray blocks = station.firstPortBlocks();
        QCOMPARE(blocks.size(), 2);
        for (const QJsonValue &value : blocks) {
            const QJsonObject block = value.toObject();
            QCOMPARE(block.value(QStringLiteral("signingError")).toString(), failure);
            QCOMPARE(block.value(QStringLiteral("signingError")).isNull(), failure.isEmpty());
            const QJsonArray failed = block.value(QStringLiteral("reportsFailed")).toArray();
            QCOMPARE(failed.size(), failure.isEmpty() ? 0 : 1);
            if (!failure.isEmpty())
                QVERIFY(failed.at(0).toString().endsWith(QLatin1String(".pdf")));
        }
        if (!failure.isEmpty()) {
            QVERIFY2(station.errors().contains(told), qPrintable(station.errors()));
            QCOMPARE(station.errors().count(QStringLiteral("не подписан")), 2);
            return;
        }

        // Each PDF verified by poppler, its reason and place read by pypdf.
        for (const QString &pdf : pdfs) {
            const QString path = QDir(out).filePath(pdf);
            const QString check = QString::fromUtf8(runReader(QStringLiteral("pdfsig"), {path}));
            QVERIFY2(check.contains(QStringLiteral("Signature is Valid")), qPrintable(check));
            QVERIFY2(check.contains(QStringLiteral("Total document signed")), qPrintable(check));
            QVERIFY2(check.contains(kSigner), qPrintable(check));
            // The report names its signer, as the window's signed reports do.
            const QString text = pdfText(path);
            QVERIFY2(text.contains(QStringLiteral("Подписано: ") + kSigner), qPrintable(text));
            const QString dictionary = QString::fromUtf8(
                runReader(QStringLiteral("/usr/bin/python3"),
                          {QStringLiteral("-c"),
                           QStringLiteral("import sys, pypdf\n"
                                          "for f in pypdf.PdfReader(sys.argv[1]).get_fields().values():\n"
                                          "    v = f.get('/V')\n"
                                          "    if v is not None:\n"
                                          "        v = v.get_object()\n"
                                          "        print('/Reason', v['/Reason'])\n"
                                          "        print('/Location', v['/Location'])\n"),
                           path}));
            QVERIFY2(dictionary.contains(QStringLiteral("/Reason Протокол контроля ") + kReportNumber),
                     qPrintable(dictionary));
            QVERIFY2(dictionary.contains(QStringLiteral("/Location ") + kCity), qPrintable(dictionary));
        }
    }
};

QTEST_GUILESS_MAIN(StationSigningTest)

#include "tst_station_signing.moc"
