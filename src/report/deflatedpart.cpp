#include "report/deflatedpart.h"

#include <zlib.h>

namespace {
constexpr int kOutputChunk = 1 << 16;
} // namespace

struct PartDeflater::Stream
{
    z_stream z{};
    bool open = false;
};

PartDeflater::PartDeflater()
    : stream(new Stream)
{
    // Raw deflate at zlib's default level, as the xlsx library compresses its entries.
    stream->open =
        deflateInit2(&stream->z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY)
        == Z_OK;
    part.ok = stream->open;
}

PartDeflater::~PartDeflater()
{
    if (stream->open)
        deflateEnd(&stream->z);
    delete stream;
}

void PartDeflater::add(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    part.crc =
        quint32(crc32(part.crc, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(bytes.size())));
    part.size += bytes.size();
    deflateInput(bytes, Z_NO_FLUSH);
}

DeflatedPart PartDeflater::finish(bool last)
{
    // A sync flush ends the part on a byte boundary without marking the
    // stream's end, so the next part's blocks can follow it.
    deflateInput(QByteArray(), last ? Z_FINISH : Z_SYNC_FLUSH);
    return part;
}

void PartDeflater::deflateInput(const QByteArray &bytes, int flush)
{
    if (!part.ok)
        return;
    z_stream &z = stream->z;
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    z.avail_in = uInt(bytes.size());
    do {
        const int had = part.data.size();
        part.data.resize(had + kOutputChunk);
        z.next_out = reinterpret_cast<Bytef *>(part.data.data() + had);
        z.avail_out = uInt(kOutputChunk);
        const int result = deflate(&z, flush);
        part.data.resize(had + kOutputChunk - int(z.avail_out));
        if (result == Z_STREAM_ERROR) {
            part.ok = false;
            return;
        }
    } while (z.avail_out == 0 || z.avail_in > 0);
}

DeflatedPart deflatedPart(const QByteArray &bytes, bool last)
{
    PartDeflater deflater;
    deflater.add(bytes);
    return deflater.finish(last);
}

DeflatedPart joinedParts(const QVector<DeflatedPart> &parts)
{
    DeflatedPart joined;
    joined.ok = true;
    for (const DeflatedPart &part : parts) {
        joined.ok = joined.ok && part.ok;
        joined.data += part.data;
        joined.crc = quint32(crc32_combine(joined.crc, part.crc, z_off_t(part.size)));
        joined.size += part.size;
    }
    return joined;
}
