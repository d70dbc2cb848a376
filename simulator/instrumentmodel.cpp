#include "instrumentmodel.h"

#include "instrumentnamecode.h"

#include <QtEndian>
#include <cstring>

namespace {

constexpr int kCommandShift = 16;
constexpr quint32 kByteMask = 0xFF;
constexpr quint32 kIndexMask = 0xFFFF;
constexpr int kMaxCount = 0xFFFF;
constexpr char kErrorAnswer[] = {'\x10', '\x00', '\xFF', '\x00'};
constexpr char kSurplusFill = '\xEE';

QByteArray errorAnswer()
{
    return QByteArray(kErrorAnswer, sizeof kErrorAnswer);
}

QByteArray unsigned16(int value)
{
    QByteArray bytes(2, '\0');
    qToLittleEndian<quint16>(static_cast<quint16>(qBound(0, value, kMaxCount)), bytes.data());
    return bytes;
}

QByteArray floats(const QVector<float> &values)
{
    QByteArray bytes(values.size() * int(sizeof(float)), '\0');
    char *out = bytes.data();
    for (const float value : values) {
        quint32 bits;
        std::memcpy(&bits, &value, sizeof bits);
        qToLittleEndian<quint32>(bits, out);
        out += sizeof bits;
    }
    return bytes;
}

} // namespace

void InstrumentModel::setBlocks(const QVector<SimulatedBlock> &blocks)
{
    storedBlocks = blocks.mid(0, kMaxCount);
    // Sizes travel as 16-bit numbers.
    for (SimulatedBlock &block : storedBlocks)
        block.values = block.values.mid(0, kMaxCount);
}

void InstrumentModel::setBehaviour(const InstrumentBehaviour &behaviour)
{
    currentBehaviour = behaviour;
    restartCounting();
}

int InstrumentModel::commandOf(quint32 word)
{
    return static_cast<int>((word >> kCommandShift) & kByteMask);
}

void InstrumentModel::restartCounting()
{
    requestsCounted = 0;
    identificationAttempts = 0;
    silencesKept = 0;
}

bool InstrumentModel::unplugsOn()
{
    ++requestsCounted;
    return currentBehaviour.unplugAfterRequests >= 0
           && requestsCounted > currentBehaviour.unplugAfterRequests;
}

std::optional<QByteArray> InstrumentModel::answer(quint32 word)
{
    const int code = commandOf(word);
    const int index = static_cast<int>(word & kIndexMask);
    const bool wellFormed = (word >> 24) == 0;

    if (code == instrumentcode::kIdentify)
        ++identificationAttempts;
    if (keepsSilentOn(code, index))
        return std::nullopt;

    QByteArray bytes = wellFormed ? regularAnswer(code, index) : errorAnswer();
    if (currentBehaviour.errorAnswer.appliesTo(code)
        && (currentBehaviour.errorIndex < 0 || currentBehaviour.errorIndex == index))
        bytes = errorAnswer();
    if (currentBehaviour.partial.appliesTo(code))
        bytes.truncate(qMax(0, currentBehaviour.partialBytes));
    if (currentBehaviour.surplus.appliesTo(code))
        bytes.append(QByteArray(qMax(0, currentBehaviour.surplusBytes), kSurplusFill));
    return bytes;
}

bool InstrumentModel::keepsSilentOn(int code, int index)
{
    const InstrumentBehaviour &b = currentBehaviour;
    if (!b.silence.appliesTo(code) || (b.silenceIndex >= 0 && b.silenceIndex != index))
        return false;
    if (b.silenceTimes >= 0 && silencesKept >= b.silenceTimes)
        return false;
    ++silencesKept;
    return true;
}

QByteArray InstrumentModel::regularAnswer(int code, int index)
{
    const bool known = index < storedBlocks.size();
    switch (code) {
    case instrumentcode::kIdentify:
        return identificationAttempts >= currentBehaviour.rightIdentificationAttempt
                   ? currentBehaviour.identificationAnswer
                   : currentBehaviour.earlyIdentificationAnswer;
    case instrumentcode::kBlocksAmount:
        return unsigned16(storedBlocks.size()) + currentBehaviour.countAnswerTail;
    case instrumentcode::kBlockName:
        return known ? encodeInstrumentName(storedBlocks.at(index).name) : errorAnswer();
    case instrumentcode::kBlockSize:
        return known ? unsigned16(storedBlocks.at(index).values.size()) : errorAnswer();
    case instrumentcode::kBlockData:
        return known ? floats(storedBlocks.at(index).values) : errorAnswer();
    default:
        return errorAnswer();
    }
}
