#include "ui/columnfit.h"

#include <QBoxLayout>
#include <QMainWindow>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <algorithm>
#include <numeric>

namespace {

// Left to the window manager's frame and title bar beyond the window itself.
constexpr int kFrameWidth = 10;
constexpr int kFrameHeight = 40;

} // namespace

QVector<int> sharedWidths(const QVector<int> &needed, int room)
{
    const qint64 total = std::accumulate(needed.cbegin(), needed.cend(), qint64(0));
    if (total <= room || total <= 0)
        return needed;
    QVector<int> widths;
    for (int width : needed)
        widths.append(int(qint64(width) * qMax(room, 0) / total));
    // The pixels the rounding down left over go to the first columns, so that
    // the columns fill the room whatever the texts (and the language) they hold.
    int given = std::accumulate(widths.cbegin(), widths.cend(), 0);
    for (int i = 0; i < widths.size() && given < room; ++i, ++given)
        ++widths[i];
    return widths;
}

void fitColumns(QMainWindow *window, QBoxLayout *row, const QVector<FitColumn> &columns,
                const QRect &available)
{
    QVector<int> needed;
    QVector<int> heights;
    int others = row->contentsMargins().left() + row->contentsMargins().right();
    for (int i = 0; i < row->count(); ++i) {
        QWidget *widget = row->itemAt(i)->widget();
        const bool column = std::any_of(columns.cbegin(), columns.cend(),
                                        [widget](const FitColumn &c) { return c.area == widget; });
        if (!column && widget)
            others += widget->sizeHint().width();
        if (i > 0)
            others += qMax(row->spacing(), 0);
    }
    for (const FitColumn &column : columns) {
        QScrollArea *area = column.area;
        QWidget *contents = area->widget();
        // Activating refreshes the inner layouts' cached sizes.
        contents->layout()->activate();
        const QSize hint = contents->minimumSizeHint();
        needed.append(hint.width() + area->verticalScrollBar()->sizeHint().width() + 2 * area->frameWidth());
        heights.append(column.holdsHeight ? hint.height() + 2 * area->frameWidth() : 0);
    }
    const int roomWidth = available.width() - kFrameWidth - others;
    const int chrome = window->menuBar()->sizeHint().height() + window->statusBar()->sizeHint().height()
                       + row->contentsMargins().top() + row->contentsMargins().bottom();
    const int roomHeight = qMax(0, available.height() - kFrameHeight - chrome);
    const QVector<int> widths = sharedWidths(needed, roomWidth);
    for (int i = 0; i < columns.size(); ++i) {
        QScrollArea *area = columns.at(i).area;
        // A column narrower than its contents scrolls sideways too.
        area->setHorizontalScrollBarPolicy(widths.at(i) < needed.at(i) ? Qt::ScrollBarAsNeeded
                                                                       : Qt::ScrollBarAlwaysOff);
        area->setMinimumSize(widths.at(i), qMin(heights.at(i), roomHeight));
    }
}
