#include "logoimage.h"

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
