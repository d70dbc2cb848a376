#pragma once

#include "instrumentbehaviour.h"
#include "simulatedblock.h"

#include <QByteArray>
#include <QVector>
#include <optional>

// What the simulated instrument answers to one request word, with no regard
// to timing: the blocks it holds and the misbehaviour it is set up for.
class InstrumentModel
{
public:
    void setBlocks(const QVector<SimulatedBlock> &blocks);
    const QVector<SimulatedBlock> &blocks() const { return storedBlocks; }

    void setBehaviour(const InstrumentBehaviour &behaviour);
    const InstrumentBehaviour &behaviour() const { return currentBehaviour; }

    // The command code in byte 2 of a request word.
    static int commandOf(quint32 word);

    // Starts counting requests and identification attempts anew.
    void restartCounting();

    // Counts the request; true when it is the one that unplugs the instrument.
    bool unplugsOn();

    // The bytes to send back; nothing for a request it keeps silent on.
    std::optional<QByteArray> answer(quint32 word);

private:
    QByteArray regularAnswer(int code, int index);
    // Counts the silence it keeps; true when this request goes unanswered.
    bool keepsSilentOn(int code, int index);

    QVector<SimulatedBlock> storedBlocks;
    InstrumentBehaviour currentBehaviour;
    int requestsCounted = 0;
    int identificationAttempts = 0;
    int silencesKept = 0;
};
