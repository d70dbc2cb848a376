#pragma once

#include "history/historyservice.h"
#include "mainwindowtester.h"
#include "simulatedlink.h"
#include "windowwithinstrument.h"

#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <memory>

// The history's words in the window's status area.
inline QString historyStatus(MainWindow &window)
{
    auto *label = window.findChild<QLabel *>(QStringLiteral("history_status_label"));
    return label && label->isVisibleTo(&window) ? label->text() : QString();
}

// The names a block list shows.
inline QStringList listed(QListWidget *list)
{
    QStringList names;
    for (int row = 0; row < list->count(); ++row)
        names.append(list->item(row)->text());
    return names;
}

// The window with a simulated instrument its port has found.
struct InstrumentWindow : WindowWithInstrument
{
    static constexpr int kWaitMs = 30000;

    InstrumentWindow()
        : WindowWithInstrument(QVector<SimulatedBlock>{})
    {}

    // The window made anew (the instrument stays plugged in) over these blocks.
    bool start(const QVector<SimulatedBlock> &blocks)
    {
        simulator.setBlocks(blocks);
        return open(true, false) && found(kWaitMs);
    }
    // Reads and waits until the history has tried to store the read (the
    // recorder in use now: the store may have been switched).
    bool read()
    {
        auto *history = window->findChild<HistoryService *>();
        ui->button_read_data->click();
        return QTest::qWaitFor([history] { return !history->storeScheduled(); }, testMs(kWaitMs));
    }
};
