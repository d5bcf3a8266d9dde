#pragma once

#include <QString>

// The value of key in section of the INI file named fileName in the directory of the host's
// executable (not the module's). Section and key match ignoring case; the value comes back
// without surrounding blanks and quotes, at most 2047 characters. A missing file, section or
// key gives defaultValue; a key present with an empty value gives the empty text.
QString ReadIniValue(const QString& fileName, const QString& section, const QString& key,
                     const QString& defaultValue);
