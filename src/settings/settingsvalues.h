#pragma once

#include <QByteArray>
#include <QImage>
#include <QJsonObject>
#include <QString>
#include <QVector>

// The settings as the program uses them, converted from the file's object with
// the fall-backs for missing keys and other JSON types.
struct SettingsValues
{
    // Line edits by their settings key, in the file's key order.
    QVector<QPair<QString, QString>> texts;
    QImage logo;
    // The text the logo was read from; written back as it is, so that an
    // unchanged logo is not encoded again. Empty: encode `logo`.
    QString logoText;
    // The object written into already holds logoText: the logo key is left
    // alone (comparing or copying a large logo's text is what takes time).
    bool logoAsStored = false;
    int fontSize = 0; // 0: change no font
    double limitsMin = 0.0;
    double limitsMax = 0.0;
    int toleranceKind = 0; // 0 two-sided, 1 lower only, 2 upper only
    QString comments;
    // Qt's saved window geometry and splitter state; empty: none kept.
    QByteArray windowGeometry;
    QByteArray splitterSizes;
    // The certificate file reports are signed with (empty: none chosen), and
    // whether PDF reports are to be signed.
    QString signingCertificatePath;
    bool signPdf = false;
    QString unit;                 // of the readings; empty: none given
    int valueDecimals = -1;       // the readings' decimals: -1 Авто, or 1 to 4
    bool includeAnalysis = false; // the reports carry the process analysis
};

// Later: `logo` stays null and `logoText` holds the stored text as it is, for
// the caller to decode (the window does it on a thread of its own).
enum class LogoDecoding { Now, Later };

SettingsValues settingsFromObject(const QJsonObject &object, LogoDecoding decoding = LogoDecoding::Now);

// Writes the values into `object`, keeping every other key it holds; true
// when anything in it changed.
bool storeSettingsValues(const SettingsValues &values, QJsonObject &object);

// A font size within the sizes the window can be used at.
int clampFontSize(int pointSize);
