#include "ui/mainwindow.h"

#include "device/blockname.h"
#include "history/readrecord.h"
#include "ui_mainwindow.h"

void MainWindow::validPortFound()
{
    // A read in progress decides the button itself when it ends.
    if (!readInProgress)
        ui->button_read_data->setEnabled(true);
}

void MainWindow::validPortDisconnected()
{
    ui->button_read_data->setEnabled(false);
}

void MainWindow::on_button_read_data_clicked()
{
    if (readInProgress)
        return;
    readInProgress = true;
    const ReadRecord record = startReadRecord();

    ui->button_read_data->setEnabled(false);
    ui->button_export_to_PDF->setEnabled(false);
    ui->button_export_to_excel->setEnabled(false);
    // No block can be picked while the store is being rebuilt.
    ui->block_names_list->setEnabled(false);

    const int count = port.getBlocksAmount();
    memoryBlocks.clear();
    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<unsigned>(i);
        const QByteArray rawName = port.getBlockName(index);
        MemoryBlock block;
        block.name = decodeBlockName(rawName);
        block.values = port.getBlockData(index);
        memoryBlocks.append(block);
    }

    ui->block_names_list->clear();
    for (const MemoryBlock &block : qAsConst(memoryBlocks))
        ui->block_names_list->addItem(block.name);
    ui->block_names_list->setEnabled(true);

    // The instrument may have been lost during the read.
    ui->button_read_data->setEnabled(port.isInstrumentConnected());
    readInProgress = false;
    recordRead(record, count);
}
