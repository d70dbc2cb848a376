// Signed PDF reports through the real window: the certificate chosen in its
// dialog and kept in the settings, the password asked once, the signature
// checked by poppler's pdfsig and the report by pdftotext and the PDF/A
// checks; each failure told before anything is written, the operator then
// choosing an unsigned report or none.
#include "configfile.h"
#include "mainwindowtester.h"
#include "openedfiles.h"
#include "pdfreader.h"
#include "settings/settingsfile.h"
#include "testcertificates.h"
#include "toolrun.h"
#include "ui/reportsigning.h"
#include "ui/signingdialog.h"
#include "windowtestmain.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Answers the modal dialogs of one export or one choice of certificate while
// it lives: the save dialog with `target` (cancelled when empty); the
// certificate dialog by choosing `certificate` (when set) and OK; each
// password prompt with the next of `passwords` (none left: cancelled); the
// empty-fields question with yes; the signing failure with `onFailure`.
class SigningAnswerer : public QObject
{
public:
    QString target;
    QString certificate;
    QList<QByteArray> passwords;
    QMessageBox::StandardButton onFailure = QMessageBox::Cancel;
    bool clearChoice = false; // "Не подписывать" in the certificate dialog

    int passwordPrompts = 0;
    QStringList passwordLabels;
    QStringList boxTexts; // boxes other than the empty-fields question
    QStringList boxInformation;
    QStringList dialogTexts; // the certificate dialog's owner, validity and state, once chosen

    SigningAnswerer()
    {
        connect(&poll, &QTimer::timeout, this, &SigningAnswerer::answer);
        poll.start(10);
    }

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == answered)
            return;
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            answered = dialog;
            if (target.isEmpty()) {
                dialog->reject();
                return;
            }
            if (auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(target);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            return;
        }
        if (auto *prompt = qobject_cast<QInputDialog *>(modal)) {
            answered = prompt;
            ++passwordPrompts;
            passwordLabels.append(prompt->labelText());
            QCOMPARE(prompt->textEchoMode(), QLineEdit::Password);
            if (passwords.isEmpty()) {
                prompt->reject();
                return;
            }
            prompt->setTextValue(QString::fromUtf8(passwords.takeFirst()));
            prompt->accept();
            return;
        }
        if (auto *dialog = qobject_cast<SigningDialog *>(modal)) {
            answered = dialog;
            // Out of this timer's slot: choosing asks the password in a loop of its own.
            QTimer::singleShot(0, dialog, [this, dialog] {
                if (!certificate.isEmpty())
                    dialog->chooseFile(certificate);
                if (clearChoice)
                    dialog->findChild<QPushButton *>(QStringLiteral("signing_clear_button"))->click();
                for (const char *name : {"signing_subject", "signing_validity", "signing_status"})
                    dialogTexts.append(dialog->findChild<QLabel *>(QLatin1String(name))->text());
                dialog->accept();
            });
            return;
        }
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return;
        answered = box;
        if (qobject_cast<QFileDialog *>(box->parentWidget())) {
            box->button(QMessageBox::Yes)->click();
            return;
        }
        if (box->icon() == QMessageBox::Question) {
            box->button(QMessageBox::Yes)->click();
            return;
        }
        boxTexts.append(box->text());
        boxInformation.append(box->informativeText());
        if (QAbstractButton *button = box->button(onFailure))
            button->click();
        else
            box->button(QMessageBox::Ok)->click();
    }

    QTimer poll;
    QPointer<QWidget> answered;
};

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString pdfsig(const QString &path)
{
    return QString::fromUtf8(runTool(QStringLiteral("pdfsig"), {path}).output);
}

// What the signature dictionary holds, read by pypdf.
QString signatureDictionary(const QString &path)
{
    return QString::fromUtf8(
        runReader("/usr/bin/python3", {"-c",
                                       "import sys, pypdf\n"
                                       "r = pypdf.PdfReader(sys.argv[1])\n"
                                       "for f in r.get_fields().values():\n"
                                       "    v = f.get('/V')\n"
                                       "    if v is not None:\n"
                                       "        v = v.get_object()\n"
                                       "        for k in ('/SubFilter', '/Reason', '/Location', '/Name'):\n"
                                       "            print(k, v[k])\n",
                                       path}));
}

} // namespace

