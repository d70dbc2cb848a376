#include "ui/mainwindow.h"

#include "ui/abouttexts.h"
#include "ui/fontsize.h"

#include <QMessageBox>

void MainWindow::on_action_font_size_increase_triggered()
{
    applyFontSize(this, font().pointSize() + 1);
}

void MainWindow::on_action_font_size_decrease_triggered()
{
    applyFontSize(this, font().pointSize() - 1);
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
