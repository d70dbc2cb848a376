#include "mainwindow.h"

#include "excelreport.h"
#include "exportpath.h"
#include "pdfreport.h"
#include "plotcapture.h"
#include "reportdata.h"
#include "reporttexts.h"
#include "ui_mainwindow.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace {
const QString kPdfExtension = QStringLiteral("pdf");
const QString kExcelExtension = QStringLiteral("xlsx");
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
const QSize kPdfPlotSize(600, 400);
const QSize kExcelPlotSize(522, 313);
} // namespace

void MainWindow::on_button_export_to_PDF_clicked()
{
    const ExportTarget target = askExportTarget(tr("Экспорт в PDF"), kPdfExtension);
    if (!target.path.isEmpty())
        writePdfReport(target.path, target.includeEmptyFields);
}

void MainWindow::on_button_export_to_excel_clicked()
{
    const ExportTarget target = askExportTarget(tr("Экспорт в Excel"), kExcelExtension);
    if (!target.path.isEmpty())
        writeExcelReport(target.path, target.includeEmptyFields);
}

ExportTarget MainWindow::askExportTarget(const QString &caption, const QString &extension)
{
    const QString filter = QStringLiteral("(*.") + extension + QStringLiteral(")");
    const QString proposed = proposedReportPath(defaultReportFolder(), tr("Отчет"), ui->report_number->text(),
                                                QTime::currentTime(), extension);
    const QString path = QFileDialog::getSaveFileName(this, caption, proposed, filter);
    if (path.isEmpty())
        return {};
    if (isFileLocked(path)) {
        showSaveFailure();
        return {};
    }

    QMessageBox question(QMessageBox::Question, QString(), tr("Включать незаполненные поля в отчет?"),
                         QMessageBox::Yes | QMessageBox::No);
    question.button(QMessageBox::Yes)->setText(tr("Да"));
    question.button(QMessageBox::No)->setText(tr("Нет"));
    const bool includeEmpty = question.exec() == QMessageBox::Yes;
    return {path, includeEmpty};
}

ReportContent MainWindow::collectReportContent() const
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
    if (shownBlockRow >= 0 && shownBlockRow < memoryBlocks.size()) {
        const MemoryBlock &block = memoryBlocks.at(shownBlockRow);
        content.values = block.values;
        content.valueHeader = reportValueHeader(block.name);
    }
    return content;
}

ReportData MainWindow::gatherReportData(bool includeEmptyFields, const QSize &plotSize)
{
    ReportData data;
    data.content = collectReportContent();
    data.includeEmptyFields = includeEmptyFields;
    data.numberHeader = tr("Номер");

    const BlockStatistics shown = shownStatistics();
    data.minimum = {ui->min_label->text(), shown.minimum};
    data.maximum = {ui->max_label->text(), shown.maximum};
    data.mean = {ui->mean_label->text(), shown.mean};
    data.stdev = {ui->stdev_label->text(), shown.stdev};

    data.logo = logoImage;
    const bool graph = ui->report_graph_checkbox->isChecked();
    const bool diagram = ui->report_diagram_checkbox->isChecked();
    if (graph)
        data.plots.append(capturePlotForReport(ui->graph, plotSize));
    if (diagram)
        data.plots.append(capturePlotForReport(ui->diagram, plotSize));
    if (reportShowsTolerance(ui->set_limits_checkbox->isChecked(), graph, diagram))
        data.toleranceText =
            reportToleranceText(tr("Допуск: ["), ui->limits_min->value(), ui->limits_max->value());
    data.comments = ui->comments_text->toPlainText();
    return data;
}

void MainWindow::writePdfReport(const QString &path, bool includeEmptyFields)
{
    ReportData data = gatherReportData(includeEmptyFields, kPdfPlotSize);
    data.title = tr("Отчет о проведении контроля");
    data.statisticsHeading = tr("Статистика");
    data.commentsHeading = tr("Комментарии");
    data.signature = tr("Контроль проведён____________________________________________, подпись");
    if (!writePdfReportFile(path, data)) {
        showSaveFailure();
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void MainWindow::writeExcelReport(const QString &path, bool includeEmptyFields)
{
    ReportData data = gatherReportData(includeEmptyFields, kExcelPlotSize);
    data.title = tr("ОТЧЕТ О ПРОВЕДЕНИИ КОНТРОЛЯ");
    data.statisticsHeading = ui->stats_label->text();
    data.commentsHeading = ui->comments_label->text();
    data.signature = tr("Контроль проведён____________________________________, подпись");
    const ExcelReportResult result = writeExcelReportFile(path, data);
    if (!result.saved) {
        showSaveFailure();
        return;
    }
    if (result.textShortened)
        QMessageBox::information(nullptr, tr("Экспорт в Excel"),
                                 tr("Текст длиннее 32767 знаков не помещается в ячейку Excel "
                                    "и был сокращён."));
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void MainWindow::showSaveFailure()
{
    QMessageBox::warning(nullptr, tr("Ошибка"),
                         tr("Не удалось сохранить файл.\nПожалуйста, проверьте права на запись и "
                            "не открыта ли прошлая версия файла."),
                         QMessageBox::Ok);
}