class TestSignedExport : public QObject
{
    Q_OBJECT

    QTemporaryDir certificates;
    QTemporaryDir dir;
    OpenedFiles opened;
    QScopedPointer<MainWindow> window;

    Ui::MainWindow *ui() { return MainWindowTester::ui(*window); }
    QString certificate(const QString &name) const { return certificates.filePath(name); }

    void openWindow()
    {
        window.reset(new MainWindow(noPorts()));
        window->blockList().showRead({{"T 0002", {5.25f, 6.0f, 7.0f, 8.0f}}});
        MainWindowTester::showBlock(*window, 0);
        ui()->company_name->setText(QStringLiteral("ООО Ромашка"));
        ui()->company_city->setText(QStringLiteral("Тула"));
        ui()->report_number->setText(QStringLiteral("П-17"));
        ui()->report_graph_checkbox->setChecked(false);
        ui()->report_diagram_checkbox->setChecked(false);
        opened.urls.clear();
    }

    // A window whose settings name the certificate with the box ticked, as
    // left by an earlier run: the password is not known yet.
    void openWindowSigningWith(const QString &p12)
    {
        QJsonObject config = defaultConfig();
        config.insert(QStringLiteral("signing_certificate_path"), p12);
        config.insert(QStringLiteral("sign_pdf"), true);
        QDir().mkpath(QFileInfo(configPath()).absolutePath());
        QFile file(configPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(config).toJson());
        file.close();
        openWindow();
    }

    // The answerer lives around the call and answers the dialog.
    void chooseCertificate() { ui()->action_report_signing->trigger(); }

    void exportPdf(SigningAnswerer &answers, const QString &path)
    {
        answers.target = path;
        ui()->button_export_to_PDF->click();
    }

