#include "ui/mainwindow.h"

#include "history/activehistory.h"
#include "history/readrecord.h"
#include "ui/blocklist.h"
#include "ui/blockview.h"
#include "ui/linkstatusbar.h"
#include "ui_mainwindow.h"

#include <algorithm>

void MainWindow::wireBlockList()
{
    blocksPanel = new BlockList(port, ui->block_names_list, this);
    blockReader = &blocksPanel->reader();
    connect(linkStatus, &LinkStatusBar::cancelRequested, blocksPanel, &BlockList::cancel);
    connect(blocksPanel, &BlockList::readProgress, linkStatus, &LinkStatusBar::readProgress);
    connect(blocksPanel, &BlockList::listReplaced, viewPanel, &BlockView::clearBlock);
    connect(blocksPanel, &BlockList::blockChosen, this, [this](const MemoryBlock &block, int row) {
        viewPanel->showBlock(block);
        linkStatus->blockPicked(block, row);
    });
    connect(blocksPanel, &BlockList::readStarting, this, [this] {
        ui->button_read_data->setEnabled(false);
        enableExport(false);
        linkStatus->readStarted();
        readRecord = std::make_unique<ReadRecord>(startReadRecord());
        // The store's connection check and switch would hold up the read's waits.
        ui->action_history_storage->setEnabled(false);
        history->holdStores(true);
    });
    connect(blocksPanel, &BlockList::readEnded, this,
            [this](BlockReader::Outcome outcome, int count, const QVector<MemoryBlock> &blocks) {
                history->holdStores(false);
                ui->action_history_storage->setEnabled(true);
                const auto faulty = std::count_if(blocks.cbegin(), blocks.cend(), [](const MemoryBlock &block) {
                    return block.fault != BlockFault::None;
                });
                linkStatus->readEnded(outcome, blocksPanel->reader().blocksRead(), count, int(faulty));
                // The instrument may have been lost during the read.
                ui->button_read_data->setEnabled(port.isInstrumentConnected());
                recordRead(*readRecord, outcome);
            });
}

void MainWindow::appendBlockRow(const MemoryBlock &block)
{
    memoryBlocks.append(block);
    blocksPanel->showRead(memoryBlocks);
}

void MainWindow::validPortFound()
{
    // A read in progress decides the button itself when it ends.
    if (!blocksPanel->isReading())
        ui->button_read_data->setEnabled(true);
}

void MainWindow::validPortDisconnected()
{
    ui->button_read_data->setEnabled(false);
}

void MainWindow::on_button_read_data_clicked()
{
    blocksPanel->read();
}

void MainWindow::on_block_names_list_itemDoubleClicked(QListWidgetItem *item)
{
    blocksPanel->showBlock(ui->block_names_list->row(item));
}

void MainWindow::on_action_search_again_triggered()
{
    port.searchAgain();
}

void MainWindow::enableExport(bool hasValues)
{
    ui->button_export_to_PDF->setEnabled(hasValues);
    ui->button_export_to_excel->setEnabled(hasValues);
}
