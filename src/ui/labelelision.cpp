#include "ui/labelelision.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QVariant>

namespace {

// Marks a tooltip this filter set, so that one the label had is left alone.
const char kElidedTip[] = "zrvElidedTip";

class LabelElider : public QObject
{
public:
    explicit LabelElider(QLabel *label)
        : QObject(label)
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint && event->type() != QEvent::ToolTip)
            return false;
        auto *label = static_cast<QLabel *>(watched);
        const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(),
                                                          -label->margin());
        const QFontMetrics metrics(label->font());
        const QString text = label->text();
        const bool cut =
            label->textFormat() != Qt::RichText && metrics.horizontalAdvance(text) > room.width();
        // The tooltip follows the text whenever it is about to be seen.
        const bool tipIsOurs = label->property(kElidedTip).toBool();
        if (!cut && tipIsOurs) {
            label->setToolTip(QString());
            label->setProperty(kElidedTip, false);
        } else if (cut && (label->toolTip().isEmpty() || tipIsOurs)) {
            label->setToolTip(text);
            label->setProperty(kElidedTip, true);
        }
        if (!cut || event->type() != QEvent::Paint)
            return false;
        QPainter painter(label);
        const QString shown = metrics.elidedText(text, Qt::ElideRight, room.width());
        label->style()->drawItemText(&painter, room, int(label->alignment()), label->palette(),
                                     label->isEnabled(), shown, label->foregroundRole());
        return true;
    }
};

} // namespace

void elideLabel(QLabel *label)
{
    // An explicit minimum overrides the minimum the text would ask for.
    label->setMinimumWidth(1);
    label->setWordWrap(false);
    label->installEventFilter(new LabelElider(label));
}
