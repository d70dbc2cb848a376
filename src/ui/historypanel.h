#pragma once

#include "device/blockreader.h"
#include "history/historysettings.h"
#include "values/memoryblock.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QVector>

class HistoryDialog;
class HistoryService;
class QAction;
class QLabel;
class QStatusBar;
class QWidget;
struct HistoryError;

// The history in the window: its worker (through HistoryService), the history
// window, the status label "history_status_label", the storage choice. The
// window tells it when a read starts and ends, and what it made of a read
// opened from the history; it tells the window which read to show.
class HistoryPanel : public QObject
{
    Q_OBJECT

public:
    // `window`: the parent of the dialogs and message boxes; the label goes into `statusBar`.
    HistoryPanel(QWidget *window, QStatusBar *statusBar, QAction *historyAction, QAction *storageAction);
    ~HistoryPanel() override;

    HistoryService *service() const { return history; }
    // The history window, once it was shown.
    HistoryDialog *dialog() const;
    QString statusText() const;

    // The program ends: the worker stops (HistoryService::kStopWait at most);
    // reads still unsaved are said with where they are kept, in a message box
    // too when `inBox` (the operator closed the window). Their number.
    int finish(bool inBox = false);

public slots:
    // Remembers when the read started; the list no longer shows a read from the history.
    void readStarting(const QString &portName);
    // Stores the read, unless there was no block count (blockCount < 0).
    void readEnded(BlockReader::Outcome outcome, int blockCount, const QVector<MemoryBlock> &blocks);
    // The window could not show a read from the history: its instrument is being read.
    void tellReadInProgress();
    // The window shows the read from the history that started at `startedAt`.
    void tellOpened(const QDateTime &startedAt);
    void showHistory();
    void chooseStorage();

signals:
    // "Открыть" in the history window: the blocks to show as a fresh read's.
    void readOpened(const QVector<MemoryBlock> &blocks, const QDateTime &startedAt);

private:
    void watchWorker();
    void switchHistory(const HistorySettings &settings);
    void showMessage(const QString &text);
    // In the status area and in a message box that does not stop the window.
    void warn(const QString &text, const QString &detail);

    QWidget *window = nullptr;
    QAction *storageAction = nullptr;
    HistoryService *history = nullptr;
    QPointer<HistoryDialog> historyDialog;
    QPointer<QLabel> status; // the status bar owns it and may go first
    QDateTime readStartedAt;
    QString readPort;
    bool listFromHistory = false;
};
