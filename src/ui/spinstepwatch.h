#pragma once

#include <QObject>

class QDoubleSpinBox;

// Tells when a watched spin box's value changes by a step: its arrows (also
// held down), the mouse wheel, the Up, Down, Page Up and Page Down keys. A
// typed value does not count; it is taken when editing is finished.
class SpinStepWatch : public QObject
{
    Q_OBJECT

public:
    explicit SpinStepWatch(QObject *parent);

    void watch(QDoubleSpinBox *box);

signals:
    void stepped();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The box whose current event may step it (a spin box steps only from
    // within its own mouse, wheel, key and repeat-timer events).
    QObject *stepping = nullptr;
};
