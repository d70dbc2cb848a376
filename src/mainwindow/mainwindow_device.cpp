#include "mainwindow.h"

#include "ui_mainwindow.h"

void MainWindow::validPortFound()
{
    ui->button_read_data->setEnabled(true);
}

void MainWindow::validPortDisconnected()
{
    ui->button_read_data->setEnabled(false);
}

void MainWindow::on_button_read_data_clicked()
{
}
