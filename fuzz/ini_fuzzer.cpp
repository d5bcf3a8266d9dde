// Writes arbitrary bytes as an INI file and reads a key from it: the reader must answer
// without crashing and never return more than 2047 characters.
#include "platform/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath("fuzz.ini");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char*>(data), qsizetype(size));
    file.close();
    const QString value =
        platform::readPrivateProfileString(path, "ColorOption", "backcolor", "15528176");
    if (value.size() > 2047)
        std::abort();
    return 0;
}
