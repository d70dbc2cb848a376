#include "ui/signedpdffile.h"

#include "report/reportdata.h"
#include "signing/signingidentity.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace {

// A free name in the target's folder, so that the last rename stays on one
// file system. The reservation goes at once: the PDF writer then makes the
// file new, with the permissions a new report gets.
QString freeNameBeside(const QString &path)
{
    QTemporaryFile reserved(QFileInfo(path).absolutePath() + QStringLiteral("/.zrv-report-XXXXXX.pdf"));
    if (!reserved.open())
        return QString();
    return reserved.fileName();
}

} // namespace

SignedPdfResult writeSignedPdfFile(const QString &path, const ReportData &data,
                                   const SigningIdentity &identity, const PdfSignatureInfo &info,
                                   const PdfProgress &progress)
{
    SignedPdfResult result;
    const QString unsignedPath = freeNameBeside(path);
    if (unsignedPath.isEmpty() || !writePdfReportFile(unsignedPath, data, true, progress)) {
        QFile::remove(unsignedPath);
        return result;
    }
    result.written = true;
    result.signing = signPdfFile(unsignedPath, identity, info);
    if (!result.signing.ok()) {
        QFile::remove(unsignedPath);
        return result;
    }
    if (QFileInfo::exists(path))
        QFile::setPermissions(unsignedPath, QFile::permissions(path));
    if (std::rename(QFile::encodeName(unsignedPath).constData(), QFile::encodeName(path).constData()) != 0) {
        QFile::remove(unsignedPath);
        result.written = false;
    }
    return result;
}
