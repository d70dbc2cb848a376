#include "history/storagecodes.h"

namespace {

constexpr int kComplete = 0;
constexpr int kCancelled = 1;
constexpr int kInstrumentLost = 2;

constexpr int kNoFault = 0;
constexpr int kNameFault = 1;
constexpr int kSizeFault = 2;
constexpr int kDataFault = 3;
constexpr int kCutFault = 4;

} // namespace

int outcomeCode(ReadOutcome outcome)
{
    switch (outcome) {
    case ReadOutcome::Complete:
        return kComplete;
    case ReadOutcome::Cancelled:
        return kCancelled;
    case ReadOutcome::InstrumentLost:
        return kInstrumentLost;
    }
    return kComplete;
}

ReadOutcome outcomeFromCode(int code)
{
    switch (code) {
    case kCancelled:
        return ReadOutcome::Cancelled;
    case kInstrumentLost:
        return ReadOutcome::InstrumentLost;
    default:
        return ReadOutcome::Complete;
    }
}

int faultCode(BlockFault fault)
{
    switch (fault) {
    case BlockFault::None:
        return kNoFault;
    case BlockFault::Name:
        return kNameFault;
    case BlockFault::Size:
        return kSizeFault;
    case BlockFault::Data:
        return kDataFault;
    case BlockFault::Cut:
        return kCutFault;
    }
    return kNoFault;
}

BlockFault faultFromCode(int code)
{
    switch (code) {
    case kNameFault:
        return BlockFault::Name;
    case kSizeFault:
        return BlockFault::Size;
    case kDataFault:
        return BlockFault::Data;
    case kCutFault:
        return BlockFault::Cut;
    default:
        return BlockFault::None;
    }
}
