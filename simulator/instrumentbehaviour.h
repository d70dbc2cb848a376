#pragma once

#include <QByteArray>
#include <QSet>

// Command codes the simulated instrument understands. Its own copy, not the
// program's: the simulator is an independent check of our wire format.
namespace instrumentcode {
constexpr int kIdentify = 0x05;
constexpr int kBlocksAmount = 0x06;
constexpr int kBlockName = 0x07;
constexpr int kBlockSize = 0x08;
constexpr int kBlockData = 0x09;
} // namespace instrumentcode

// The wire speed of 57600 baud with 8N1 framing: ten bit times per byte.
constexpr int kWireBytesPerSecond = 5760;

// One kind of misbehaviour and the requests it applies to.
struct FaultSwitch
{
    bool enabled = false;
    QSet<int> commands; // command codes; empty: every command

    bool appliesTo(int code) const { return enabled && (commands.isEmpty() || commands.contains(code)); }
};

// How the simulated instrument answers. The default is a well-behaved
// instrument that answers at once.
struct InstrumentBehaviour
{
    FaultSwitch silence;     // no answer at all
    int silenceIndex = -1;   // only for this block index; -1: any
    int silenceTimes = -1;   // only the first this many requests it applies to; -1: every one
    FaultSwitch errorAnswer; // 10 00 FF 00 instead of the answer
    int errorIndex = -1;     // only for this block index; -1: any
    FaultSwitch chunks;      // the answer goes out in pieces
    int chunkSize = 1;
    int chunkGapMs = 2;
    FaultSwitch surplus; // extra bytes after the answer
    int surplusBytes = 4;
    FaultSwitch partial; // only the first bytes of the answer
    int partialBytes = 2;

    QByteArray identificationAnswer = QByteArray::fromHex("2d07fb82");
    // Identification requests before this attempt (counted from 1) get
    // earlyIdentificationAnswer instead.
    int rightIdentificationAttempt = 1;
    QByteArray earlyIdentificationAnswer = QByteArray::fromHex("00000000");

    // Bytes 2-3 of the count answer, which carry nothing the program uses.
    QByteArray countAnswerTail = QByteArray::fromHex("0000");

    // 0: answers go out at once; otherwise requests and answers take their
    // time on the wire at this many bytes per second.
    int bytesPerSecond = 0;

    // A request that comes while an answer is still going out is answered
    // after the rest of that answer (a slow instrument that never drops an
    // answer); otherwise the rest is dropped.
    bool finishesAnswers = false;

    // >= 0: after this many requests the next one unplugs the instrument
    // (the pseudo-terminal closes) instead of being answered. Counted from
    // plugging in or from setting the behaviour, whichever came last.
    int unplugAfterRequests = -1;
};
