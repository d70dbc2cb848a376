#include "ui/windowfit.h"

#include "settings/settingsvalues.h"
#include "ui/fontsize.h"
#include "ui/screenfit.h"

#include <QCoreApplication>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>

WindowFit::WindowFit(QMainWindow *window, QBoxLayout *row, const QVector<FitColumn> &columns)
    : QObject(window)
    , window(window)
    , row(row)
    , columns(columns)
{}

// Comes back as it was closed when that still fits the screen; otherwise
// opens at its opening size for the screen, centred on the available area.
void WindowFit::place(const QByteArray &keptGeometry)
{
    settle();
    const QRect available = window->screen()->availableGeometry();
    if (!keptGeometry.isEmpty() && window->restoreGeometry(keptGeometry)
        && fitsOn(available, window->frameGeometry().size()) && available.intersects(window->frameGeometry()))
        return;
    window->resize(openingSize(available, window->minimumSizeHint()));
    window->move(placementOnScreen(available, window->frameGeometry().size()));
}

void WindowFit::setFontSize(int pointSize)
{
    const int size = clampFontSize(pointSize);
    if (size == window->font().pointSize())
        return;
    // No larger than its minimum: sized by its contents, not by the operator.
    const bool sizedByContents =
        window->width() <= window->minimumWidth() && window->height() <= window->minimumHeight();
    applyFontSize(window, size);
    fitToScreen(sizedByContents);
}

// A font change moves the window's minimum size. A window sized by its
// contents, or one that no longer fits the screen, takes its new minimum and
// stays on the screen; one the operator enlarged keeps its size while it fits.
void WindowFit::fitToScreen(bool sizedByContents)
{
    settle();
    if (window->isMaximized() || window->isFullScreen())
        return;
    const QRect available = window->screen()->availableGeometry();
    if (!sizedByContents && fitsOn(available, window->frameGeometry().size()))
        return;
    window->resize(1, 1);
    window->move(keptOnScreen(available, window->frameGeometry()));
}

void WindowFit::settle()
{
    fitColumns();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    window->layout()->activate();
}

void WindowFit::fitColumns()
{
    ::fitColumns(window, row, columns, window->screen()->availableGeometry());
}
