#pragma once

#include <QObject>
#include <QPointer>

class BlockView;
class HistoryService;
class ProcessAnalysisDialog;
class QAction;
class QWidget;

// The process analysis in the window: its action opens the analysis window
// (made on first use, not modal) for the block on show; while that window
// is open it follows each block shown and each change of the band.
class ProcessAnalysisPanel : public QObject
{
    Q_OBJECT

public:
    // `window`: the analysis window's parent; `history`: the stored reads for its trend.
    ProcessAnalysisPanel(BlockView *view, HistoryService *history, QAction *action, QWidget *window);

    // The analysis window, once it was opened.
    ProcessAnalysisDialog *dialog() const;
    void open();

private:
    // The shown block into the open window; a hidden one catches up when opened.
    void follow();

    BlockView *view = nullptr;
    HistoryService *history = nullptr;
    QWidget *window = nullptr;
    QPointer<ProcessAnalysisDialog> analysis;
};
