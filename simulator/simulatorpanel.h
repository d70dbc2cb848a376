#pragma once

#include <QWidget>

class InstrumentSimulator;
class QLabel;
class QPushButton;

// A small window beside the demo's main window: shows where the simulated
// instrument is plugged in and plugs it in or out.
class SimulatorPanel : public QWidget
{
    Q_OBJECT

public:
    explicit SimulatorPanel(InstrumentSimulator *simulator, QWidget *parent = nullptr);

private:
    void toggle();
    void refresh();

    InstrumentSimulator *simulator;
    QLabel *state;
    QPushButton *button;
};
