// Block names from arbitrary bytes. The decoded name holds only Latin and
// Cyrillic characters, and the instrument's own letters 0x80-0xBF always come
// out as А..я.

#include "device/blockname.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace {

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

constexpr uint8_t kFirstLetterByte = 0x80;
constexpr uint8_t kLastLetterByte = 0xBF;
constexpr char16_t kCapitalA = 0x0410;
constexpr char16_t kSmallYa = 0x044F;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray raw(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const QString name = decodeBlockName(raw);

    require(name.size() <= raw.size() + 1);
    require(keepNameCharacters(name) == name);

    // Every instrument letter byte gives one Cyrillic letter; count both.
    int letterBytes = 0;
    for (const char byte : raw) {
        const auto value = static_cast<uint8_t>(byte);
        if (value >= kFirstLetterByte && value <= kLastLetterByte)
            ++letterBytes;
    }
    int letters = 0;
    for (const QChar c : name) {
        if (c.unicode() >= kCapitalA && c.unicode() <= kSmallYa)
            ++letters;
    }
    // 0xC0-0xFF are Windows-1251 letters as well, so there can be more, never fewer.
    require(letters >= letterBytes);

    // Printable ASCII passes unchanged, with the space before the last four.
    bool printable = true;
    for (const char byte : raw)
        printable = printable && byte >= ' ' && byte <= '~';
    if (printable) {
        QString expected = QString::fromLatin1(raw);
        if (expected.size() >= 4)
            expected.insert(expected.size() - 4, QLatin1Char(' '));
        require(name == expected);
    }
    return 0;
}
