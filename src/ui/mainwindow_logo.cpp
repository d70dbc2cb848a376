#include "ui/mainwindow.h"

#include "settings/logoimage.h"
#include "ui/logoloader.h"
#include "ui_mainwindow.h"

#include <QFileDialog>
#include <QMessageBox>

void MainWindow::on_logo_action_clicked()
{
    takeDecodedLogo();
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

// The logo is fitted into the label's side, the same when it is chosen and
// after a restart; the fitted copy is made once, not on every resize.
void MainWindow::refreshLogo()
{
    if (logoImage.isNull()) {
        logoShown = QPixmap();
        logoShownKey = 0;
        ui->logotype->setPixmap(QPixmap());
        return;
    }
    if (logoSide <= 0)
        return;
    if (logoShownKey != logoImage.cacheKey()) {
        if (logoCopyKey != logoImage.cacheKey()) {
            logoCopy = LogoLoader::boundedCopy(logoImage);
            logoCopyKey = logoImage.cacheKey();
        }
        const qreal ratio = devicePixelRatioF();
        const int side = qRound(logoSide * ratio);
        logoShown = QPixmap::fromImage(logoCopy.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        logoShown.setDevicePixelRatio(ratio);
        logoShownKey = logoImage.cacheKey();
    }
    // Setting the same picture again would only lay the form out again.
    if (ui->logotype->pixmap(Qt::ReturnByValue).cacheKey() != logoShown.cacheKey())
        ui->logotype->setPixmap(logoShown);
}

void MainWindow::takeDecodedLogo()
{
    if (!logoDecoding)
        return;
    logoDecoding = false;
    logoImage = logoLoader->takeImage();
    logoCopy = logoLoader->takeCopy();
    logoCopyKey = logoImage.cacheKey();
    logoTextKey = logoImage.cacheKey();
    if (logoImage.isNull())
        logoText.clear();
    updateLogoButtonText();
    refreshLogo();
}

void MainWindow::sizeLogoLabel()
{
    const int side = ui->report_number->width() / 2;
    ui->logotype->setGeometry(0, 0, side, side);
    ui->logotype->setMaximumWidth(side);
    ui->logotype->setMaximumHeight(side);
    ui->logotype->setAlignment(Qt::AlignCenter);
    logoSide = side;
    logoShownKey = 0;
    refreshLogo();
}
