#include "history/valuebytes.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace {

constexpr int kValueBytes = int(sizeof(float));
static_assert(sizeof(float) == sizeof(quint32), "values are stored as 32-bit numbers");

} // namespace

QByteArray valuesToBytes(const QVector<float> &values)
{
    // Not null even when empty: a null array would be stored as NULL.
    QByteArray bytes(values.size() * kValueBytes, Qt::Uninitialized);
    qToLittleEndian<float>(values.constData(), values.size(), bytes.data());
    return bytes;
}

bool valuesFromBytes(const QByteArray &bytes, QVector<float> *values)
{
    if (bytes.size() % kValueBytes != 0)
        return false;
    values->resize(bytes.size() / kValueBytes);
    qFromLittleEndian<float>(bytes.constData(), values->size(), values->data());
    return true;
}

qint64 blockKey(const QString &name, const QByteArray &valueBytes)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const QByteArray nameBytes = name.toUtf8();
    // The name's length first, so that no name and values pair reads as another.
    const quint32 nameLength = qToLittleEndian<quint32>(quint32(nameBytes.size()));
    hash.addData(reinterpret_cast<const char *>(&nameLength), int(sizeof nameLength));
    hash.addData(nameBytes);
    hash.addData(valueBytes);
    return qFromLittleEndian<qint64>(hash.result().constData());
}
