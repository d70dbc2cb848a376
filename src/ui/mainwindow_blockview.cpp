#include "ui/mainwindow.h"

#include "ui/blocklist.h"
#include "ui/blockview.h"
#include "ui/reportexport.h"
#include "ui/reportlogo.h"
#include "ui_mainwindow.h"

#include <QDebug>

void MainWindow::update_graph_limits(QCPRange newRange)
{
    viewPanel->showValueRange(newRange);
}

void MainWindow::on_set_limits_checkbox_stateChanged(int)
{
    qDebug() << static_cast<const void *>(ui->block_names_list->item(blocksPanel->shownRow()));
    viewPanel->bandToggled();
}

void MainWindow::on_graphs_limits_min_editingFinished()
{
    viewPanel->rangeLowerEdited();
}

void MainWindow::on_graphs_limits_max_editingFinished()
{
    viewPanel->rangeUpperEdited();
}

void MainWindow::on_limits_min_editingFinished()
{
    viewPanel->bandEdited();
}

void MainWindow::on_limits_max_editingFinished()
{
    viewPanel->bandEdited();
}

void MainWindow::on_button_export_to_PDF_clicked()
{
    exportPanel->exportPdf();
}

void MainWindow::on_button_export_to_excel_clicked()
{
    exportPanel->exportExcel();
}

void MainWindow::on_logo_action_clicked()
{
    logoPanel->addOrRemove();
}
