#pragma once

#include "history/historysettings.h"

#include <QObject>

class HistoryRecorder;

// The history store in use, chosen at start from history.json and changed in
// the run: a new recorder takes the place of the old one.
class ActiveHistory : public QObject
{
    Q_OBJECT

public:
    ActiveHistory(const QString &folder, const HistorySettings &settings, QObject *parent = nullptr);

    HistoryRecorder *recorder() const { return current; }
    // The settings in use, with the password typed for this run.
    const HistorySettings &settings() const { return chosen; }
    QString folder() const { return where; }

    // Ends the old recorder first: what it cannot store goes into a file of
    // unsaved reads, which the new recorder takes in. Nothing is saved here.
    void switchTo(const HistorySettings &settings);

    // HistoryRecorder::holdStores(), kept across a switch.
    void holdStores(bool hold);

signals:
    // The old recorder is gone; connections to it went with it.
    void switched(HistoryRecorder *recorder);

private:
    QString where;
    HistorySettings chosen;
    HistoryRecorder *current = nullptr;
    bool held = false;
};
