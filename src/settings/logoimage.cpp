#include "settings/logoimage.h"

#include <QBuffer>
#include <QImageReader>

namespace {

QImage readBounded(QImageReader &reader)
{
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxLogoSide || size.height() > kMaxLogoSide
        || qint64(size.width()) * size.height() > kMaxLogoPixels)
        return QImage();
    QImage image;
    if (!reader.read(&image))
        return QImage();
    return image;
}

} // namespace

QImage decodeLogoImage(const QByteArray &data, const char *format)
{
    if (data.isEmpty())
        return QImage();
    QByteArray copy = data;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    return readBounded(reader);
}

QImage loadLogoFile(const QString &path)
{
    QImageReader reader(path);
    return readBounded(reader);
}

QString imageToBase64(const QImage &image)
{
    if (image.isNull())
        return QString();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG", -1))
        return QString();
    return QString::fromLatin1(bytes.toBase64());
}

QImage imageFromBase64(const QString &base64)
{
    return decodeLogoImage(QByteArray::fromBase64(base64.toLatin1()), "PNG");
}
