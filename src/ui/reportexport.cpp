#include "ui/reportexport.h"

#include "report/excelreport.h"
#include "report/exportpath.h"
#include "report/pdfreport.h"
#include "report/reportassembly.h"
#include "report/reportdata.h"
#include "report/reporttexts.h"
#include "report/savefailure.h"
#include "ui/blockview.h"
#include "ui/reportanalysiscapture.h"
#include "ui/reportsigning.h"
#include "ui/reportstatus.h"
#include "ui/signedpdffile.h"
#include "values/memoryblock.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

namespace {
const QString kPdfExtension = QStringLiteral("pdf");
const QString kExcelExtension = QStringLiteral("xlsx");
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
const QSize kPdfPlotSize(600, 400);
const QSize kExcelPlotSize(522, 313);
// Three charts and a heading fit on one page of the PDF.
const QSize kPdfAnalysisChartSize(600, 280);
const QSize kExcelAnalysisChartSize(522, 280);

// The texts belong to the window's catalogue context.
QString windowText(const char *source)
{
    return QCoreApplication::translate("MainWindow", source);
}

// The busy cursor for as long as a report is written.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

ReportExport::ReportExport(const ReportFormWidgets &form, BlockView *view, ReportStatus *status,
                           LogoSource logo, QWidget *dialogParent, ReportSigning *signing)
    : QObject(dialogParent)
    , form(form)
    , view(view)
    , status(status)
    , logo(std::move(logo))
    , dialogParent(dialogParent)
    , signing(signing)
{}

void ReportExport::exportPdf()
{
    const ExportTarget target = askTarget(windowText("Экспорт в PDF"), kPdfExtension);
    if (!target.path.isEmpty())
        writePdf(target.path, target.includeEmptyFields);
}

void ReportExport::exportExcel()
{
    const ExportTarget target = askTarget(windowText("Экспорт в Excel"), kExcelExtension);
    if (!target.path.isEmpty())
        writeExcel(target.path, target.includeEmptyFields);
}

ExportTarget ReportExport::askTarget(const QString &caption, const QString &extension)
{
    const QString filter = QStringLiteral("(*.") + extension + QStringLiteral(")");
    const QString proposed = proposedReportPath(defaultReportFolder(), windowText("Отчет"),
                                                form.number->text(), QTime::currentTime(), extension);
    const QString path = QFileDialog::getSaveFileName(dialogParent, caption, proposed, filter);
    if (path.isEmpty())
        return {};
    if (isFileLocked(path)) {
        showSaveFailure(path);
        return {};
    }

    QMessageBox question(QMessageBox::Question, QString(), windowText("Включать незаполненные поля в отчет?"),
                         QMessageBox::Yes | QMessageBox::No);
    question.button(QMessageBox::Yes)->setText(windowText("Да"));
    question.button(QMessageBox::No)->setText(windowText("Нет"));
    const bool includeEmpty = question.exec() == QMessageBox::Yes;
    return {path, includeEmpty};
}

ReportContent ReportExport::collectContent() const
{
    ReportContent content;
    for (const ReportFormField &row : form.fields) {
        const auto *date = qobject_cast<const QDateEdit *>(row.field);
        const QString value =
            date ? date->date().toString(kDateFormat) : qobject_cast<const QLineEdit *>(row.field)->text();
        content.fields.append({row.label->text(), value, row.section->text()});
    }
    // The block whose statistics and plots are shown, not the list's current row.
    if (view->hasBlock()) {
        const MemoryBlock &block = view->block();
        content.values = block.values;
        content.valueHeader = reportValueHeader(block.name);
    }
    return content;
}

ReportSource ReportExport::gatherSource(const QSize &plotSize, const QSize &analysisChartSize)
{
    ReportSource source;
    source.content = collectContent();
    source.hasBlock = view->hasBlock();
    if (source.hasBlock)
        source.block = view->block();
    source.statistics = view->exactStatistics();
    source.band = view->band();
    source.valueDecimals = view->valueDecimals();
    source.captions = {
        form.minimum->text(),           form.maximum->text(),        form.mean->text(), form.stdev->text(),
        form.outOfBand->text(),         form.verdict->text(),        form.cp->text(),   form.cpk->text(),
        form.statisticsHeading->text(), form.commentsHeading->text()};
    source.logo = logo();
    if (form.withGraph->isChecked())
        source.plots.append(view->capturePlot(BlockView::Plot::Graph, plotSize));
    if (form.withDiagram->isChecked())
        source.plots.append(view->capturePlot(BlockView::Plot::Diagram, plotSize));
    if (source.hasBlock && form.withAnalysis && form.withAnalysis->isChecked())
        source.analysis = captureReportAnalysis(source.block.values, source.band, analysisChartSize);
    source.comments = form.comments->toPlainText();
    source.reportNumber = form.number->text();
    source.reportDate = form.date->date();
    source.operatorName = form.operatorName->text();
    source.companyName = form.companyName->text();
    source.unit = form.unit->text().trimmed();
    return source;
}

void ReportExport::writePdf(const QString &path, bool includeEmptyFields)
{
    // The password is asked and the certificate checked before the busy
    // cursor and before anything is written.
    ReportSigning::Decision decision;
    if (signing)
        decision = signing->decide();
    if (decision.cancelled)
        return;
    const ReportData data =
        pdfReportData(gatherSource(kPdfPlotSize, kPdfAnalysisChartSize), includeEmptyFields);
    const bool written = decision.identity.isValid() ? writeSignedPdf(path, data, decision.identity)
                                                     : writeUnsignedPdf(path, data);
    if (!written)
        return;
    status->showSaved(path);
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool ReportExport::writeSignedPdf(const QString &path, ReportData data, const SigningIdentity &identity)
{
    data.signedBy = signedByLine(identity.commonName(), QDateTime::currentDateTime());
    SignedPdfResult result;
    {
        const BusyCursor busy;
        result = writeSignedPdfFile(path, data, identity,
                                    {form.number->text().trimmed(), form.city->text().trimmed()},
                                    [this](int page, int pages) { showPdfProgress(page, pages); });
        status->finishProgress();
    }
    if (!result.written) {
        status->clearSaved();
        showSaveFailure(path);
        return false;
    }
    if (result.signing.ok())
        return true;
    // Nothing was put in place; an unsigned report must not say it is signed.
    status->clearSaved();
    if (!signing->offerUnsigned(result.signing))
        return false;
    data.signedBy.clear();
    return writeUnsignedPdf(path, data);
}

bool ReportExport::writeUnsignedPdf(const QString &path, const ReportData &data)
{
    bool written = false;
    {
        const BusyCursor busy;
        written = writePdfReportFile(path, data, true,
                                     [this](int page, int pages) { showPdfProgress(page, pages); });
        status->finishProgress();
    }
    if (!written) {
        status->clearSaved();
        showSaveFailure(path);
    }
    return written;
}

void ReportExport::showPdfProgress(int page, int pages)
{
    status->showProgress(page, pages);
    // The window repaints while the pages are written; clicks and keys wait,
    // so that nothing starts another export meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ReportExport::writeExcel(const QString &path, bool includeEmptyFields)
{
    const ReportData data =
        excelReportData(gatherSource(kExcelPlotSize, kExcelAnalysisChartSize), includeEmptyFields);
    ExcelReportResult result;
    {
        const BusyCursor busy;
        result = writeExcelReportFile(path, data);
    }
    if (!result.saved) {
        status->clearSaved();
        showSaveFailure(path);
        return;
    }
    status->showSaved(path);
    if (result.textShortened)
        QMessageBox::information(nullptr, windowText("Экспорт в Excel"),
                                 windowText("Текст длиннее 32767 знаков не помещается в ячейку Excel "
                                            "и был сокращён."));
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void ReportExport::showSaveFailure(const QString &path)
{
    QMessageBox box(QMessageBox::Warning, windowText("Ошибка"),
                    windowText("Не удалось сохранить файл.\nПожалуйста, проверьте права на запись и "
                               "не открыта ли прошлая версия файла."),
                    QMessageBox::Ok);
    // The cause found, below the general text, so the operator knows which remedy applies.
    box.setInformativeText(saveFailureCauseText(saveFailureCause(path)));
    box.exec();
}

QString ReportExport::saveFailureCauseText(SaveFailureCause cause)
{
    switch (cause) {
    case SaveFailureCause::NameTooLong:
        return tr("Причина: имя файла длиннее 255 байт.");
    case SaveFailureCause::FolderNotWritable:
        return tr("Причина: в папку нельзя записывать.");
    case SaveFailureCause::FileOpen:
        return tr("Причина: файл открыт в другой программе.");
    case SaveFailureCause::Unknown:
        break;
    }
    return QString();
}
