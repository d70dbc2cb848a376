#pragma once

#include "history/historyfailure.h"
#include "history/readrecord.h"

#include <QDialog>
#include <QTimer>
#include <QVector>

class HistoryService;
class QStandardItemModel;
class ReadListModel;

namespace Ui {
class HistoryDialog;
}

// The measurement history: the stored reads, newest first, filtered by block
// name and date; the blocks of the selected read; opening a read in the
// window, deleting reads and exporting values as CSV.
class HistoryDialog : public QDialog
{
    Q_OBJECT
    // Tests reach the form's widgets through this one class.
    friend class HistoryDialogTester;

public:
    explicit HistoryDialog(HistoryService *service, QWidget *parent = nullptr);
    ~HistoryDialog() override;

    // Lists the reads again (a new read was stored, or the dialog is shown).
    void refresh();
    // A question to the history is out and its answer not in yet.
    bool isBusy() const;

signals:
    // "Открыть": the read's blocks, to be shown as a fresh read would be.
    void readOpened(const QVector<MemoryBlock> &blocks, const QDateTime &startedAt);

protected:
    void changeEvent(QEvent *event) override;

private:
    void setBlockHeaders();
    void applyFilter();
    void selectionChanged();
    void showBlocksOfCurrent();
    void fillBlockRows();
    void openCurrent();
    void deleteSelected();
    void exportCsv();
    void showFailure(const HistoryError &error);
    int currentRow() const;
    QVector<qint64> selectedReadIds() const;
    // Asks for the current read whole; `forCsv`: to export it, else to open it.
    void loadCurrent(bool forCsv);
    void readLoaded(quint64 request, const ReadRecord &read, const HistoryError &error);
    void writeCsv(const ReadRecord &read);
    void showWaiting(quint64 request, const QVector<ReadRecord> &unsaved, const QVector<StoredRead> &waiting,
                     const HistoryError &error);
    void updateBusy();

    Ui::HistoryDialog *ui = nullptr;
    HistoryService *service = nullptr;
    // The answers awaited; 0: none. A late answer to an older question is dropped.
    quint64 blocksAsked = 0;
    quint64 loadAsked = 0;
    bool loadForCsv = false;
    quint64 deleteAsked = 0;
    quint64 waitingAsked = 0;
    ReadListModel *reads = nullptr;
    QStandardItemModel *blocks = nullptr;
    // The selected read's blocks as the store gave them.
    QVector<StoredBlock> shownBlocks;
    QTimer refreshSoon;
};
