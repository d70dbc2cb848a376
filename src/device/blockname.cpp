#include "device/blockname.h"

#include <QTextCodec>

namespace {

constexpr quint8 kFirstShiftedByte = 0x80;
constexpr quint8 kLastShiftedByte = 0xBF;
constexpr quint8 kCyrillicShift = 0x40;
constexpr int kNumberLength = 4;

struct CharRange
{
    char16_t first;
    char16_t last;
};

// Latin with its supplements and extensions, Cyrillic with its supplement,
// Latin Extended Additional.
constexpr CharRange kKeptRanges[] = {
    {0x0000, 0x024F},
    {0x0400, 0x052F},
    {0x1E00, 0x1EFF},
};

bool isKept(QChar c)
{
    for (const CharRange &range : kKeptRanges) {
        if (c.unicode() >= range.first && c.unicode() <= range.last)
            return true;
    }
    return false;
}

} // namespace

QString decodeBlockName(const QByteArray &raw)
{
    QByteArray bytes = raw;
    for (char &byte : bytes) {
        const auto value = static_cast<quint8>(byte);
        if (value >= kFirstShiftedByte && value <= kLastShiftedByte)
            byte = static_cast<char>(value + kCyrillicShift);
    }

    // Looked up once: a lookup by name costs tens of microseconds, and a read
    // decodes each name between two requests.
    static const QTextCodec *const codec = QTextCodec::codecForName("Windows-1251");
    QString text = codec ? codec->toUnicode(bytes) : QString::fromLatin1(bytes);

    if (text.size() >= kNumberLength)
        text.insert(text.size() - kNumberLength, QLatin1Char(' '));

    return keepNameCharacters(text);
}

QString keepNameCharacters(const QString &text)
{
    QString kept;
    kept.reserve(text.size());
    for (const QChar c : text) {
        if (isKept(c))
            kept.append(c);
    }
    return kept;
}
