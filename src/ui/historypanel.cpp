#include "ui/historypanel.h"

#include "history/historyservice.h"
#include "history/historyworker.h"
#include "settings/settingsfile.h"
#include "ui/historydialog.h"
#include "ui/historystoragedialog.h"
#include "ui/historytexts.h"
#include "ui/labelelision.h"

#include <QAction>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
#include <QWidget>

HistoryPanel::HistoryPanel(QWidget *window, QStatusBar *statusBar, QAction *historyAction,
                           QAction *storageAction)
    : QObject(window)
    , window(window)
    , storageAction(storageAction)
{
    status = new QLabel(window);
    status->setObjectName(QStringLiteral("history_status_label"));
    status->hide();
    // A long server message is cut short, never the window widened.
    elideLabel(status);
    statusBar->addWidget(status);

    // The history lives beside config.json.
    const QString folder = configFolder();
    history = new HistoryService(folder, loadHistorySettings(folder), this);
    watchWorker();
    connect(historyAction, &QAction::triggered, this, &HistoryPanel::showHistory);
    connect(storageAction, &QAction::triggered, this, &HistoryPanel::chooseStorage);
}

HistoryPanel::~HistoryPanel()
{
    finish();
}

HistoryDialog *HistoryPanel::dialog() const
{
    return historyDialog;
}

QString HistoryPanel::statusText() const
{
    return status && status->isVisibleTo(window) ? status->text() : QString();
}

void HistoryPanel::watchWorker()
{
    HistoryWorker *worker = history->worker();
    connect(worker, &HistoryWorker::storeFailed, this, [this](const HistoryError &error, bool server) {
        if (error.failure == HistoryFailure::Newer)
            warn(HistoryTexts::newerStore(history->spoolFolder()), error.text);
        else
            warn(HistoryTexts::failure(error, server), error.text);
    });
    connect(worker, &HistoryWorker::keptLocally, this,
            [this](int waiting) { showMessage(HistoryTexts::keptLocally(waiting)); });
    connect(worker, &HistoryWorker::sentToServer, this,
            [this](int count) { showMessage(HistoryTexts::sentToServer(count)); });
    connect(worker, &HistoryWorker::storedAfterFailure, this,
            [this](int count) { showMessage(HistoryTexts::storedAfterFailure(count)); });
    connect(worker, &HistoryWorker::corruptFileKept, this, [this](const QString &path, int recovered) {
        warn(HistoryTexts::corruptFileKept(path, recovered), QString());
    });
    connect(worker, &HistoryWorker::readSetAside, this,
            [this](const QString &refusal) { warn(HistoryTexts::setAside(refusal), refusal); });
}

void HistoryPanel::chooseStorage()
{
    HistoryStorageDialog dialog(history->folder(), history->settings(), history, window);
    if (dialog.exec() == QDialog::Accepted)
        switchHistory(dialog.chosenSettings());
}

void HistoryPanel::switchHistory(const HistorySettings &settings)
{
    // The history window shows the old store: it opens again on the new one.
    const bool reopen = historyDialog && historyDialog->isVisible();
    delete historyDialog;
    history->switchTo(settings);
    showMessage(HistoryTexts::storeInUse(settings, history->folder()));
    if (reopen)
        showHistory();
}

void HistoryPanel::readStarting(const QString &portName)
{
    // The list is about to show the instrument's blocks again.
    if (listFromHistory)
        showMessage(QString());
    listFromHistory = false;
    readStartedAt = QDateTime::currentDateTimeUtc();
    readPort = portName;
    // Kept from before the store had a thread of its own: no switch in the middle of a read.
    storageAction->setEnabled(false);
}

void HistoryPanel::readEnded(BlockReader::Outcome outcome, int blockCount, const QVector<MemoryBlock> &blocks)
{
    storageAction->setEnabled(true);
    // Without a count nothing was listed: there is no read to keep.
    if (blockCount < 0)
        return;
    ReadRecord read;
    read.startedAt = readStartedAt.isValid() ? readStartedAt : QDateTime::currentDateTimeUtc();
    read.portName = readPort;
    read.blockCount = blockCount;
    read.outcome = outcome == BlockReader::Outcome::Cancelled        ? ReadOutcome::Cancelled
                   : outcome == BlockReader::Outcome::InstrumentLost ? ReadOutcome::InstrumentLost
                                                                     : ReadOutcome::Complete;
    read.blocks = blocks;
    history->recordRead(read);
}

void HistoryPanel::showHistory()
{
    if (!historyDialog) {
        historyDialog = new HistoryDialog(history, window);
        connect(historyDialog, &HistoryDialog::readOpened, this, &HistoryPanel::readOpened);
    }
    historyDialog->refresh();
    historyDialog->show();
    historyDialog->raise();
    historyDialog->activateWindow();
}

void HistoryPanel::tellReadInProgress()
{
    showMessage(HistoryTexts::readInProgress());
}

void HistoryPanel::tellOpened(const QDateTime &startedAt)
{
    showMessage(HistoryTexts::openedFromHistory(startedAt));
    listFromHistory = true;
}

int HistoryPanel::finish(bool inBox)
{
    if (history->finished())
        return history->finish();
    const int left = history->finish();
    if (left > 0) {
        const QString text = HistoryTexts::unsavedAtExit(left, history->spoolFolder());
        showMessage(text);
        qWarning("%s", qPrintable(text));
        if (inBox)
            QMessageBox::information(window, HistoryTexts::title(), text);
    }
    return left;
}

void HistoryPanel::showMessage(const QString &text)
{
    if (!status)
        return;
    status->setText(text);
    status->setVisible(!text.isEmpty());
}

void HistoryPanel::warn(const QString &text, const QString &detail)
{
    showMessage(text);
    // Not modal: the read goes on and shows; the message stays until it is read.
    auto *box = new QMessageBox(QMessageBox::Warning, HistoryTexts::title(), text, QMessageBox::Ok, window);
    box->setObjectName(QStringLiteral("history_warning"));
    if (!detail.isEmpty())
        box->setDetailedText(detail);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}
