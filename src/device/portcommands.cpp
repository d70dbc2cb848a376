// The block command set of Port, built on its request primitive.

#include "device/port.h"

#include "device/wireformat.h"

#include <QDebug>

namespace {

constexpr int kCountAnswerSize = 4;
constexpr int kSizeAnswerSize = 2;
constexpr int kShortTimeoutMs = 200;
constexpr int kBytesPerValue = 4;
constexpr int kTimeoutPerValueMs = 10;

} // namespace

int Port::getBlocksAmount()
{
    const QByteArray answer =
        sendRequest(requestWord(DeviceCommand::BlocksAmount), kCountAnswerSize, kShortTimeoutMs);
    qDebug() << "blocks amount: ";
    if (answer.isEmpty() || !checkResponse(answer)) {
        qDebug() << "request error";
        return -1;
    }
    const int count = decodeUnsigned16(answer);
    qDebug() << "ok " << count;
    return count;
}

QByteArray Port::getBlockName(unsigned index)
{
    qDebug() << "getBlockName";
    const QByteArray answer =
        sendRequest(requestWord(DeviceCommand::BlockName, index), kNameAnswerSize, kShortTimeoutMs);
    qDebug() << "name of block " << index << ": ";
    if (answer.isEmpty() || !checkResponse(answer)) {
        qDebug() << "error";
        return QByteArray();
    }
    qDebug() << "ok " << answer;
    // Bytes beyond the name field belong to no name.
    return answer.left(kNameAnswerSize);
}

int Port::getBlockSize(unsigned index)
{
    qDebug() << "getBlockSize";
    const QByteArray answer =
        sendRequest(requestWord(DeviceCommand::BlockSize, index), kSizeAnswerSize, kShortTimeoutMs);
    qDebug() << "size of block " << index << ": ";
    if (answer.isEmpty() || !checkResponse(answer)) {
        qDebug() << "error\n-----------------";
        return -1;
    }
    const int size = decodeUnsigned16(answer);
    qDebug() << size << "\n-----------------";
    return size;
}

QVector<float> Port::getBlockData(unsigned index)
{
    return getBlockDataValues(index, getBlockDataSize(index)).values;
}

int Port::getBlockDataSize(unsigned index)
{
    qDebug() << "getBlockData";
    const int size = getBlockSize(index);
    qDebug() << "Размер блока - " << size;
    return size;
}

BlockValues Port::getBlockDataValues(unsigned index, int size)
{
    BlockValues block;
    if (size <= 0) {
        block.fault = size < 0 ? BlockFault::Size : BlockFault::None;
        return block;
    }

    // Values are 4 bytes each; only the error answer ends the wait early.
    const QByteArray answer = exchange(requestWord(DeviceCommand::BlockData, index), kBytesPerValue * size,
                                       kTimeoutPerValueMs * size, true);
    qDebug() << "data size: " << answer.size();
    qDebug() << "data: " << answer << "\n-----------------";
    block.fault = BlockFault::Data;
    if (answer.isEmpty() || !checkResponse(answer))
        return block;

    // Bytes beyond the values asked for are no part of the block.
    block.values = decodeFloats(answer.left(kBytesPerValue * size));
    for (const float value : qAsConst(block.values))
        qDebug() << value;
    qDebug() << "SIZE" << block.values.size() << "\n";
    if (!block.values.isEmpty())
        block.fault = block.values.size() < size ? BlockFault::Cut : BlockFault::None;
    return block;
}
