#include "instrumentnamecode.h"

#include <QTextCodec>

namespace {

constexpr int kNumberSize = 4;
constexpr int kTextSize = kInstrumentNameSize - kNumberSize;
constexpr quint8 kFirstCyrillicLetter = 0xC0; // А in Windows-1251
constexpr quint8 kInstrumentLetterOffset = 0x40;
constexpr quint8 kFirstInstrumentLetter = 0x80;
constexpr quint8 kLastInstrumentLetter = 0xBF;

QByteArray toInstrumentCode(const QString &text)
{
    // Looked up once: a lookup by name costs tens of microseconds per answer.
    static const QTextCodec *const codec = QTextCodec::codecForName("Windows-1251");
    QByteArray bytes = codec->fromUnicode(text);
    for (char &byte : bytes) {
        const auto value = static_cast<quint8>(byte);
        if (value >= kFirstCyrillicLetter)
            byte = static_cast<char>(value - kInstrumentLetterOffset);
        else if (value >= kFirstInstrumentLetter && value <= kLastInstrumentLetter)
            byte = '?'; // Ё, № and the like have no place in the instrument's code
    }
    return bytes;
}

} // namespace

QByteArray encodeInstrumentName(const QString &name)
{
    QString text = name;
    QString number;
    const int separator = text.size() - kNumberSize - 1;
    if (separator >= 0 && text.at(separator) == QLatin1Char(' ')) {
        number = text.mid(separator + 1);
        text.truncate(separator);
    }
    QByteArray field = toInstrumentCode(text).leftJustified(kTextSize, ' ', true);
    field += toInstrumentCode(number).rightJustified(kNumberSize, ' ', true);
    return field;
}
