#include "mainwindow.h"

#include "ui_mainwindow.h"

void MainWindow::on_block_names_list_itemDoubleClicked(QListWidgetItem *) {}
void MainWindow::showBlock(int) {}
void MainWindow::updateStatistics() {}
void MainWindow::updateLimitLines() {}
void MainWindow::markOutOfLimitValues() {}
void MainWindow::drawBlockPlots(QListWidgetItem *) {}
void MainWindow::drawBlockPlotsForRow(int) {}
void MainWindow::update_graph_limits(QCPRange) {}
void MainWindow::on_set_limits_checkbox_stateChanged(int) {}
void MainWindow::on_graphs_limits_min_editingFinished() {}
void MainWindow::on_graphs_limits_max_editingFinished() {}
void MainWindow::on_limits_min_editingFinished() {}
void MainWindow::on_limits_max_editingFinished() {}

BlockStatistics MainWindow::shownStatistics() const
{
    return {ui->min_box->value(), ui->max_box->value(), ui->mean_box->value(), ui->stdev_box->value()};
}
