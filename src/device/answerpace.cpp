#include "device/answerpace.h"

#include <QtGlobal>

namespace {

// Far more than a few byte-times (0.17 ms each at 57600 baud): USB serial
// adapters pass bytes on in bursts up to 16 ms apart.
constexpr int kQuietMs = 20;
// An answer that came in slow pieces gets twice its widest gap, up to this.
constexpr int kGapFactor = 2;
constexpr int kLongestQuietMs = 200;

} // namespace

AnswerPace::AnswerPace()
{
    clock.start();
}

void AnswerPace::restart()
{
    lastPieceMs = clock.elapsed();
    widestGapMs = 0;
    anyPiece = false;
}

void AnswerPace::pieceArrived()
{
    const qint64 now = clock.elapsed();
    if (anyPiece)
        widestGapMs = qMax(widestGapMs, now - lastPieceMs);
    lastPieceMs = now;
    anyPiece = true;
}

int AnswerPace::quietMs() const
{
    return int(qBound<qint64>(kQuietMs, kGapFactor * widestGapMs, kLongestQuietMs));
}
