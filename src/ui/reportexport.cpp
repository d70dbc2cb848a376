#include "ui/reportexport.h"

#include "report/excelreport.h"
#include "report/exportpath.h"
#include "report/pdfreport.h"
#include "report/reportassembly.h"
#include "report/reportdata.h"
#include "report/reporttexts.h"
#include "report/savefailure.h"
#include "ui/blockview.h"
#include "ui/reportstatus.h"
#include "ui_mainwindow.h"
#include "values/memoryblock.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace {
const QString kPdfExtension = QStringLiteral("pdf");
const QString kExcelExtension = QStringLiteral("xlsx");
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
const QSize kPdfPlotSize(600, 400);
const QSize kExcelPlotSize(522, 313);

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

ReportExport::ReportExport(const Ui::MainWindow *form, BlockView *view, ReportStatus *status, LogoSource logo,
                           QWidget *dialogParent)
    : QObject(dialogParent)
    , ui(form)
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
                                                ui->report_number->text(), QTime::currentTime(), extension);
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
    struct Row
    {
        const QLabel *section;
        const QLabel *label;
        QString value;
    };
    const Row rows[] = {
        {ui->company_data_label, ui->company_name_label, ui->company_name->text()},
        {ui->company_data_label, ui->company_city_label, ui->company_city->text()},
        {ui->company_data_label, ui->company_address_label, ui->company_address->text()},
        {ui->company_data_label, ui->company_phone_label, ui->company_phone->text()},
        {ui->company_data_label, ui->company_website_label, ui->company_website->text()},
        {ui->report_data_label, ui->report_number_label, ui->report_number->text()},
        {ui->report_data_label, ui->report_date_edit_label,
         ui->report_date_edit->date().toString(kDateFormat)},
        {ui->report_data_label, ui->report_operator_label, ui->report_operator->text()},
        {ui->report_data_label, ui->report_detail_name_label, ui->report_detail_name->text()},
        {ui->report_data_label, ui->report_material_label, ui->report_material->text()},
        {ui->report_data_label, ui->report_batch_number_label, ui->report_batch_number->text()},
        {ui->device_data_label, ui->device_name_label, ui->device_name->text()},
        {ui->device_data_label, ui->device_type_label, ui->device_type->text()},
        {ui->device_data_label, ui->device_number_label, ui->device_number->text()},
        {ui->device_data_label, ui->device_document_number_label, ui->device_document_number->text()},
    };

    ReportContent content;
    for (const Row &row : rows)
        content.fields.append({row.label->text(), row.value, row.section->text()});
    // The block whose statistics and plots are shown, not the list's current row.
    if (view->hasBlock()) {
        const MemoryBlock &block = view->block();
        content.values = block.values;
        content.valueHeader = reportValueHeader(block.name);
    }
    return content;
}

ReportSource ReportExport::gatherSource(const QSize &plotSize)
{
    ReportSource source;
    source.content = collectContent();
    source.hasBlock = view->hasBlock();
    if (source.hasBlock)
        source.block = view->block();
    source.statistics = view->exactStatistics();
    source.band = view->band();
    source.captions = {ui->min_label->text(),     ui->max_label->text(),         ui->mean_label->text(),
                       ui->stdev_label->text(),   ui->out_of_band_label->text(), ui->verdict_label->text(),
                       ui->cp_label->text(),      ui->cpk_label->text(),         ui->stats_label->text(),
                       ui->comments_label->text()};
    source.logo = logo();
    if (ui->report_graph_checkbox->isChecked())
        source.plots.append(view->capturePlot(BlockView::Plot::Graph, plotSize));
    if (ui->report_diagram_checkbox->isChecked())
        source.plots.append(view->capturePlot(BlockView::Plot::Diagram, plotSize));
    source.comments = ui->comments_text->toPlainText();
    source.reportNumber = ui->report_number->text();
    source.reportDate = ui->report_date_edit->date();
    source.operatorName = ui->report_operator->text();
    source.companyName = ui->company_name->text();
    return source;
}

void ReportExport::writePdf(const QString &path, bool includeEmptyFields)
{
    const ReportData data = pdfReportData(gatherSource(kPdfPlotSize), includeEmptyFields);
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
    const ReportData data = excelReportData(gatherSource(kExcelPlotSize), includeEmptyFields);
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
    QString text;
    switch (saveFailureCause(path)) {
    case SaveFailure::NameTooLong:
        text = windowText("Не удалось сохранить файл: имя файла слишком длинное.\n"
                          "Сократите имя файла или номер отчета.");
        break;
    case SaveFailure::FolderNotWritable:
        text = windowText("Не удалось сохранить файл: папка недоступна для записи.\n%1")
                   .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath()));
        break;
    case SaveFailure::FileLocked:
        text = windowText("Не удалось сохранить файл: он открыт в другой программе или защищен от "
                          "записи.\n%1")
                   .arg(QDir::toNativeSeparators(path));
        break;
    case SaveFailure::Other:
        text = windowText("Не удалось сохранить файл.\nПожалуйста, проверьте права на запись и "
                          "не открыта ли прошлая версия файла.");
        break;
    }
    QMessageBox::warning(nullptr, windowText("Ошибка"), text, QMessageBox::Ok);
}
