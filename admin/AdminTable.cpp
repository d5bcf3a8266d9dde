#include "AdminTable.h"

#include "area/AreaModel.h"

namespace admin {

std::optional<AdminTable> adminTableFromWord(const QString& word)
{
    if (word == QLatin1String("areas"))
        return AdminTable::Areas;
    if (word == QLatin1String("storage-areas"))
        return AdminTable::StorageAreas;
    if (word == QLatin1String("mappings"))
        return AdminTable::Mappings;
    return std::nullopt;
}

QString adminTableRowNoun(AdminTable table, bool plural)
{
    switch (table) {
    case AdminTable::Areas:
        return plural ? QStringLiteral("areas") : QStringLiteral("area");
    case AdminTable::StorageAreas:
        return plural ? QStringLiteral("storage areas") : QStringLiteral("storage area");
    case AdminTable::Mappings:
        break;
    }
    return plural ? QStringLiteral("mappings") : QStringLiteral("mapping");
}

QString adminTableSqlName(AdminTable table)
{
    switch (table) {
    case AdminTable::Areas:
        return QStringLiteral("tbQyda");
    case AdminTable::StorageAreas:
        return QStringLiteral("tbCCQyda");
    case AdminTable::Mappings:
        break;
    }
    return QStringLiteral("tbqydz");
}

QStringList adminTableColumns(AdminTable table)
{
    switch (table) {
    case AdminTable::Areas:
        return {QStringLiteral("f_qybm"), QStringLiteral("f_qymc"), QStringLiteral("f_qylx")};
    case AdminTable::StorageAreas:
        return {QStringLiteral("f_ccqybm"), QStringLiteral("f_ccqymc")};
    case AdminTable::Mappings:
        break;
    }
    return {QStringLiteral("f_qylx"), QStringLiteral("f_qybm"), QStringLiteral("f_ccqybm")};
}

QList<int> adminTableSortColumns(AdminTable table)
{
    // Areas and storage areas by code; mappings by kind, area and storage area.
    return table == AdminTable::Mappings ? QList<int>{0, 1, 2} : QList<int>{0};
}

QString insertStatements(AdminTable table, const QList<QStringList>& rows, int rowsPerStatement)
{
    const QString head =
        QStringLiteral("insert into %1 (%2) values\n")
            .arg(adminTableSqlName(table), adminTableColumns(table).join(QLatin1String(", ")));
    QString text;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        text += i % rowsPerStatement == 0 ? head : QStringLiteral(",\n");
        text += QLatin1Char('(');
        const QStringList& values = rows.at(i);
        for (qsizetype column = 0; column < values.size(); ++column) {
            if (column > 0)
                text += QLatin1String(", ");
            text += QLatin1Char('\'') + EscapeSqlLiteral(values.at(column)) + QLatin1Char('\'');
        }
        text += QLatin1Char(')');
        if ((i + 1) % rowsPerStatement == 0 || i + 1 == rows.size())
            text += QLatin1String(";\n");
    }
    return text;
}

QStringList areaKindKeys()
{
    QStringList keys;
    for (AreaType type : AllAreaTypes)
        keys << areaTypeKey(type);
    return keys;
}

} // namespace admin
