#pragma once

#include "settings/settingsfile.h"
#include "settings/settingsvalues.h"

#include <QJsonObject>

// config.json over one run: read once at start-up, written back at exit with
// the keys this program does not know kept, and never over a file it could
// not parse unless that file's copy was made.
class SettingsSession
{
public:
    // Reads the file; an unparsable one is copied aside first.
    SettingsSession();

    // The values found, the logo left as its stored text (decoded elsewhere).
    SettingsValues startValues() const;
    // The file held something that is no JSON object.
    bool unreadable() const;
    // ...and its bytes were kept as unreadableConfigPath().
    bool keptAside() const;

    // Writes the values back; false when the file was not written. The file
    // as start-up read it is the base, unless something else wrote it since.
    bool store(SettingsValues values);

private:
    ConfigAtStart found;
};
