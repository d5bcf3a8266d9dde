#include "area/AreaModel.h"

namespace {

struct AreaTypeEntry {
    AreaType type;
    const char* key;
    const char* rootLabel;
};

// Index, key and root label of each kind, in tree-root and dialog-index order.
constexpr std::array<AreaTypeEntry, 3> AreaTypeTable{{
    {AreaType::PICK, "PICK", "拣货区域(PICK)"},
    {AreaType::PUT, "PUT", "上架补货区域(PUT)"},
    {AreaType::MPICK, "MPICK", "拣货管理区域(MPICK)"},
}};

const AreaTypeEntry& entryOf(AreaType type)
{
    return AreaTypeTable[size_t(type)];
}

// Upper-cases the ASCII letters a-z only; every other character is kept as it is.
QString asciiUpper(const QString& value)
{
    QString result = value;
    for (QChar& c : result) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return result;
}

} // namespace

QString areaTypeKey(AreaType type)
{
    return QString::fromLatin1(entryOf(type).key);
}

QString areaTypeRootLabel(AreaType type)
{
    return QString::fromUtf8(entryOf(type).rootLabel);
}

std::optional<AreaType> areaTypeFromRootLabel(const QString& label)
{
    for (const AreaTypeEntry& entry : AreaTypeTable) {
        if (label == QString::fromUtf8(entry.rootLabel))
            return entry.type;
    }
    return std::nullopt;
}

std::optional<AreaType> areaTypeFromStoredValue(const QString& value)
{
    const QString upper = asciiUpper(value);
    for (const AreaTypeEntry& entry : AreaTypeTable) {
        if (upper == QLatin1String(entry.key))
            return entry.type;
    }
    return std::nullopt;
}

std::optional<AreaType> areaTypeFromIndex(int index)
{
    if (index < 0 || index >= int(AreaTypeTable.size()))
        return std::nullopt;
    return AreaTypeTable[size_t(index)].type;
}

QString CodeOfText(const QString& text)
{
    const qsizetype blank = text.indexOf(u' ');
    return blank < 0 ? QString() : text.left(blank);
}

QString NameOfText(const QString& text)
{
    const qsizetype blank = text.indexOf(u' ');
    return blank < 0 ? text : text.mid(blank + 1);
}

QString DisplayText(const QString& code, const QString& name)
{
    return code + u' ' + name;
}

QString EscapeSqlLiteral(const QString& value)
{
    QString escaped = value;
    escaped.replace(u'\'', QStringLiteral("''"));
    return escaped;
}
