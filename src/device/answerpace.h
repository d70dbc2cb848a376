#pragma once

#include <QElapsedTimer>

// The pace at which the pieces of one answer arrive, and from it how long
// the line must stay quiet before what is left of that answer can be taken
// as over.
class AnswerPace
{
public:
    AnswerPace();

    // A request has gone out: its answer starts now.
    void restart();
    // A piece of the answer has arrived.
    void pieceArrived();
    // The quiet time that ends an answer of this pace, in milliseconds.
    int quietMs() const;

private:
    QElapsedTimer clock;
    qint64 lastPieceMs = 0;
    qint64 widestGapMs = 0;
    bool anyPiece = false;
};
