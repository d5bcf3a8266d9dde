#include "IniFile.h"

#include "TextCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace platform {

namespace {

constexpr qsizetype maximumValueLength = 2047; // the reader's 2048-byte buffer

QString trimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && (text[begin] == u' ' || text[begin] == u'\t'))
        ++begin;
    while (end > begin &&
           (text[end - 1] == u' ' || text[end - 1] == u'\t' || text[end - 1] == u'\r'))
        --end;
    return text.mid(begin, end - begin);
}

QString removeQuotes(const QString& value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// The file's text: UTF-8 after a byte-order mark, else the host's code page.
QString readFileText(const QString& path, bool& found)
{
    QFile file(path);
    found = file.open(QIODevice::ReadOnly);
    if (!found)
        return QString();
    const QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return decodeGb18030(bytes);
}

// The raw value of the first matching key in the first matching section, if any.
std::optional<QString> findValue(const QString& text, const QString& section, const QString& key)
{
    bool inSection = false;
    bool sectionSeen = false;
    for (const QStringView rawLine : QStringView(text).split(u'\n')) {
        const QString line = trimBlanks(rawLine.toString());
        if (line.startsWith(u'[')) {
            if (sectionSeen)
                return std::nullopt;
            const qsizetype close = line.indexOf(u']');
            const QString name = trimBlanks(line.mid(1, close < 0 ? -1 : close - 1));
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            sectionSeen = inSection;
            continue;
        }
        if (!inSection || line.startsWith(u';'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        if (trimBlanks(line.left(equals)).compare(key, Qt::CaseInsensitive) == 0)
            return trimBlanks(line.mid(equals + 1));
    }
    return std::nullopt;
}

} // namespace

QString readPrivateProfileString(const QString& path, const QString& section, const QString& key,
                                 const QString& defaultValue)
{
    bool found = false;
    const QString text = readFileText(path, found);
    const std::optional<QString> value =
        found ? findValue(text, section, key) : std::optional<QString>();
    return (value ? removeQuotes(*value) : defaultValue).left(maximumValueLength);
}

QString hostExecutableDirectory()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}

} // namespace platform
