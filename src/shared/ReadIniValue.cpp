#include "shared/ReadIniValue.h"

#include "platform/IniFile.h"

#include <QDir>

QString ReadIniValue(const QString& fileName, const QString& section, const QString& key,
                     const QString& defaultValue)
{
    const QString path = QDir(platform::hostExecutableDirectory()).filePath(fileName);
    return platform::readPrivateProfileString(path, section, key, defaultValue);
}
