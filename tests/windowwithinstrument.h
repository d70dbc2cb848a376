#pragma once

#include "blocksets.h"
#include "mainwindowtester.h"
#include "simulatedlink.h"
#include "testtime.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

// The window with a simulated instrument on a port list of its own.
struct WindowWithInstrument
{
    // The port finds the instrument at a poll of its monitor, later on a loaded machine.
    static constexpr int kFoundMs = 5000;

    std::shared_ptr<PathPortLister> ports = noPorts();
    InstrumentSimulator simulator;
    std::unique_ptr<MainWindow> window;
    Ui::MainWindow *ui = nullptr;

    explicit WindowWithInstrument(const QVector<SimulatedBlock> &blocks = fourBlocks(),
                                  const InstrumentBehaviour &behaviour = InstrumentBehaviour())
    {
        simulator.setBlocks(blocks);
        simulator.setBehaviour(behaviour);
    }

    // Plugs the instrument in (unless told not to) and makes the window; a
    // shown window is on screen and active.
    bool open(bool plugIn, bool shown)
    {
        if (plugIn && !simulator.isPluggedIn() && !plugInWatched(simulator, *ports))
            return false;
        window = std::make_unique<MainWindow>(ports);
        ui = MainWindowTester::ui(*window);
        if (!shown)
            return true;
        window->show();
        QApplication::setActiveWindow(window.get());
        return QTest::qWaitForWindowExposed(window.get());
    }
    // The port has found the instrument: the read button is on.
    bool found(int timeoutMs = kFoundMs)
    {
        return QTest::qWaitFor([this] { return ui->button_read_data->isEnabled(); }, testMs(timeoutMs));
    }
    // A window that has found its instrument.
    bool start(bool shown = false) { return open(true, shown) && found(); }

    Port &port() { return MainWindowTester::port(*window); }
    void read() { ui->button_read_data->click(); }
    // The names the block list shows.
    QStringList listed() const
    {
        QStringList names;
        for (int row = 0; row < ui->block_names_list->count(); ++row)
            names.append(ui->block_names_list->item(row)->text());
        return names;
    }
};
