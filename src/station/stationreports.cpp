#include "station/stationreports.h"

#include "report/excelreport.h"
#include "report/exportpath.h"
#include "report/pdfreport.h"
#include "report/reportassembly.h"
#include "report/reporttexts.h"

#include "report/reportdata.h"
#include "signing/pdfsigner.h"
#include "signing/signingidentity.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {
const QString kPdfExtension = QStringLiteral("pdf");
const QString kExcelExtension = QStringLiteral("xlsx");
// The window leaves out empty fields unless the operator asks for them.
constexpr bool kIncludeEmptyFields = false;
// Room in the file name for " (9999)" when an earlier report holds the name.
constexpr int kCopyMarkBytes = 7;
} // namespace

StationReports::StationReports(const StationForm &form, const ToleranceBand &band, int valueDecimals,
                               bool pdf, bool xlsx, const QString &folder)
    : form(form)
    , band(band)
    , valueDecimals(valueDecimals)
    , pdf(pdf)
    , xlsx(xlsx)
    , folder(folder.isEmpty() ? defaultReportFolder() : QDir(folder).absolutePath() + QLatin1Char('/'))
    , startedAt(QTime::currentTime())
{}

QString StationReports::targetPath(const QString &portTag, int number, const QString &extension) const
{
    // The window's name, then the port and the block: a run makes many at once.
    const QString added =
        QLatin1Char(' ') + fileNameSafe(portTag) + QLatin1Char(' ') + QString::number(number);
    const QString proposed =
        proposedReportPath(folder, QCoreApplication::translate("MainWindow", "Отчет"), form.reportNumber,
                           startedAt, extension, added.toUtf8().size() + kCopyMarkBytes);
    const QString stem = proposed.left(proposed.size() - extension.size() - 1) + added;
    QString path = stem + QLatin1Char('.') + extension;
    for (int copy = 2; QFileInfo::exists(path); ++copy)
        path = stem + QStringLiteral(" (%1).").arg(copy) + extension;
    return path;
}

void StationReports::setSigning(const StationSigning &certificate)
{
    signing = certificate;
}

bool StationReports::writeSignedPdf(const ReportData &data, const QString &path, SigningError *error) const
{
    // Under its own name only once signed: the operator asked for no unsigned report.
    QTemporaryFile unsignedFile(folder + QStringLiteral(".zrv-report-XXXXXX.pdf"));
    if (!unsignedFile.open())
        return false;
    unsignedFile.close();
    const QString hidden = unsignedFile.fileName();
    // The signer is named in the report, so the identity is known before it is written.
    const SigningIdentity identity =
        loadIdentityWithPasswordFile(signing.certificate, signing.passwordFile, error);
    if (!error->ok())
        return false;
    ReportData signedData = data;
    signedData.signedBy = signedByLine(identity.commonName(), QDateTime::currentDateTime());
    if (!writePdfReportFile(hidden, signedData))
        return false;
    *error = signPdfFile(hidden, identity, {form.reportNumber, form.companyCity});
    if (!error->ok() || !QFile::rename(hidden, path))
        return false;
    unsignedFile.setAutoRemove(false);
    return true;
}

StationReports::Written StationReports::write(const MemoryBlock &block, int number, const QString &portTag)
{
    Written written;
    if (!QDir().mkpath(folder)) {
        if (pdf)
            written.failed.append(targetPath(portTag, number, kPdfExtension));
        if (xlsx)
            written.failed.append(targetPath(portTag, number, kExcelExtension));
        return written;
    }

    ReportSource source;
    source.content.fields = form.fields;
    source.content.values = block.values;
    source.content.valueHeader = reportValueHeader(block.name);
    source.hasBlock = true;
    source.block = block;
    source.statistics = computeStatistics(block.values);
    source.band = band;
    source.captions = defaultReportCaptions();
    source.logo = form.logo;
    source.comments = form.comments;
    source.reportNumber = form.reportNumber;
    source.reportDate = form.reportDate;
    source.operatorName = form.operatorName;
    source.companyName = form.companyName;
    source.valueDecimals = valueDecimals;

    if (pdf) {
        const QString path = targetPath(portTag, number, kPdfExtension);
        const ReportData data = pdfReportData(source, kIncludeEmptyFields);
        const bool saved =
            signing.isOn() ? writeSignedPdf(data, path, &written.signing) : writePdfReportFile(path, data);
        (saved ? written.paths : written.failed).append(path);
    }
    if (xlsx) {
        const QString path = targetPath(portTag, number, kExcelExtension);
        (writeExcelReportFile(path, excelReportData(source, kIncludeEmptyFields)).saved ? written.paths
                                                                                        : written.failed)
            .append(path);
    }
    return written;
}
