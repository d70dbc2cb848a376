#include "ui/spinstepwatch.h"

#include <QDoubleSpinBox>
#include <QKeyEvent>

namespace {

bool mayStep(const QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Timer:
        return true;
    case QEvent::KeyPress:
        switch (static_cast<const QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return false;
        }
    default:
        return false;
    }
}

} // namespace

SpinStepWatch::SpinStepWatch(QObject *parent)
    : QObject(parent)
{
}

void SpinStepWatch::watch(QDoubleSpinBox *box)
{
    box->installEventFilter(this);
    connect(box, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this, [this, box] {
        if (stepping != box)
            return;
        stepping = nullptr;
        emit stepped();
    });
}

bool SpinStepWatch::eventFilter(QObject *watched, QEvent *event)
{
    stepping = mayStep(event) ? watched : nullptr;
    return QObject::eventFilter(watched, event);
}