    QStringList filesInOutput() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

private slots:
    void initTestCase()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &opened, "open");
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        QVERIFY(certificates.isValid() && dir.isValid());
        QVERIFY(makeTestCertificates(certificates.path()));
    }

    void init()
    {
        freshSettingsFolder();
        for (const QString &name : filesInOutput())
            QFile::remove(dir.filePath(name));
    }
    void cleanup() { window.reset(); }
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    // A first run: the box cannot be ticked and says where a certificate is chosen.
    void boxWaitsForACertificate()
    {
        openWindow();
        QCOMPARE(ui()->sign_pdf_checkbox->text(), QStringLiteral("Подписать PDF"));
        QVERIFY(!ui()->sign_pdf_checkbox->isEnabled());
        QVERIFY(!ui()->sign_pdf_checkbox->isChecked());
        QVERIFY(ui()->sign_pdf_checkbox->toolTip().contains(QStringLiteral("Подпись отчётов")));
        ui()->actionEN->trigger();
        QCOMPARE(ui()->sign_pdf_checkbox->text(), QStringLiteral("Sign PDF"));
        QCOMPARE(ui()->action_report_signing->text(), QStringLiteral("Report signing…"));
        QCOMPARE(ui()->sign_pdf_checkbox->toolTip(),
                 QStringLiteral("No signing certificate chosen: Data → Report signing…"));
        ui()->actionRU->trigger();
        QVERIFY(ui()->sign_pdf_checkbox->toolTip().contains(QStringLiteral("Подпись отчётов")));
        // Unsigned as before: no password, no signature.
        SigningAnswerer answers;
        const QString path = dir.filePath("plain.pdf");
        exportPdf(answers, path);
        QCOMPARE(answers.passwordPrompts, 0);
        QVERIFY(QFile::exists(path));
        QVERIFY(!pdfText(path).contains(QStringLiteral("Подписано:")));
        QVERIFY(!pdfsig(path).contains(QStringLiteral("Signature Validation")));
    }

    // Chosen in the dialog (owner and validity shown), signed at export
    // without asking again, verified independently, PDF/A kept, nothing left
    // beside the report; a second export in the run asks nothing either.
    void signedExportVerifies()
    {
        openWindow();
        SigningAnswerer answers;
        answers.certificate = certificate("good.p12");
        answers.passwords = {kTestCertificatePassword};
        chooseCertificate();
        QCOMPARE(answers.passwordPrompts, 1);
        QVERIFY(answers.passwordLabels.value(0).contains(QStringLiteral("good.p12")));
        QCOMPARE(answers.dialogTexts.size(), 3);
        QVERIFY2(answers.dialogTexts.at(0).contains(kTestSigner), qPrintable(answers.dialogTexts.at(0)));
        QVERIFY2(
            answers.dialogTexts.at(1).contains(QRegularExpression("^с \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d "
                                                                  "по \\d\\d\\.\\d\\d\\.\\d{4}")),
            qPrintable(answers.dialogTexts.at(1)));
        QCOMPARE(answers.dialogTexts.at(2), QStringLiteral("Сертификат годен для подписи."));
        QVERIFY(ui()->sign_pdf_checkbox->isEnabled());
        QVERIFY(ui()->sign_pdf_checkbox->isChecked());

        const QString path = dir.filePath("signed.pdf");
        exportPdf(answers, path);
        QCOMPARE(answers.passwordPrompts, 1);
        QVERIFY2(answers.boxTexts.isEmpty(), qPrintable(answers.boxTexts.join('\n')));
        QCOMPARE(opened.paths(), QStringList{path});
        QCOMPARE(filesInOutput(), QStringList{"signed.pdf"});

        const QString signature = pdfsig(path);
        QVERIFY2(signature.contains("Signature Validation: Signature is Valid"), qPrintable(signature));
        QVERIFY2(signature.contains("Total document signed"), qPrintable(signature));
        QVERIFY2(signature.contains(kTestSigner), qPrintable(signature));
        const QString dictionary = signatureDictionary(path);
        QVERIFY2(dictionary.contains("/SubFilter /ETSI.CAdES.detached"), qPrintable(dictionary));
        QVERIFY(dictionary.contains(QStringLiteral("/Reason Протокол контроля П-17")));
        QVERIFY(dictionary.contains(QStringLiteral("/Location Тула")));
        QVERIFY(dictionary.contains("/Name " + kTestSigner));

        const QString text = pdfText(path, kAllPages, PdfText::ReadingOrder);
        QVERIFY2(
            text.contains(QRegularExpression(QStringLiteral("Подписано: ") + kTestSigner
                                             + QStringLiteral(", \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d"))),
            qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("ООО Ромашка")));

        // PDF/A-1b: the XMP marks, the output intent, every font embedded.
        const QString meta = QString::fromUtf8(runReader("pdfinfo", {"-meta", path}));
        QVERIFY(meta.contains(QStringLiteral("pdfaid:part=\"1\"")));
        QVERIFY(meta.contains(QStringLiteral("pdfaid:conformance=\"B\"")));
        QVERIFY(readBytes(path).contains("/OutputIntents"));
        const QStringList fonts =
            QString::fromUtf8(runReader("pdffonts", {path})).split('\n', Qt::SkipEmptyParts);
        QVERIFY(fonts.size() > 2);
        for (const QString &font : fonts.mid(2))
            QVERIFY2(font.contains(QRegularExpression("\\syes\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+\\s*$")),
                     qPrintable(font));

        // A signed report can be read by whoever reads an unsigned one.
        ui()->sign_pdf_checkbox->setChecked(false);
        const QString plain = dir.filePath("plain.pdf");
        exportPdf(answers, plain);
        QCOMPARE(QFile::permissions(path), QFile::permissions(plain));
        ui()->sign_pdf_checkbox->setChecked(true);

        // Replacing the signed report: still no password asked, the new one signed.
        exportPdf(answers, path);
        QCOMPARE(answers.passwordPrompts, 1);
        QVERIFY(pdfsig(path).contains("Signature is Valid"));
        QCOMPARE(filesInOutput(), (QStringList{"plain.pdf", "signed.pdf"}));
    }

    // The path and the box outlive the run; the password never reaches the file.
    void choiceIsKeptPasswordIsNot()
    {
        openWindow();
        {
            SigningAnswerer answers;
            answers.certificate = certificate("good.p12");
            answers.passwords = {kTestCertificatePassword};
            chooseCertificate();
        }
        window.reset();
        const QJsonObject config = readConfig();
        QCOMPARE(config.value(QStringLiteral("signing_certificate_path")).toString(),
                 certificate("good.p12"));
        QCOMPARE(config.value(QStringLiteral("sign_pdf")), QJsonValue(true));
        const QByteArray bytes = readBytes(configPath());
        QVERIFY(!bytes.contains(kTestCertificatePassword));

        openWindow();
        QVERIFY(ui()->sign_pdf_checkbox->isEnabled());
        QVERIFY(ui()->sign_pdf_checkbox->isChecked());
        QVERIFY(ui()->sign_pdf_checkbox->toolTip().contains(QStringLiteral("good.p12")));
        // A new run asks the password once, at the first signed export.
        {
            // Scoped: a second answerer still polling would take the next dialog.
            SigningAnswerer answers;
            answers.passwords = {kTestCertificatePassword};
            exportPdf(answers, dir.filePath("again.pdf"));
            QCOMPARE(answers.passwordPrompts, 1);
        }
        QVERIFY(pdfsig(dir.filePath("again.pdf")).contains("Signature is Valid"));

        // "Не подписывать": no certificate, the box off and disabled.
        {
            SigningAnswerer clearing;
            clearing.clearChoice = true;
            ui()->action_report_signing->trigger();
        }
        QVERIFY(!ui()->sign_pdf_checkbox->isEnabled());
        QVERIFY(!ui()->sign_pdf_checkbox->isChecked());
        window.reset();
        QCOMPARE(readConfig().value(QStringLiteral("signing_certificate_path")).toString(), QString());
        QCOMPARE(readConfig().value(QStringLiteral("sign_pdf")), QJsonValue(false));
    }

    // A certificate that cannot sign is described in the dialog, its dates
    // included, with the reason it cannot sign.
    void dialogSaysWhyNot()
    {
        SigningDialog dialog(certificate("expired.p12"), kTestCertificatePassword);
        QCOMPARE(dialog.findChild<QLabel *>("signing_subject")->text(), QStringLiteral("CN = Dated"));
        QVERIFY(!dialog.findChild<QLabel *>("signing_validity")->text().isEmpty());
        QCOMPARE(dialog.findChild<QLabel *>("signing_status")->text(),
                 QStringLiteral("Этим сертификатом подписать нельзя. Срок действия сертификата истёк."));
        QCOMPARE(dialog.findChild<QLineEdit *>("signing_certificate_path")->text(),
                 QDir::toNativeSeparators(certificate("expired.p12")));
        QVERIFY(dialog.findChild<QLineEdit *>("signing_certificate_path")->isReadOnly());
        QVERIFY(dialog.findChild<QPushButton *>("signing_browse_button"));

        SigningDialog unopened(certificate("good.p12"), QByteArray());
        QVERIFY(unopened.findChild<QLabel *>("signing_subject")->text().isEmpty());
        QCOMPARE(unopened.findChild<QLabel *>("signing_status")->text(),
                 QStringLiteral("Владелец и срок действия видны после ввода пароля."));
    }

    void failureIsTold_data()
    {
        QTest::addColumn<QString>("p12");
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<bool>("unsignedWanted");
        QTest::addColumn<QString>("told");
        const QByteArray right = kTestCertificatePassword;
        const QString wrong = QStringLiteral("Отчёт не подписан. Неверный пароль к сертификату.");
        const QString expired = QStringLiteral("Отчёт не подписан. Срок действия сертификата истёк.");
        QTest::newRow("wrong password, unsigned") << "good.p12" << QByteArray("not it") << true << wrong;
        QTest::newRow("wrong password, cancelled") << "good.p12" << QByteArray("not it") << false << wrong;
        QTest::newRow("expired, unsigned") << "expired.p12" << right << true << expired;
        QTest::newRow("expired, cancelled") << "expired.p12" << right << false << expired;
        QTest::newRow("not yet valid") << "future.p12" << right << true
                                       << QStringLiteral("Отчёт не подписан. Сертификат ещё не действует.");
        QTest::newRow("no private key")
            << "nokey.p12" << right << false
            << QStringLiteral("Отчёт не подписан. В файле сертификата нет закрытого ключа.");
        QTest::newRow("key cannot sign")
            << "encipher.p12" << right << true
            << QStringLiteral("Отчёт не подписан. Ключ сертификата не годится для подписи.");
        // Found only once the report is written: nothing is left of it, unless wanted unsigned.
        const QString afterWriting = QStringLiteral("Отчёт не подписан. Подписать файл отчёта не удалось.");
        QTest::newRow("signing fails after writing, unsigned")
            << "longchain.p12" << right << true << afterWriting;
        QTest::newRow("signing fails after writing, cancelled")
            << "longchain.p12" << right << false << afterWriting;
        QTest::newRow("file gone") << "absent.p12" << right << false
                                   << QStringLiteral(
                                          "Отчёт не подписан. Файл сертификата не удалось прочитать.");
    }

    // Told before anything is written, which failure it was; the operator's
    // choice decides between an unsigned report and none at all.
    void failureIsTold()
    {
        QFETCH(QString, p12);
        QFETCH(QByteArray, password);
        QFETCH(bool, unsignedWanted);
        QFETCH(QString, told);
        openWindowSigningWith(certificate(p12));
        QVERIFY(ui()->sign_pdf_checkbox->isChecked());
        SigningAnswerer answers;
        answers.passwords = {password};
        answers.onFailure = unsignedWanted ? QMessageBox::Save : QMessageBox::Cancel;
        const QString path = dir.filePath("report.pdf");
        exportPdf(answers, path);
        QCOMPARE(answers.passwordPrompts, 1);
        QCOMPARE(answers.boxTexts, QStringList{told});
        QVERIFY(answers.boxInformation.value(0).endsWith(QStringLiteral("Сохранить отчёт без подписи?")));
        if (!unsignedWanted) {
            QCOMPARE(filesInOutput(), QStringList());
            QVERIFY(opened.urls.isEmpty());
            return;
        }
        QCOMPARE(filesInOutput(), QStringList{"report.pdf"});
        QCOMPARE(opened.paths(), QStringList{path});
        QVERIFY(pdfText(path).contains(QStringLiteral("ООО Ромашка")));
        QVERIFY(!pdfText(path).contains(QStringLiteral("Подписано")));
        QVERIFY(!pdfsig(path).contains(QStringLiteral("Signature Validation")));
    }

    // A mistyped password is asked again at the next export, which then signs.
    void wrongPasswordIsAskedAgain()
    {
        openWindowSigningWith(certificate("good.p12"));
        SigningAnswerer answers;
        answers.passwords = {"not it", kTestCertificatePassword};
        exportPdf(answers, dir.filePath("first.pdf"));
        QCOMPARE(answers.boxTexts.size(), 1);
        QCOMPARE(filesInOutput(), QStringList());
        exportPdf(answers, dir.filePath("second.pdf"));
        QCOMPARE(answers.passwordPrompts, 2);
        QCOMPARE(answers.boxTexts.size(), 1);
        QVERIFY(pdfsig(dir.filePath("second.pdf")).contains("Signature is Valid"));
    }

    // Cancelling the password prompt cancels the export.
    void cancelledPasswordWritesNothing()
    {
        openWindowSigningWith(certificate("good.p12"));
        SigningAnswerer answers;
        exportPdf(answers, dir.filePath("none.pdf"));
        QCOMPARE(answers.passwordPrompts, 1);
        QVERIFY(answers.boxTexts.isEmpty());
        QCOMPARE(filesInOutput(), QStringList());
        QVERIFY(opened.urls.isEmpty());
    }
};

ZRV_WINDOW_TEST_MAIN(TestSignedExport)
#include "tst_signedexport.moc"
