#include "simulatorpanel.h"

#include "instrumentsimulator.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

SimulatorPanel::SimulatorPanel(InstrumentSimulator *simulator, QWidget *parent)
    : QWidget(parent)
    , simulator(simulator)
    , state(new QLabel(this))
    , button(new QPushButton(this))
{
    setWindowTitle(QStringLiteral("Simulated instrument"));
    // Closing the main window ends the demo even while this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(state);
    layout->addWidget(button);
    connect(button, &QPushButton::clicked, this, &SimulatorPanel::toggle);
    connect(simulator, &InstrumentSimulator::pluggedIn, this, &SimulatorPanel::refresh);
    connect(simulator, &InstrumentSimulator::unplugged, this, &SimulatorPanel::refresh);
    refresh();
}

void SimulatorPanel::toggle()
{
    if (simulator->isPluggedIn())
        simulator->unplug();
    else
        simulator->plugIn();
}

void SimulatorPanel::refresh()
{
    if (simulator->isPluggedIn()) {
        state->setText(
            QStringLiteral("Plugged in at %1 (%2)").arg(simulator->portPath(), simulator->devicePath()));
        button->setText(QStringLiteral("Unplug"));
    } else {
        state->setText(QStringLiteral("Unplugged"));
        button->setText(QStringLiteral("Plug in"));
    }
}
