#include "ui/mainwindow.h"

#include "settings/settingskeys.h"
#include "settings/settingsvalues.h"
#include "ui/abouttexts.h"
#include "ui/columnfit.h"
#include "ui/fontsize.h"
#include "ui/screenfit.h"
#include "ui_mainwindow.h"

#include <QCoreApplication>
#include <QMessageBox>

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

// Comes back as it was closed when that still fits the screen; otherwise
// opens at its opening size for the screen, centred on the available area.
void MainWindow::placeOnScreen(const QByteArray &keptGeometry)
{
    settleLayouts();
    const QRect available = screen()->availableGeometry();
    if (!keptGeometry.isEmpty() && restoreGeometry(keptGeometry) && fitsOn(available, frameGeometry().size())
        && available.intersects(frameGeometry()))
        return;
    resize(openingSize(available, minimumSizeHint()));
    move(placementOnScreen(available, frameGeometry().size()));
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
    fitColumns();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    layout()->activate();
}

void MainWindow::fitColumns()
{
    ::fitColumns(this, ui->horizontalLayout,
                 {{ui->block_column_scroll}, {ui->chart_column_scroll}, {ui->report_form_scroll, false}},
                 screen()->availableGeometry());
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
