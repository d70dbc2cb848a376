#include "ui/reportlogo.h"

#include "settings/logoimage.h"
#include "settings/settingsvalues.h"
#include "ui/logoloader.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

ReportLogo::ReportLogo(const ReportLogoWidgets &widgets, QWidget *dialogParent)
    : QObject(dialogParent)
    , w(widgets)
    , dialogParent(dialogParent)
    , loader(new LogoLoader(this))
{
    connect(loader, &LogoLoader::finished, this, &ReportLogo::takeDecoded);
}

void ReportLogo::startDecoding(const QString &text)
{
    storedText = text;
    decoding = !text.isEmpty();
    loader->start(text);
}

QImage ReportLogo::image()
{
    takeDecoded();
    return logo;
}

void ReportLogo::addOrRemove()
{
    takeDecoded();
    if (logo.isNull()) {
        const QString fileName = QFileDialog::getOpenFileName(
            dialogParent, QString(), QString(), QStringLiteral("Images (*.png *.jpg *.jpeg *.bmp)"));
        if (fileName.isEmpty())
            return;
        const QImage picture = loadLogoFile(fileName);
        if (picture.isNull()) {
            QMessageBox::warning(dialogParent, QStringLiteral("Error"),
                                 QStringLiteral("Failed to load the image."), QMessageBox::Ok);
            return;
        }
        setImage(picture);
    } else {
        setImage(QImage());
    }
}

void ReportLogo::setImage(const QImage &picture)
{
    takeDecoded();
    logo = picture;
    refresh();
    retranslate();
}

// The logo is fitted into the label's side, the same when it is chosen and
// after a restart.
void ReportLogo::refresh()
{
    if (logo.isNull()) {
        shown = QPixmap();
        shownKey = 0;
        w.label->setPixmap(QPixmap());
        return;
    }
    if (side <= 0)
        return;
    if (shownKey != logo.cacheKey()) {
        if (copyKey != logo.cacheKey()) {
            copy = LogoLoader::boundedCopy(logo);
            copyKey = logo.cacheKey();
        }
        const qreal ratio = w.label->devicePixelRatioF();
        const int pixels = qRound(side * ratio);
        shown =
            QPixmap::fromImage(copy.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        shown.setDevicePixelRatio(ratio);
        shownKey = logo.cacheKey();
    }
    // Setting the same picture again would only lay the form out again.
    if (w.label->pixmap(Qt::ReturnByValue).cacheKey() != shown.cacheKey())
        w.label->setPixmap(shown);
}

void ReportLogo::takeDecoded()
{
    if (!decoding)
        return;
    decoding = false;
    logo = loader->takeImage();
    copy = loader->takeCopy();
    copyKey = logo.cacheKey();
    storedKey = logo.cacheKey();
    if (logo.isNull())
        storedText.clear();
    retranslate();
    refresh();
}

void ReportLogo::sizeLabel()
{
    const int labelSide = w.sizedBy->width() / 2;
    w.label->setGeometry(0, 0, labelSide, labelSide);
    w.label->setMaximumWidth(labelSide);
    w.label->setMaximumHeight(labelSide);
    w.label->setAlignment(Qt::AlignCenter);
    side = labelSide;
    shownKey = 0;
    refresh();
}

void ReportLogo::retranslate()
{
    const bool noLogo = logo.isNull() && !decoding;
    // The button's texts belong to the window's catalogue context.
    w.button->setText(noLogo ? QCoreApplication::translate("MainWindow", "Добавить логотип")
                             : QCoreApplication::translate("MainWindow", "Удалить"));
}

void ReportLogo::storeInto(SettingsValues &values)
{
    takeDecoded();
    values.logo = logo;
    values.logoText = !logo.isNull() && logo.cacheKey() == storedKey ? storedText : QString();
}
