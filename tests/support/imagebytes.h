#pragma once

#include <QByteArray>
#include <QtGlobal>

// Picture files as bytes, for logos and settings that hold them.

// A sound PNG of w x h pixels (a red field with a diagonal).
QByteArray pngBytes(int w, int h);

// A sound JPEG of w x h pixels (a colour pattern that compresses poorly).
QByteArray jpegBytes(int w, int h);

// A well-formed PNG (its header's checksum is right) whose header claims
// width x height pixels.
QByteArray pngClaiming(quint32 width, quint32 height);
