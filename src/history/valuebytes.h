#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Values as stored: little-endian single-precision numbers, bit for bit, so
// that NaN payloads, infinities and subnormals come back unchanged.
QByteArray valuesToBytes(const QVector<float> &values);

// The values of stored bytes; false when their length is no whole number of values.
bool valuesFromBytes(const QByteArray &bytes, QVector<float> *values);

// A stable 64-bit key of a block's name and values bytes, the same in every
// process; equal keys still need a comparison of the blocks themselves.
qint64 blockKey(const QString &name, const QByteArray &valueBytes);
