#include "report/zipentry.h"

#include "report/deflatedpart.h"

#include <QVector>
#include <zlib.h>

namespace {
constexpr quint32 kLocalSignature = 0x04034b50;
constexpr quint32 kCentralSignature = 0x02014b50;
constexpr quint32 kEndSignature = 0x06054b50;
constexpr int kLocalSize = 30;
constexpr int kCentralSize = 46;
constexpr int kEndSize = 22;
constexpr quint16 kDataDescriptorFlag = 0x0008;
constexpr quint16 kStored = 0;
constexpr quint16 kDeflated = 8;
constexpr quint32 kZip64Marker = 0xFFFFFFFF;

quint32 read(const QByteArray &bytes, int at, int size)
{
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(at + i));
    return value;
}

void put(QByteArray &bytes, int at, quint32 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

struct Entry
{
    int central = 0; // offset of the central record
    int recordSize = 0;
    int local = 0;     // offset of the local header
    int localSize = 0; // header, name, extra and data
    QByteArray name;
};

// The central directory's entries; empty when the archive is laid out otherwise.
QVector<Entry> entries(const QByteArray &zip, int *directoryEnd)
{
    const int end = zip.lastIndexOf(QByteArray::fromHex("504b0506"));
    if (end < 0 || end + kEndSize > zip.size() || read(zip, end, 4) != kEndSignature)
        return {};
    const int count = int(read(zip, end + 10, 2));
    int at = int(read(zip, end + 16, 4));
    QVector<Entry> found;
    for (int i = 0; i < count; ++i) {
        if (at + kCentralSize > end || read(zip, at, 4) != kCentralSignature)
            return {};
        Entry entry;
        entry.central = at;
        entry.recordSize =
            kCentralSize + int(read(zip, at + 28, 2) + read(zip, at + 30, 2) + read(zip, at + 32, 2));
        entry.name = zip.mid(at + kCentralSize, int(read(zip, at + 28, 2)));
        entry.local = int(read(zip, at + 42, 4));
        const quint32 compressed = read(zip, at + 20, 4);
        if (compressed == kZip64Marker || entry.local + kLocalSize > zip.size()
            || read(zip, entry.local, 4) != kLocalSignature
            || (read(zip, entry.local + 6, 2) & kDataDescriptorFlag))
            return {};
        entry.localSize = kLocalSize + int(read(zip, entry.local + 26, 2) + read(zip, entry.local + 28, 2))
                          + int(compressed);
        if (entry.local + entry.localSize > zip.size())
            return {};
        found.append(entry);
        at += entry.recordSize;
    }
    *directoryEnd = end;
    return found;
}

QByteArray inflated(const QByteArray &raw, int size)
{
    QByteArray out(size, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        return {};
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(raw.constData()));
    stream.avail_in = uInt(raw.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    const int result = inflate(&stream, Z_FINISH);
    inflateEnd(&stream);
    return result == Z_STREAM_END ? out : QByteArray();
}
} // namespace

QByteArray zipEntry(const QByteArray &zip, const QByteArray &name)
{
    int directoryEnd = 0;
    for (const Entry &entry : entries(zip, &directoryEnd)) {
        if (entry.name != name)
            continue;
        const int method = int(read(zip, entry.central + 10, 2));
        const int compressed = int(read(zip, entry.central + 20, 4));
        const int size = int(read(zip, entry.central + 24, 4));
        const QByteArray raw = zip.mid(entry.local + entry.localSize - compressed, compressed);
        if (method == kStored)
            return raw;
        return method == kDeflated ? inflated(raw, size) : QByteArray();
    }
    return {};
}

namespace {
// The archive with the entry's data replaced, every other entry copied as it was.
QByteArray withEntryData(const QByteArray &zip, const QByteArray &name, quint16 method, quint32 crc,
                         const QByteArray &data, qint64 size)
{
    int directoryEnd = 0;
    const QVector<Entry> found = entries(zip, &directoryEnd);
    if (found.isEmpty() || size > qint64(kZip64Marker - 1) || data.size() > qint64(kZip64Marker - 1))
        return {};
    QByteArray files;
    files.reserve(zip.size() + data.size());
    QByteArray directory;
    bool replaced = false;
    for (const Entry &entry : found) {
        QByteArray record = zip.mid(entry.central, entry.recordSize);
        put(record, 42, quint32(files.size()), 4);
        if (entry.name != name) {
            files.append(zip.constData() + entry.local, entry.localSize);
        } else {
            QByteArray header = zip.mid(entry.local, kLocalSize);
            for (QByteArray *part : {&header, &record}) {
                const int shift = part == &header ? 0 : 2; // the central record holds "made by" first
                put(*part, 8 + shift, method, 2);
                put(*part, 14 + shift, crc, 4);
                put(*part, 18 + shift, quint32(data.size()), 4);
                put(*part, 22 + shift, quint32(size), 4);
                put(*part, 26 + shift, quint32(name.size()), 2);
                put(*part, 28 + shift, 0, 2); // no extra field
            }
            put(record, 32, 0, 2); // no comment
            record = record.left(kCentralSize) + name;
            files.append(header + name);
            files.append(data);
            replaced = true;
        }
        directory.append(record);
    }
    if (!replaced)
        return {};
    QByteArray end = zip.mid(directoryEnd, kEndSize);
    put(end, 12, quint32(directory.size()), 4);
    put(end, 16, quint32(files.size()), 4);
    put(end, 20, 0, 2); // no comment
    return files + directory + end;
}
} // namespace

QByteArray withZipEntry(const QByteArray &zip, const QByteArray &name, const QByteArray &content)
{
    const quint32 crc =
        quint32(crc32(0L, reinterpret_cast<const Bytef *>(content.constData()), uInt(content.size())));
    return withEntryData(zip, name, kStored, crc, content, content.size());
}

QByteArray withDeflatedZipEntry(const QByteArray &zip, const QByteArray &name, const DeflatedPart &content)
{
    if (!content.ok)
        return {};
    return withEntryData(zip, name, kDeflated, content.crc, content.data, content.size);
}
