#include "mainwindow.h"

#include "ui_mainwindow.h"

void MainWindow::on_button_export_to_PDF_clicked() {}
void MainWindow::on_button_export_to_excel_clicked() {}
ExportTarget MainWindow::askExportTarget(const QString &, const QString &) { return {}; }
ReportContent MainWindow::collectReportContent() const { return {}; }
void MainWindow::writePdfReport(const QString &, bool) {}
void MainWindow::writeExcelReport(const QString &, bool) {}
