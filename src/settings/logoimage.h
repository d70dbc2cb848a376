#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Logo pictures are bounded before decoding, so that a crafted or corrupted
// file cannot make the program allocate gigabytes.
constexpr int kMaxLogoSide = 8192;
constexpr qint64 kMaxLogoPixels = 32LL * 1024 * 1024;

// Decodes image data in the given format (nullptr: detect); null when the data
// is not an image or its dimensions exceed the bounds.
QImage decodeLogoImage(const QByteArray &data, const char *format);

// Loads a logo file chosen by the user, with the same bounds.
QImage loadLogoFile(const QString &path);

// Logo as Base64 of a PNG file (empty for a null image) and back.
QString imageToBase64(const QImage &image);
QImage imageFromBase64(const QString &base64);
