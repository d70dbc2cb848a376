#include "ui/reportexport.h"

#include "report/excelreport.h"
#include "report/exportpath.h"
#include "report/pdfreport.h"
#include "report/reportdata.h"
#include "report/reporttexts.h"
#include "ui/blockview.h"
#include "ui/reportstatus.h"
#include "ui_mainwindow.h"
#include "values/memoryblock.h"
#include "values/toleranceband.h"

#include <QDesktopServices>
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

ReportData ReportExport::gatherData(bool includeEmptyFields, const QSize &plotSize)
{
    ReportData data;
    data.content = collectContent();
    data.includeEmptyFields = includeEmptyFields;
    data.numberHeader = windowText("Номер");

    const BlockStatistics shown = view->statistics();
    data.minimum = {ui->min_label->text(), shown.minimum};
    data.maximum = {ui->max_label->text(), shown.maximum};
    data.mean = {ui->mean_label->text(), shown.mean};
    data.stdev = {ui->stdev_label->text(), shown.stdev};

    data.logo = logo();
    if (ui->report_graph_checkbox->isChecked())
        data.plots.append(view->capturePlot(BlockView::Plot::Graph, plotSize));
    if (ui->report_diagram_checkbox->isChecked())
        data.plots.append(view->capturePlot(BlockView::Plot::Diagram, plotSize));
    addBlockAndVerdict(data);
    data.comments = ui->comments_text->toPlainText();
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
    data.verdict = {{ui->out_of_band_label->text(), verdict.outOfBand},
                    {ui->verdict_label->text(), verdict.verdict},
                    {ui->cp_label->text(), verdict.cp},
                    {ui->cpk_label->text(), verdict.cpk}};
}

void ReportExport::addPdfTexts(ReportData &data) const
{
    QStringList header;
    if (!ui->report_number->text().trimmed().isEmpty())
        header.append(tr("Отчет № %1").arg(ui->report_number->text().trimmed()));
    if (view->hasBlock())
        header.append(view->block().name);
    header.append(ui->report_date_edit->date().toString(kDateFormat));
    data.pageHeader = header.join(kPartSeparator);
    data.pageOfPages = tr("стр. %1 из %2");
    data.documentTitle = view->hasBlock() ? data.title + kPartSeparator + view->block().name : data.title;
    data.author = ui->report_operator->text();
    data.subject = ui->company_name->text();
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
    ReportData data = gatherData(includeEmptyFields, kExcelPlotSize);
    data.title = windowText("ОТЧЕТ О ПРОВЕДЕНИИ КОНТРОЛЯ");
    data.statisticsHeading = ui->stats_label->text();
    data.commentsHeading = ui->comments_label->text();
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
