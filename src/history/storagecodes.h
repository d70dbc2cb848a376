#pragma once

#include "history/readrecord.h"

// The numbers a read's outcome and a block's failed request are stored as.
// They are part of the stored format: never renumber them.
int outcomeCode(ReadOutcome outcome);
ReadOutcome outcomeFromCode(int code);
int faultCode(BlockFault fault);
BlockFault faultFromCode(int code);
