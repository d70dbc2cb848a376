#include "blocksets.h"

#include "device/blockname.h"

QVector<SimulatedBlock> threeBlocks()
{
    return {
        {QStringLiteral("Т 0001"), {4.81f, 4.79f, 4.83f}},
        {QStringLiteral("Lot A 0002"), {142.5f}},
        {QStringLiteral("Сварной шов 0003"), {196.0f, 201.0f}},
    };
}

QVector<SimulatedBlock> fourBlocks()
{
    return {
        {QStringLiteral("Т 0001"), {4.81f, 4.79f, 4.83f}},
        {QStringLiteral("Lot A 0002"), {142.5f, 143.0f, 141.5f}},
        {QStringLiteral("Пустой 0003"), {}},
        {QStringLiteral("Сварной шов 0004"), {196.0f, 201.0f}},
    };
}

QString shownName(const SimulatedBlock &block, int bytes)
{
    return decodeBlockName(encodeInstrumentName(block.name).left(bytes));
}
