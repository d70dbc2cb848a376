#pragma once

#include "history/historyservice.h"
#include "mainwindowtester.h"
#include "simulatedlink.h"

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
struct InstrumentWindow
{
    static constexpr int kWaitMs = 30000;

    InstrumentSimulator simulator;
    std::shared_ptr<PathPortLister> ports = noPorts();
    std::unique_ptr<MainWindow> window;
    Ui::MainWindow *ui = nullptr;

    bool start(const QVector<SimulatedBlock> &blocks)
    {
        simulator.setBlocks(blocks);
        if (!simulator.isPluggedIn() && !plugInWatched(simulator, *ports))
            return false;
        window = std::make_unique<MainWindow>(ports);
        ui = MainWindowTester::ui(*window);
        return QTest::qWaitFor([this] { return ui->button_read_data->isEnabled(); }, testMs(kWaitMs));
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
