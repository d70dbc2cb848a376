#include "ui/mainwindow.h"

#include "ui/blockview.h"
#include "ui/linkstatusbar.h"
#include "ui/reportexport.h"
#include "ui_mainwindow.h"

#include <QDebug>

void MainWindow::on_block_names_list_itemDoubleClicked(QListWidgetItem *item)
{
    showBlock(ui->block_names_list->row(item));
}

void MainWindow::showBlock(int row)
{
    if (row < 0 || row >= memoryBlocks.size())
        return;
    shownBlockRow = row;
    blockView->showBlock(memoryBlocks.at(row));
    linkStatus->blockPicked(memoryBlocks.at(row), row);
}

void MainWindow::enableExport(bool hasValues)
{
    ui->button_export_to_PDF->setEnabled(hasValues);
    ui->button_export_to_excel->setEnabled(hasValues);
}

void MainWindow::update_graph_limits(QCPRange newRange)
{
    blockView->showValueRange(newRange);
}

void MainWindow::on_set_limits_checkbox_stateChanged(int)
{
    qDebug() << static_cast<const void *>(ui->block_names_list->item(shownBlockRow));
    blockView->bandToggled();
}

void MainWindow::on_graphs_limits_min_editingFinished()
{
    blockView->rangeLowerEdited();
}

void MainWindow::on_graphs_limits_max_editingFinished()
{
    blockView->rangeUpperEdited();
}

void MainWindow::on_limits_min_editingFinished()
{
    blockView->bandEdited();
}

void MainWindow::on_limits_max_editingFinished()
{
    blockView->bandEdited();
}

void MainWindow::on_button_export_to_PDF_clicked()
{
    reportExport->exportPdf();
}

void MainWindow::on_button_export_to_excel_clicked()
{
    reportExport->exportExcel();
}
