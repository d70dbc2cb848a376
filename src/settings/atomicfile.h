#pragma once

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `bytes` in one step: the previous file
// stays intact when the new one cannot be written completely.
bool writeFileAtomically(const QString &path, const QByteArray &bytes);
