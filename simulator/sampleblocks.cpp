#include "sampleblocks.h"

#include <QRandomGenerator>
#include <QtMath>

namespace {

constexpr quint32 kSeed = 20240517;

// Readings scattered around a nominal value with a slow drift, as a probe
// moved along a part gives them; rounded to the instrument's resolution.
QVector<float> readings(QRandomGenerator &random, int count, double nominal, double spread, double resolution)
{
    QVector<float> values;
    values.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double drift = 0.3 * spread * qSin(i / 40.0);
        const double noise = spread * (random.generateDouble() * 2.0 - 1.0);
        const double value = nominal + drift + noise;
        values.append(static_cast<float>(qRound(value / resolution) * resolution));
    }
    return values;
}

QString numbered(const QString &text, int number)
{
    return QStringLiteral("%1 %2").arg(text).arg(number, 4, 10, QLatin1Char('0'));
}

} // namespace

QVector<SimulatedBlock> sampleBlocks()
{
    QRandomGenerator random(kSeed);
    QVector<SimulatedBlock> blocks;
    blocks.append({numbered(QStringLiteral("Т"), 1), readings(random, 12, 4.8, 0.15, 0.01)});
    blocks.append({numbered(QStringLiteral("Т"), 2), readings(random, 250, 12.3, 0.4, 0.01)});
    blocks.append({numbered(QStringLiteral("Сварной шов"), 3), readings(random, 1000, 196.0, 14.0, 1.0)});
    blocks.append({numbered(QStringLiteral("Lot A-17"), 4), readings(random, 3000, 142.0, 9.0, 0.1)});
    blocks.append({numbered(QStringLiteral("Корпус насоса"), 5), readings(random, 5, 27.5, 1.2, 0.1)});
    blocks.append({numbered(QStringLiteral("Flange DN80"), 6), readings(random, 64, 9.75, 0.3, 0.01)});
    blocks.append({numbered(QStringLiteral("Пустой"), 7), {}});
    return blocks;
}

QVector<SimulatedBlock> uniformBlocks(int count, int valuesPerBlock)
{
    QRandomGenerator random(kSeed);
    QVector<SimulatedBlock> blocks;
    for (int i = 0; i < count; ++i)
        blocks.append(
            {numbered(QStringLiteral("B"), i + 1), readings(random, valuesPerBlock, 50.0, 5.0, 0.1)});
    return blocks;
}
