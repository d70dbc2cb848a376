#include "signing/pdfsigner.h"

#include "signing/cmssigner.h"
#include "signing/signingidentity.h"
#include "signing/signingtext.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <podofo/podofo.h>

#include <cstdio>

namespace {

// Room reserved for the DER signature: a certificate chain of a few
// certificates with 4096-bit keys fits well within it.
constexpr size_t kSignatureSize = 16384;
constexpr size_t kReadChunk = 65536;

QString reasonText(const QString &reportNumber)
{
    return QStringLiteral("Протокол контроля %1").arg(reportNumber);
}

PoDoFo::PdfString pdfText(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return PoDoFo::PdfString(reinterpret_cast<const PoDoFo::pdf_utf8 *>(utf8.constData()));
}

void addSignatureField(PoDoFo::PdfMemDocument &document, PoDoFo::PdfSignOutputDevice &device,
                       const SigningIdentity &identity, const PdfSignatureInfo &info)
{
    using namespace PoDoFo;
    // No default appearance: it would add an unembedded font to a PDF/A file.
    PdfAcroForm *form = document.GetAcroForm(true, ePdfAcroFormDefaultAppearance_None);
    form->GetObject()->GetDictionary().AddKey(PdfName("SigFlags"), PdfObject(static_cast<pdf_int64>(3)));
    PdfPage *page = document.GetPage(0);
    PdfAnnotation *widget = page->CreateAnnotation(ePdfAnnotation_Widget, PdfRect(0, 0, 0, 0));
    // An empty rectangle keeps it invisible; PDF/A forbids the hidden flags.
    widget->SetFlags(ePdfAnnotationFlags_Print);
    PdfSignatureField field(widget, form, &document);
    field.SetFieldName(PdfString("Signature1"));
    field.SetSignatureReason(pdfText(reasonText(info.reportNumber)));
    field.SetSignatureLocation(pdfText(info.city));
    field.SetSignatureDate(PdfDate());
    field.SetSignature(*device.GetSignatureBeacon());
    PdfDictionary &signature = field.GetSignatureObject()->GetDictionary();
    signature.AddKey(PdfName("Filter"), PdfName("Adobe.PPKLite"));
    signature.AddKey(PdfName("SubFilter"), PdfName("ETSI.CAdES.detached"));
    signature.AddKey(PdfName("Name"), pdfText(identity.commonName()));
}

SigningError signInto(const QString &source, const QString &target, const SigningIdentity &identity,
                      const PdfSignatureInfo &info)
{
    using namespace PoDoFo;
    // podofo prints the parsed trailer on stderr otherwise, into the station's log.
    PdfError::EnableDebug(false);
    PdfError::EnableLogging(false);
    PdfMemDocument document;
    try {
        document.Load(QFile::encodeName(source).constData(), true);
    } catch (const PdfError &e) {
        return {SigningErrorKind::PdfUnreadable,
                signingText("не удалось прочитать %1: %2").arg(source, QString::fromUtf8(e.what()))};
    }
    try {
        PdfOutputDevice output(QFile::encodeName(target).constData(), true);
        PdfSignOutputDevice device(&output);
        device.SetSignatureSize(kSignatureSize);
        addSignatureField(document, device, identity, info);
        document.WriteUpdate(&device, true);
        if (!device.HasSignaturePosition())
            return {SigningErrorKind::SigningFailed, signingText("в файле не нашлось места для подписи")};
        device.AdjustByteRange();
        device.Seek(0);
        QByteArray signedBytes;
        QByteArray chunk(kReadChunk, Qt::Uninitialized);
        size_t read = 0;
        while ((read = device.ReadForSignature(chunk.data(), chunk.size())) > 0)
            signedBytes.append(chunk.constData(), static_cast<int>(read));
        const QByteArray cms = signDetachedCms(identity, signedBytes);
        if (cms.isEmpty() || static_cast<size_t>(cms.size()) > kSignatureSize)
            return {SigningErrorKind::SigningFailed, signingText("не удалось создать подпись CMS")};
        device.SetSignature(PdfData(cms.constData(), static_cast<size_t>(cms.size())));
        device.Flush();
    } catch (const PdfError &e) {
        return {SigningErrorKind::WriteFailed,
                signingText("не удалось записать %1: %2").arg(target, QString::fromUtf8(e.what()))};
    }
    return {};
}

} // namespace

SigningError signPdfFile(const QString &path, const SigningIdentity &identity, const PdfSignatureInfo &info)
{
    if (!identity.isValid())
        return {SigningErrorKind::NoPrivateKey, signingText("нет ключа для подписи")};
    if (!QFileInfo(path).isFile())
        return {SigningErrorKind::PdfUnreadable, signingText("файла %1 нет").arg(path)};
    // A name reserved beside the target, so the final rename stays on one file system.
    QTemporaryFile reserved(QFileInfo(path).absolutePath() + QStringLiteral("/.zrv-sign-XXXXXX.pdf"));
    if (!reserved.open())
        return {SigningErrorKind::WriteFailed, signingText("не удалось создать файл рядом с %1").arg(path)};
    reserved.close();
    const QString temporary = reserved.fileName();
    SigningError error = signInto(path, temporary, identity, info);
    // The reserved name was made private to this user; the report keeps the
    // permissions it was written with.
    if (error.ok())
        QFile::setPermissions(temporary, QFile::permissions(path));
    if (error.ok()
        && std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0)
        error = {SigningErrorKind::WriteFailed, signingText("не удалось заменить %1").arg(path)};
    if (error.ok())
        reserved.setAutoRemove(false);
    return error;
}

SigningIdentity loadIdentityWithPasswordFile(const QString &p12Path, const QString &passwordFile,
                                             SigningError *error)
{
    QFile file(passwordFile);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = {SigningErrorKind::PasswordFileUnreadable,
                  signingText("не удалось прочитать %1: %2").arg(passwordFile, file.errorString())};
        return {};
    }
    QByteArray password = file.readLine();
    while (password.endsWith('\n') || password.endsWith('\r'))
        password.chop(1);
    return SigningIdentity::load(p12Path, password, error);
}

SigningError signWrittenPdf(const QString &pdfPath, const QString &p12Path, const QString &passwordFile,
                            const QString &reportNumber, const QString &city)
{
    SigningError error;
    const SigningIdentity identity = loadIdentityWithPasswordFile(p12Path, passwordFile, &error);
    if (!error.ok())
        return error;
    return signPdfFile(pdfPath, identity, {reportNumber, city});
}
