#pragma once

#include <QByteArray>

struct DeflatedPart;

// One file inside a zip archive as written by a single pass of a writer
// (no spanning, no zip64, no data descriptors), as xlsx packages are.

// The entry's uncompressed bytes; empty when there is no such entry or it
// cannot be read.
QByteArray zipEntry(const QByteArray &zip, const QByteArray &name);

// The archive with the entry's bytes replaced (stored uncompressed), every
// other entry copied as it was; empty when the entry is missing or the
// archive is laid out otherwise.
QByteArray withZipEntry(const QByteArray &zip, const QByteArray &name, const QByteArray &content);

// The same with the entry's bytes as given, compressed; empty also when they
// are not ok.
QByteArray withDeflatedZipEntry(const QByteArray &zip, const QByteArray &name, const DeflatedPart &content);
