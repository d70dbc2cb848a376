#pragma once

#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QString>

class LogoLoader;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;
struct SettingsValues;

// The widgets the company logo is shown and chosen with.
struct ReportLogoWidgets
{
    QPushButton *button = nullptr; // adds a logo, or removes the one there is
    QLabel *label = nullptr;
    const QLineEdit *sizedBy = nullptr; // the label's side is half this field's width
};

// The company logo of the reports: decoded from the settings on a thread of
// its own, chosen or removed with its button, shown fitted into its label
// (the fitted copy made once, not on every resize) and written back to the
// settings without encoding an unchanged picture again.
class ReportLogo : public QObject
{
    Q_OBJECT

public:
    ReportLogo(const ReportLogoWidgets &widgets, QWidget *dialogParent);

    // Starts decoding the logo's stored text; empty: no logo.
    void startDecoding(const QString &storedText);
    // The logo; null when there is none. Waits for a decoding under way.
    QImage image();
    // Takes this picture as the logo (null: none) and shows it.
    void setImage(const QImage &picture);
    // What the button does: asks for a picture when there is no logo,
    // otherwise removes it.
    void addOrRemove();
    // Sizes the label from its field's width, then shows the logo.
    void sizeLabel();
    // Shows the logo fitted into the label (after a resize).
    void refresh();
    // The button's text in the language of the moment.
    void retranslate();
    // The logo for the settings file: its stored text when it is unchanged.
    void storeInto(SettingsValues &values);

private:
    void takeDecoded();

    ReportLogoWidgets w;
    QWidget *dialogParent = nullptr;
    LogoLoader *loader = nullptr;
    // The settings' logo is still being decoded.
    bool decoding = false;
    QImage logo;
    // The stored text the logo was read from, while `logo` is that picture.
    QString storedText;
    qint64 storedKey = 0;
    // A copy no larger than the logo is ever shown, to scale from.
    QImage copy;
    qint64 copyKey = 0;
    QPixmap shown;
    qint64 shownKey = 0;
    int side = 0; // 0: the label is not sized yet
};
