// The settings loader on arbitrary file contents: parse, convert every key,
// decode the logo. Nothing may crash, hang or allocate without bound.

#include "settingsvalues.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const SettingsValues values = settingsFromObject(parseConfig(bytes));
    QJsonObject out;
    storeSettingsValues(values, out);
    return 0;
}
