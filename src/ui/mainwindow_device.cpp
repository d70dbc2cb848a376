#include "ui/mainwindow.h"

#include "device/blockreader.h"
#include "ui/blockfaulttext.h"
#include "ui/historypanel.h"
#include "ui/linkstatusbar.h"
#include "ui_mainwindow.h"

void MainWindow::validPortFound()
{
    // A read in progress decides the button itself when it ends.
    if (!blockReader->isRunning())
        ui->button_read_data->setEnabled(true);
}

void MainWindow::validPortDisconnected()
{
    ui->button_read_data->setEnabled(false);
}

void MainWindow::on_button_read_data_clicked()
{
    if (blockReader->isRunning())
        return;

    ui->button_read_data->setEnabled(false);
    ui->button_export_to_PDF->setEnabled(false);
    ui->button_export_to_excel->setEnabled(false);
    // No block can be picked while the store is being rebuilt.
    ui->block_names_list->setEnabled(false);
    ui->block_names_list->setCursor(Qt::BusyCursor);
    linkStatus->readStarted();

    historyPanel->readStarting(port.instrumentPortName());
    const BlockReader::Outcome outcome = blockReader->read();

    // Without a count there is no block list; the status line says so.
    if (blockReader->blockCount() < 0) {
        memoryBlocks.clear();
        ui->block_names_list->clear();
    }
    int faulty = 0;
    for (const MemoryBlock &block : qAsConst(memoryBlocks))
        faulty += block.fault != BlockFault::None ? 1 : 0;
    ui->block_names_list->unsetCursor();
    ui->block_names_list->setEnabled(true);
    linkStatus->readEnded(outcome, blockReader->blocksRead(), blockReader->blockCount(), faulty);

    // The instrument may have been lost during the read.
    ui->button_read_data->setEnabled(port.isInstrumentConnected());
    historyPanel->readEnded(outcome, blockReader->blockCount(), blockReader->blocks());
}

void MainWindow::openFromHistory(const QVector<MemoryBlock> &blocks, const QDateTime &startedAt)
{
    if (blockReader->isRunning()) {
        historyPanel->tellReadInProgress();
        return;
    }
    // As at the end of a read: a new list, no block shown for export yet.
    ui->button_export_to_PDF->setEnabled(false);
    ui->button_export_to_excel->setEnabled(false);
    memoryBlocks.clear();
    ui->block_names_list->clear();
    for (const MemoryBlock &block : blocks)
        appendBlockRow(block);
    ui->block_names_list->setEnabled(true);
    historyPanel->tellOpened(startedAt);
}

void MainWindow::startBlockList(int count)
{
    memoryBlocks.clear();
    ui->block_names_list->clear();
    linkStatus->readProgress(0, count);
}

void MainWindow::listBlock(int done, int count, const MemoryBlock &block)
{
    appendBlockRow(block);
    linkStatus->readProgress(done, count);
}

void MainWindow::appendBlockRow(const MemoryBlock &block)
{
    memoryBlocks.append(block);
    auto *item = new QListWidgetItem(block.name, ui->block_names_list);
    BlockFaultText::markRow(item, block);
}

// The rows' tooltips are in the language of the moment.
void MainWindow::markFailedBlocks()
{
    for (int row = 0; row < ui->block_names_list->count() && row < memoryBlocks.size(); ++row)
        BlockFaultText::markRow(ui->block_names_list->item(row), memoryBlocks.at(row));
}

void MainWindow::on_action_search_again_triggered()
{
    port.searchAgain();
}
