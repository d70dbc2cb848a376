#pragma once

#include <QRect>
#include <QVector>

class QBoxLayout;
class QMainWindow;
class QScrollArea;

// A scrolling column of the window; one that holds its height is as tall as
// its contents while there is room, one that does not scrolls at any height.
struct FitColumn
{
    QScrollArea *area = nullptr;
    bool holdsHeight = true;
};

// The window's columns scroll. Each is given the width its contents need
// while the window then fits the available area; otherwise the room there
// is shared out in proportion to the widths needed, and heights are held to
// the room, so that no font size or text can push the window off the screen.
void fitColumns(QMainWindow *window, QBoxLayout *row, const QVector<FitColumn> &columns,
                const QRect &available);

// Widths within `room` for columns that need these widths: what each needs
// while all fit, otherwise each scaled down alike.
QVector<int> sharedWidths(const QVector<int> &needed, int room);
