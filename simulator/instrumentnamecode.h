#pragma once

#include <QByteArray>
#include <QString>

// The instrument's 20-byte name field: a 16-byte text and a 4-character block
// number, in the instrument's 8-bit code (the Cyrillic letters А…я as
// 0x80-0xBF, everything else as in Windows-1251). A name such as "Т 0001" is
// split at the space before its last four characters; the text is padded
// with spaces. Characters the code cannot carry become '?'.
constexpr int kInstrumentNameSize = 20;

QByteArray encodeInstrumentName(const QString &name);
