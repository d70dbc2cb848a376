#pragma once

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
    int fontSize = 0; // 0: change no font
    double limitsMin = 0.0;
    double limitsMax = 0.0;
    QString comments;
};

SettingsValues settingsFromObject(const QJsonObject &object);

// Writes the values into `object`, keeping every other key it holds.
void storeSettingsValues(const SettingsValues &values, QJsonObject &object);

// A font size within the sizes the window can be used at.
int clampFontSize(int pointSize);
