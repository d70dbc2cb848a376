#include "ui/mainwindow.h"

#include "settings/logoimage.h"
#include "ui_mainwindow.h"

#include <QFileDialog>
#include <QMessageBox>

void MainWindow::on_logo_action_clicked()
{
    if (logoImage.isNull()) {
        const QString fileName = QFileDialog::getOpenFileName(
            this, QString(), QString(), QStringLiteral("Images (*.png *.jpg *.jpeg *.bmp)"));
        if (fileName.isEmpty())
            return;
        const QImage image = loadLogoFile(fileName);
        if (image.isNull()) {
            QMessageBox::warning(this, QStringLiteral("Error"), QStringLiteral("Failed to load the image."),
                                 QMessageBox::Ok);
            return;
        }
        logoImage = image;
    } else {
        logoImage = QImage();
    }
    refreshLogo();
    updateLogoButtonText();
}

void MainWindow::refreshLogo()
{
    if (logoImage.isNull()) {
        ui->logotype->setPixmap(QPixmap());
        return;
    }
    ui->logotype->setPixmap(QPixmap::fromImage(logoImage).scaled(ui->logotype->size(), Qt::KeepAspectRatio,
                                                                 Qt::SmoothTransformation));
}

void MainWindow::sizeLogoLabel()
{
    const int side = ui->report_number->width() / 2;
    ui->logotype->setGeometry(0, 0, side, side);
    ui->logotype->setMaximumWidth(side);
    ui->logotype->setMaximumHeight(side);
    ui->logotype->setAlignment(Qt::AlignCenter);
    refreshLogo();
}
