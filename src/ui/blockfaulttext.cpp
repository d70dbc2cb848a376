#include "ui/blockfaulttext.h"

#include <QBrush>
#include <QListWidgetItem>

QString BlockFaultText::reason(BlockFault fault, int received, int expected)
{
    switch (fault) {
    case BlockFault::None:
        return QString();
    case BlockFault::Name:
        return tr("ошибка запроса имени блока");
    case BlockFault::Size:
        return tr("ошибка запроса размера блока");
    case BlockFault::Data:
        return tr("ошибка запроса данных блока");
    case BlockFault::Cut:
        return tr("получено %1 из %2 значений").arg(received).arg(expected);
    }
    return QString();
}

QString BlockFaultText::reason(const MemoryBlock &block)
{
    if (block.fault == BlockFault::None)
        return QString();
    switch (block.miss) {
    case BlockMiss::InstrumentLost:
        return tr("не прочитан: прибор отключён");
    case BlockMiss::ReadStopped:
        return tr("не прочитан: чтение прервано");
    case BlockMiss::NoAnswer:
    case BlockMiss::ErrorAnswer:
    case BlockMiss::None:
        break;
    }
    const QString failed = reason(block.fault, block.values.size(), block.expectedSize);
    // A cut answer says how much came; the others say what the instrument did.
    if (block.fault == BlockFault::Cut || block.miss == BlockMiss::None)
        return failed;
    const QString met =
        block.miss == BlockMiss::NoAnswer ? tr("прибор не ответил") : tr("прибор ответил ошибкой");
    return QStringLiteral("%1 (%2)").arg(failed, met);
}

QString BlockFaultText::pickedBlock(const QString &name, int row, const QString &reason)
{
    // A block without a name is named by its place in the list.
    const QString shown = name.isEmpty() ? tr("Блок %1").arg(row + 1) : name;
    return QStringLiteral("%1: %2").arg(shown, reason);
}

void BlockFaultText::markRow(QListWidgetItem *item, const MemoryBlock &block)
{
    QString text = reason(block);
    if (text.isEmpty())
        return;
    text[0] = text.at(0).toUpper();
    item->setForeground(QBrush(Qt::gray));
    item->setToolTip(text);
}
