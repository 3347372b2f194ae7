#pragma once

#include <QString>

namespace platform {

// The per-user settings store. An application name of two levels, "Vendor\Program", is kept by QSettings
// under organisation "Vendor" and application "Program" in the native format: on Linux the file
// $XDG_CONFIG_HOME/Vendor/Program.conf (~/.config by default), the section a group and the key a value in it.
// A value that carries a file name's bytes that are no text (see FileName.h) is stored as those bytes, so
// that it reads back the same. On Windows the store is the registry branch of the classic SaveSetting,
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings, the application name's levels and the section
// nested keys below it; values are paths there, kept with "\" as the suite's own launcher keeps them.

// The stored string, or defaultValue when the value or any level above it is missing.
// Error 70 when the store may not be read, 75 when it cannot be understood.
QString getSetting(const QString& appName, const QString& section, const QString& key, const QString& defaultValue);

// Stores value, creating missing levels and replacing an earlier value, and writes it through at once.
// A store that cannot be understood is replaced by one holding just this value.
// Error 70 when the store may not be written, 75 for any other failure.
void saveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);

} // namespace platform
