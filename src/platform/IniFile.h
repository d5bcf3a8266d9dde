#pragma once

#include "PlatformExport.h"

#include <QString>

namespace platform {

// Private-profile reading: the value of key in section of the INI file at path. Section
// and key names match ignoring case; the value comes back without surrounding blanks and
// one pair of surrounding quotes, at most 2047 characters. A missing file, section or key
// gives defaultValue; a key present with an empty value gives the empty text.
PLATFORM_EXPORT QString readPrivateProfileString(const QString& path, const QString& section,
                                                 const QString& key, const QString& defaultValue);

// Directory of the executable of the running process (the host program), not of a module.
PLATFORM_EXPORT QString hostExecutableDirectory();

} // namespace platform
