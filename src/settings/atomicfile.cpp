#include "settings/atomicfile.h"

#include <QSaveFile>

bool writeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // A full disk shows only when the buffer goes out: a short write is
    // accepted there, and commit() would then put a cut file in place.
    if (file.write(bytes) != bytes.size() || !file.flush() || file.size() != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
