#pragma once

#include <QByteArray>
#include <QVector>
#include <QtGlobal>

// The instrument's wire format: request words, fixed answers and the decoding
// of the numeric answers. All multi-byte numbers are little-endian.

enum class DeviceCommand : quint32 {
    Identify = 0x05,
    BlocksAmount = 0x06,
    BlockName = 0x07,
    BlockSize = 0x08,
    BlockData = 0x09,
};

// The length of a complete name answer.
constexpr int kNameAnswerSize = 20;

// The command code sits in byte 2 of the request word, the argument in bytes 0-1.
quint32 requestWord(DeviceCommand command, unsigned index = 0);

// The four bytes that carry one request word.
QByteArray requestFrame(quint32 word);

QByteArray identificationAnswer(); // 2D 07 FB 82
QByteArray errorAnswer();          // 10 00 FF 00
bool isErrorAnswer(const QByteArray &answer);

// Unsigned 16-bit number from the first two bytes; a single byte counts as
// its own value; -1 for an empty answer.
int decodeUnsigned16(const QByteArray &answer);

// Consecutive single-precision values; empty unless the length is a multiple of 4.
QVector<float> decodeFloats(const QByteArray &answer);
