#pragma once

#include <QByteArray>
#include <QString>

// Turns the raw name answer of the instrument into the name shown to the user.
//
// The instrument writes the Cyrillic letters А…я as 0x80-0xBF; every other
// byte means what it means in Windows-1251. 0xC0 is one of those other bytes
// and so stays the Windows-1251 letter А. All bytes are converted (padding
// included), a space goes before the last four characters (the block's
// number), and only Latin and Cyrillic characters are kept.
QString decodeBlockName(const QByteArray &raw);

// The last step of the decoding: keeps only the characters in U+0000-U+024F,
// U+0400-U+052F and U+1E00-U+1EFF.
QString keepNameCharacters(const QString &text);
