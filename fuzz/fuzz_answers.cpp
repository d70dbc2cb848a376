// The instrument's answers as the block commands decode them. The first byte
// picks the command (count, size, name, data), the rest is the answer as it
// came off the wire: any length, any bytes, the error answer included.
// Besides not crashing, every decoder must keep its own promises, checked below.

#include "device/blockname.h"
#include "device/wireformat.h"

#include <QByteArray>
#include <QString>
#include <QVector>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

enum class Answer : uint8_t { Count, Size, Name, Data, Kinds };

void require(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The count and size answers: an unsigned 16-bit number, -1 when nothing came.
void checkNumber(const QByteArray &answer)
{
    const int number = decodeUnsigned16(answer);
    if (answer.isEmpty()) {
        require(number == -1);
        return;
    }
    require(number >= 0 && number <= 0xFFFF);
    const int low = static_cast<uint8_t>(answer.at(0));
    const int high = answer.size() > 1 ? static_cast<uint8_t>(answer.at(1)) : 0;
    require(number == (low | (high << 8)));
}

void checkName(const QByteArray &answer)
{
    const QString name = decodeBlockName(answer);
    // One character per byte in Windows-1251, plus the space before the number.
    require(name.size() <= answer.size() + 1);
    require(keepNameCharacters(name) == name);
}

void checkData(const QByteArray &answer)
{
    const QVector<float> values = decodeFloats(answer);
    if (answer.size() % 4 != 0) {
        require(values.isEmpty());
        return;
    }
    require(values.size() == answer.size() / 4);
    for (int i = 0; i < values.size(); ++i) {
        const auto *bytes = reinterpret_cast<const uint8_t *>(answer.constData()) + 4 * i;
        const uint32_t expected = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t(bytes[3]) << 24);
        uint32_t actual;
        std::memcpy(&actual, &values.at(i), sizeof actual);
        require(actual == expected);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const auto kind = static_cast<Answer>(data[0] % static_cast<uint8_t>(Answer::Kinds));
    const QByteArray answer(reinterpret_cast<const char *>(data + 1), static_cast<int>(size - 1));

    const bool error = isErrorAnswer(answer);
    require(error == (answer == QByteArray::fromHex("1000ff00")));
    // The block commands reject an empty answer and the error answer before decoding.
    if (answer.isEmpty() || error)
        return 0;

    switch (kind) {
    case Answer::Count:
    case Answer::Size:
        checkNumber(answer);
        break;
    case Answer::Name:
        checkName(answer);
        break;
    case Answer::Data:
        checkData(answer);
        break;
    case Answer::Kinds:
        break;
    }
    return 0;
}
