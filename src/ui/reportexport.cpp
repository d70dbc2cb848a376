#include "ui/reportexport.h"

#include "report/excelreport.h"
#include "report/exportpath.h"
#include "report/pdfreport.h"
#include "report/reportdata.h"
#include "report/reporttexts.h"
#include "ui/blockview.h"
#include "ui/reportstatus.h"
#include "values/memoryblock.h"
#include "values/toleranceband.h"

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
const QString kReadAtFormat = QStringLiteral("dd.MM.yyyy hh:mm:ss");
const QString kPartSeparator = QStringLiteral(" \u00B7 "); // middle dot
const QString kCreator = QStringLiteral("ZRV " ZRV_VERSION);

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
                           LogoSource logo, QWidget *dialogParent)
    : QObject(dialogParent)
    , form(form)
    , view(view)
    , status(status)
    , logo(std::move(logo))
    , dialogParent(dialogParent)
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
        showSaveFailure();
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

ReportData ReportExport::gatherData(bool includeEmptyFields, const QSize &plotSize)
{
    ReportData data;
    data.content = collectContent();
    data.includeEmptyFields = includeEmptyFields;
    data.numberHeader = windowText("Номер");

    const BlockStatistics shown = view->statistics();
    data.minimum = {form.minimum->text(), shown.minimum};
    data.maximum = {form.maximum->text(), shown.maximum};
    data.mean = {form.mean->text(), shown.mean};
    data.stdev = {form.stdev->text(), shown.stdev};

    data.logo = logo();
    if (form.withGraph->isChecked())
        data.plots.append(view->capturePlot(BlockView::Plot::Graph, plotSize));
    if (form.withDiagram->isChecked())
        data.plots.append(view->capturePlot(BlockView::Plot::Diagram, plotSize));
    addBlockAndVerdict(data);
    data.comments = form.comments->toPlainText();
    return data;
}

void ReportExport::addBlockAndVerdict(ReportData &data) const
{
    if (!view->hasBlock())
        return;
    const MemoryBlock &block = view->block();
    const QString readAt =
        block.readAt.isValid() ? block.readAt.toLocalTime().toString(kReadAtFormat) : kNoNumberText;
    data.blockLine =
        tr("Блок: %1; показаний: %2; считан: %3").arg(block.name).arg(block.values.size()).arg(readAt);

    // The band is described whenever it is on, with or without the plots.
    const ToleranceBand band = view->band();
    if (!band.on)
        return;
    data.toleranceText = reportToleranceText(windowText("Допуск: ["), band.lower, band.upper);
    data.outside = readingsOutOfBand(block.values, band);
    const VerdictTexts verdict = view->verdict();
    data.verdict = {{form.outOfBand->text(), verdict.outOfBand},
                    {form.verdict->text(), verdict.verdict},
                    {form.cp->text(), verdict.cp},
                    {form.cpk->text(), verdict.cpk}};
}

void ReportExport::addPdfTexts(ReportData &data) const
{
    QStringList header;
    if (!form.number->text().trimmed().isEmpty())
        header.append(tr("Отчет № %1").arg(form.number->text().trimmed()));
    if (view->hasBlock())
        header.append(view->block().name);
    header.append(form.date->date().toString(kDateFormat));
    data.pageHeader = header.join(kPartSeparator);
    data.pageOfPages = tr("стр. %1 из %2");
    data.documentTitle = view->hasBlock() ? data.title + kPartSeparator + view->block().name : data.title;
    data.author = form.operatorName->text();
    data.subject = form.companyName->text();
    data.creator = kCreator;
}

void ReportExport::writePdf(const QString &path, bool includeEmptyFields)
{
    ReportData data = gatherData(includeEmptyFields, kPdfPlotSize);
    data.title = windowText("Отчет о проведении контроля");
    data.statisticsHeading = windowText("Статистика");
    data.commentsHeading = windowText("Комментарии");
    data.signature = windowText("Контроль проведён____________________________________________, подпись");
    addPdfTexts(data);
    bool written = false;
    {
        const BusyCursor busy;
        written = writePdfReportFile(path, data, true,
                                     [this](int page, int pages) { showPdfProgress(page, pages); });
        status->finishProgress();
    }
    if (!written) {
        status->clearSaved();
        showSaveFailure();
        return;
    }
    status->showSaved(path);
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
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
    ReportData data = gatherData(includeEmptyFields, kExcelPlotSize);
    data.title = windowText("ОТЧЕТ О ПРОВЕДЕНИИ КОНТРОЛЯ");
    data.statisticsHeading = form.statisticsHeading->text();
    data.commentsHeading = form.commentsHeading->text();
    data.signature = windowText("Контроль проведён____________________________________, подпись");
    data.dataSheetName = tr("Данные");
    data.dataValueHeader = tr("Значение");
    data.dataInBandHeader = tr("В допуске");
    ExcelReportResult result;
    {
        const BusyCursor busy;
        result = writeExcelReportFile(path, data);
    }
    if (!result.saved) {
        status->clearSaved();
        showSaveFailure();
        return;
    }
    status->showSaved(path);
    if (result.textShortened)
        QMessageBox::information(nullptr, windowText("Экспорт в Excel"),
                                 windowText("Текст длиннее 32767 знаков не помещается в ячейку Excel "
                                            "и был сокращён."));
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void ReportExport::showSaveFailure()
{
    QMessageBox::warning(nullptr, windowText("Ошибка"),
                         windowText("Не удалось сохранить файл.\nПожалуйста, проверьте права на запись и "
                                    "не открыта ли прошлая версия файла."),
                         QMessageBox::Ok);
}
