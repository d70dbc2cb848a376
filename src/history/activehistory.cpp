#include "history/activehistory.h"

#include "history/historyrecorder.h"

ActiveHistory::ActiveHistory(const QString &folder, const HistorySettings &settings, QObject *parent)
    : QObject(parent)
    , where(folder)
    , chosen(settings)
    , current(new HistoryRecorder(folder, settings, this))
{}

void ActiveHistory::switchTo(const HistorySettings &settings)
{
    // The new recorder looks for unsaved reads when it is made: the old one
    // must have written them by then, and closed the local file.
    delete current;
    current = nullptr;
    chosen = settings;
    current = new HistoryRecorder(where, settings, this);
    current->holdStores(held);
    emit switched(current);
}

void ActiveHistory::holdStores(bool hold)
{
    held = hold;
    current->holdStores(hold);
}
