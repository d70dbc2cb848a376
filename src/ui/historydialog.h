#pragma once

#include "history/historyfailure.h"
#include "history/readrecord.h"

#include <QDialog>
#include <QTimer>
#include <QVector>

class HistoryConnection;
class HistoryRecorder;
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
    explicit HistoryDialog(HistoryRecorder *recorder, QWidget *parent = nullptr);
    ~HistoryDialog() override;

    // Lists the reads again (a new read was stored, or the dialog is shown).
    void refresh();

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
    // The store could not be opened (null) or failed what it was asked.
    void showStoreFailure(HistoryConnection *connection);
    int currentRow() const;
    QVector<qint64> selectedReadIds() const;
    bool loadCurrent(ReadRecord *read);

    Ui::HistoryDialog *ui = nullptr;
    HistoryRecorder *recorder = nullptr;
    ReadListModel *reads = nullptr;
    QStandardItemModel *blocks = nullptr;
    // The selected read's blocks as the store gave them.
    QVector<StoredBlock> shownBlocks;
    QTimer refreshSoon;
};
