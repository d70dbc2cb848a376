#include "ui/mainwindow.h"

#include "history/activehistory.h"
#include "history/historyrecorder.h"
#include "history/historysettings.h"
#include "settings/settingsfile.h"
#include "ui/historydialog.h"
#include "ui/historystoragedialog.h"
#include "ui/historytexts.h"
#include "ui_mainwindow.h"

#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>

void MainWindow::setUpHistory()
{
    historyStatus = new QLabel(this);
    historyStatus->setObjectName(QStringLiteral("history_status_label"));
    historyStatus->hide();
    statusBar()->addWidget(historyStatus);

    // The history lives beside config.json.
    const QString folder = configFolder();
    history = new ActiveHistory(folder, loadHistorySettings(folder), this);
    watchHistory(history->recorder());
    connect(ui->action_history, &QAction::triggered, this, &MainWindow::showHistory);
    connect(ui->action_history_storage, &QAction::triggered, this, &MainWindow::chooseHistoryStorage);
}

void MainWindow::watchHistory(HistoryRecorder *recorder)
{
    connect(recorder, &HistoryRecorder::storeFailed, this, [this](const HistoryError &error, bool server) {
        warnAboutHistory(HistoryTexts::failure(error, server), error.text);
    });
    connect(recorder, &HistoryRecorder::keptLocally, this,
            [this](int waiting) { showHistoryMessage(HistoryTexts::keptLocally(waiting)); });
    connect(recorder, &HistoryRecorder::sentToServer, this,
            [this](int count) { showHistoryMessage(HistoryTexts::sentToServer(count)); });
    connect(recorder, &HistoryRecorder::storedAfterFailure, this,
            [this](int count) { showHistoryMessage(HistoryTexts::storedAfterFailure(count)); });
    connect(recorder, &HistoryRecorder::corruptFileKept, this, [this](const QString &path) {
        warnAboutHistory(HistoryTexts::corruptFileKept(path), QString());
    });
}

void MainWindow::chooseHistoryStorage()
{
    HistoryStorageDialog dialog(history->folder(), history->settings(), this);
    if (dialog.exec() == QDialog::Accepted)
        switchHistory(dialog.chosenSettings());
}

void MainWindow::switchHistory(const HistorySettings &settings)
{
    // The history window reads through the old recorder: it goes with it and
    // opens again on the new store.
    const bool reopen = historyDialog && historyDialog->isVisible();
    delete historyDialog;
    historyDialog = nullptr;
    history->switchTo(settings);
    watchHistory(history->recorder());
    showHistoryMessage(HistoryTexts::storeInUse(settings, history->folder()));
    if (reopen)
        showHistory();
}

ReadRecord MainWindow::startReadRecord()
{
    // The list is about to show the instrument's blocks again.
    if (listFromHistory)
        showHistoryMessage(QString());
    listFromHistory = false;
    ReadRecord read;
    read.startedAt = QDateTime::currentDateTimeUtc();
    read.portName = port.instrumentPortName();
    return read;
}

void MainWindow::recordRead(ReadRecord read, BlockReader::Outcome outcome)
{
    // Without a count nothing was listed: there is no read to keep.
    if (blockReader->blockCount() < 0)
        return;
    read.blockCount = blockReader->blockCount();
    read.outcome = outcome == BlockReader::Outcome::Cancelled        ? ReadOutcome::Cancelled
                   : outcome == BlockReader::Outcome::InstrumentLost ? ReadOutcome::InstrumentLost
                                                                     : ReadOutcome::Complete;
    read.blocks = blockReader->blocks();
    history->recorder()->recordRead(read);
}

void MainWindow::showHistory()
{
    if (!historyDialog) {
        historyDialog = new HistoryDialog(history->recorder(), this);
        connect(historyDialog, &HistoryDialog::readOpened, this, &MainWindow::openFromHistory);
    }
    historyDialog->refresh();
    historyDialog->show();
    historyDialog->raise();
    historyDialog->activateWindow();
}

void MainWindow::openFromHistory(const QVector<MemoryBlock> &blocks, const QDateTime &startedAt)
{
    if (blockReader->isRunning()) {
        showHistoryMessage(HistoryTexts::readInProgress());
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
    showHistoryMessage(HistoryTexts::openedFromHistory(startedAt));
    listFromHistory = true;
}

void MainWindow::showHistoryMessage(const QString &text)
{
    historyStatus->setText(text);
    historyStatus->setVisible(!text.isEmpty());
}

void MainWindow::warnAboutHistory(const QString &text, const QString &detail)
{
    showHistoryMessage(text);
    // Not modal: the read goes on and shows; the message stays until it is read.
    auto *box = new QMessageBox(QMessageBox::Warning, HistoryTexts::title(), text, QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("history_warning"));
    if (!detail.isEmpty())
        box->setDetailedText(detail);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}
