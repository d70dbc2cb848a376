#pragma once

#include "ui/columnfit.h"

#include <QByteArray>
#include <QObject>

class QMainWindow;

// The window's size and place on its screen: where it opens (as it was
// closed, else centred at its opening size), how a font change resizes it,
// and its scrolling columns fitted to the screen's room.
class WindowFit : public QObject
{
    Q_OBJECT

public:
    WindowFit(QMainWindow *window, QBoxLayout *row, const QVector<FitColumn> &columns);

    void place(const QByteArray &keptGeometry);
    // Sets the window's font size (clamped to the usable sizes).
    void setFontSize(int pointSize);
    // Lays out now what a font or text change left to lay out, inner layouts
    // first, so that the window's minimum size is up to date.
    void settle();
    void fitColumns();

private:
    void fitToScreen(bool sizedByContents);

    QMainWindow *window = nullptr;
    QBoxLayout *row = nullptr;
    QVector<FitColumn> columns;
};
