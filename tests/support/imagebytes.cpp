#include "imagebytes.h"

#include <QBuffer>
#include <QImage>

namespace {

constexpr int kJpegQuality = 90;
// The IHDR chunk in a PNG: after the 8-byte signature and its 4-byte length
// come its type and 13 bytes of data (17 bytes, which its checksum covers),
// then the checksum; width and height are its first two words.
constexpr int kHeaderAt = 12;
constexpr int kHeaderSize = 17;
constexpr int kWidthAt = 4;
constexpr int kHeightAt = 8;
constexpr int kChecksumAt = kHeaderAt + kHeaderSize;
constexpr int kBaseSide = 4;

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= static_cast<quint8>(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// Big-endian, as PNG stores its words.
void put32(QByteArray &bytes, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((v >> (24 - 8 * i)) & 0xFF);
}

QByteArray encoded(const QImage &image, const char *format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

} // namespace

QByteArray pngBytes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 30));
    for (int y = 0; y < h; ++y)
        image.setPixel(y % w, y, qRgb(y % 256, 0, 255 - y % 256));
    return encoded(image, "PNG");
}

QByteArray jpegBytes(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
    return encoded(image, "JPEG", kJpegQuality);
}

QByteArray pngClaiming(quint32 width, quint32 height)
{
    QByteArray png = pngBytes(kBaseSide, kBaseSide);
    QByteArray header = png.mid(kHeaderAt, kHeaderSize);
    put32(header, kWidthAt, width);
    put32(header, kHeightAt, height);
    png.replace(kHeaderAt, kHeaderSize, header);
    put32(png, kChecksumAt, crc32(header));
    return png;
}
