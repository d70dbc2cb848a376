// The settings loader on arbitrary file contents: parse, convert every key,
// decode the logo. Nothing may crash, hang or allocate without bound.

#include "settings/settingsfile.h"
#include "settings/settingsvalues.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

// Qt's own JSON parser loses the earlier value of a duplicated key when that
// value is an object or an array ({"x":{},"x":1}). Allocations made inside Qt
// Core are therefore not counted as leaks here; a leak made by our own code
// starts in our frames and is still reported.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libQt5Core.so.5\n";
}

extern "C" const char *__lsan_default_options()
{
    return "print_suppressions=0";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<int>(size));
    const SettingsValues values = settingsFromObject(parseConfig(bytes));
    QJsonObject out;
    storeSettingsValues(values, out);
    return 0;
}
