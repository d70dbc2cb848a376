#include "ui/processanalysispanel.h"

#include "ui/blockview.h"
#include "ui/processanalysisdialog.h"

#include <QAction>

ProcessAnalysisPanel::ProcessAnalysisPanel(BlockView *view, HistoryService *history, QAction *action,
                                           QWidget *window)
    : QObject(window)
    , view(view)
    , history(history)
    , window(window)
{
    connect(action, &QAction::triggered, this, &ProcessAnalysisPanel::open);
    connect(view, &BlockView::blockShown, this, &ProcessAnalysisPanel::follow);
    connect(view, &BlockView::bandChanged, this, &ProcessAnalysisPanel::follow);
}

ProcessAnalysisDialog *ProcessAnalysisPanel::dialog() const
{
    return analysis;
}

void ProcessAnalysisPanel::open()
{
    if (!analysis)
        analysis = new ProcessAnalysisDialog(window, history);
    analysis->show();
    follow();
    analysis->raise();
    analysis->activateWindow();
}

void ProcessAnalysisPanel::follow()
{
    if (!analysis || !analysis->isVisible())
        return;
    if (view->hasBlock())
        analysis->analyse(view->block().name, view->block().values, view->band());
    else
        analysis->clearBlock();
}
