#pragma once

#include <QByteArray>
#include <QVector>

// Bytes compressed as a zip entry holds them (raw deflate), with what the
// entry's header needs. Parts compressed apart, each but the last ended on a
// byte boundary, join into one entry: so a large part can be compressed on
// another thread while the rest is still being written.
struct DeflatedPart
{
    QByteArray data;
    quint32 crc = 0; // of the uncompressed bytes
    qint64 size = 0; // uncompressed bytes
    bool ok = false;
};

// Compresses bytes as they are added.
class PartDeflater
{
public:
    PartDeflater();
    ~PartDeflater();
    PartDeflater(const PartDeflater &) = delete;
    PartDeflater &operator=(const PartDeflater &) = delete;

    void add(const QByteArray &bytes);
    // last: the part ends the entry; otherwise others may follow it.
    DeflatedPart finish(bool last);

private:
    void deflateInput(const QByteArray &bytes, int flush);

    struct Stream;
    Stream *stream;
    DeflatedPart part;
};

DeflatedPart deflatedPart(const QByteArray &bytes, bool last);

// The parts one after the other as one entry; not ok when any is not.
DeflatedPart joinedParts(const QVector<DeflatedPart> &parts);
