#include "ui/mainwindow.h"

#include "ui/abouttexts.h"
#include "ui/fontsize.h"
#include "ui/screenfit.h"
#include "settings/settingskeys.h"
#include "settings/settingsvalues.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QScrollBar>

void MainWindow::on_action_font_size_increase_triggered()
{
    setFontSize(font().pointSize() + 1);
}

void MainWindow::on_action_font_size_decrease_triggered()
{
    setFontSize(font().pointSize() - 1);
}

void MainWindow::on_action_font_size_reset_triggered()
{
    setFontSize(SettingsKeys::kDefaultFontSize);
}

void MainWindow::setFontSize(int pointSize)
{
    const int size = clampFontSize(pointSize);
    if (size == font().pointSize())
        return;
    // No larger than its minimum: sized by its contents, not by the operator.
    const bool sizedByContents = width() <= minimumWidth() && height() <= minimumHeight();
    applyFontSize(this, size);
    fitToScreen(sizedByContents);
}

// Opens at the smallest size the layout allows, centred on the available
// area with its top-left corner on it.
void MainWindow::placeOnScreen()
{
    settleLayouts();
    // Shrinks the window to the smallest size its layout allows.
    resize(1, 1);
    move(placementOnScreen(screen()->availableGeometry(), frameGeometry().size()));
}

// A font change moves the window's minimum size. A window sized by its
// contents, or one that no longer fits the screen, takes its new minimum and
// stays on the screen; one the operator enlarged keeps its size while it fits.
void MainWindow::fitToScreen(bool sizedByContents)
{
    settleLayouts();
    if (isMaximized() || isFullScreen())
        return;
    const QRect available = screen()->availableGeometry();
    if (!sizedByContents && fitsOn(available, frameGeometry().size()))
        return;
    resize(1, 1);
    move(keptOnScreen(available, frameGeometry()));
}

// Lays out now what a font or text change left to lay out, inner layouts
// first, so that the window's minimum size is up to date.
void MainWindow::settleLayouts()
{
    fitReportFormWidth();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    layout()->activate();
}

// The report form scrolls up and down only; its column keeps the width its
// fields need beside the scroll bar.
void MainWindow::fitReportFormWidth()
{
    QScrollArea *area = ui->report_form_scroll;
    QWidget *form = area->widget();
    // Activating refreshes the inner layouts' cached sizes.
    form->layout()->activate();
    area->setMinimumWidth(form->minimumSizeHint().width() + area->verticalScrollBar()->sizeHint().width()
                          + 2 * area->frameWidth());
}

void MainWindow::on_about_program_triggered()
{
    QMessageBox::about(this, tr("О программе"), AboutTexts::programText());
}

void MainWindow::on_about_company_triggered()
{
    QMessageBox box;
    box.setText(AboutTexts::companyText());
    box.setIcon(QMessageBox::Information);
    box.exec();
}
