#include "device/wireformat.h"

#include <QtEndian>
#include <cstring>

namespace {

constexpr int kCommandShift = 16;
constexpr int kRequestFrameSize = 4;
constexpr int kFloatSize = 4;
constexpr char kIdentificationBytes[] = {'\x2D', '\x07', '\xFB', '\x82'};
constexpr char kErrorBytes[] = {'\x10', '\x00', '\xFF', '\x00'};

} // namespace

quint32 requestWord(DeviceCommand command, unsigned index)
{
    return (static_cast<quint32>(command) << kCommandShift) | index;
}

QByteArray requestFrame(quint32 word)
{
    QByteArray frame(kRequestFrameSize, '\0');
    qToLittleEndian<quint32>(word, frame.data());
    return frame;
}

QByteArray identificationAnswer()
{
    return QByteArray(kIdentificationBytes, sizeof kIdentificationBytes);
}

QByteArray errorAnswer()
{
    return QByteArray(kErrorBytes, sizeof kErrorBytes);
}

bool isErrorAnswer(const QByteArray &answer)
{
    return answer == errorAnswer();
}

int decodeUnsigned16(const QByteArray &answer)
{
    if (answer.isEmpty())
        return -1;
    const auto low = static_cast<quint8>(answer.at(0));
    if (answer.size() == 1)
        return low;
    const auto high = static_cast<quint8>(answer.at(1));
    return low | (high << 8);
}

QVector<float> decodeFloats(const QByteArray &answer)
{
    QVector<float> values;
    if (answer.size() % kFloatSize != 0)
        return values;
    values.reserve(answer.size() / kFloatSize);
    for (int offset = 0; offset < answer.size(); offset += kFloatSize) {
        const quint32 bits = qFromLittleEndian<quint32>(answer.constData() + offset);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        values.append(value);
    }
    return values;
}
