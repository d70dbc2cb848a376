#pragma once

#include "values/memoryblock.h"

#include <QCoreApplication>
#include <QString>

class QListWidgetItem;

// What the operator is told about a block that was not read cleanly: on its
// row in the block list and, when it is picked, in the status line.
class BlockFaultText
{
    Q_DECLARE_TR_FUNCTIONS(BlockFaultText)

public:
    // Which request failed, or how much of the block came; empty for a block
    // read completely.
    static QString reason(BlockFault fault, int received, int expected);
    static QString reason(const MemoryBlock &block);

    // The status line's words on a picked block: "<name>: <reason>".
    static QString pickedBlock(const QString &name, int row, const QString &reason);

    // Greys a failed block's row and gives it the reason as its tooltip.
    static void markRow(QListWidgetItem *item, const MemoryBlock &block);
};
