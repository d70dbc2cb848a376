#include "ui/fontsize.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <qcustomplot.h>

namespace {

void setAxisFont(QCPAxis *axis, const QFont &font)
{
    if (!axis)
        return;
    axis->setTickLabelFont(font);
    axis->setLabelFont(font);
}

} // namespace

void applyFontSize(QWidget *widget, int pointSize)
{
    // The toolkit ignores sizes below one point; skip the walk (and its warnings).
    if (pointSize < 1)
        return;
    QFont appFont = QApplication::font();
    appFont.setPointSize(pointSize);
    QApplication::setFont(appFont);

    QFont own = widget->font();
    own.setPointSize(pointSize);
    widget->setFont(own);

    const QObjectList children = widget->children();
    for (QObject *child : children) {
        if (child->isWidgetType())
            applyFontSize(static_cast<QWidget *>(child), pointSize);
    }

    if (auto *menu = qobject_cast<QMenu *>(widget)) {
        QFont menuFont = menu->font();
        menuFont.setPointSize(pointSize);
        menu->setFont(menuFont);
        const QList<QAction *> actions = menu->actions();
        for (QAction *action : actions)
            action->setFont(menuFont);
    }

    if (auto *plot = qobject_cast<QCustomPlot *>(widget)) {
        QFont plotFont = plot->font();
        plotFont.setPointSize(pointSize);
        plot->xAxis->setTickLabelFont(plotFont);
        plot->yAxis->setTickLabelFont(plotFont);
        plot->xAxis->setLabelFont(plotFont);
        plot->yAxis->setLabelFont(plotFont);
        setAxisFont(plot->xAxis2, plotFont);
        setAxisFont(plot->yAxis2, plotFont);
    }
}
