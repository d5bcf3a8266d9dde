#include "TrailTables.h"

#include <array>

namespace server {

namespace {

const std::array<TrailTable, 4>& tables()
{
    static const std::array<TrailTable, 4> recorded = {{
        {QStringLiteral("tbQyda"),
         {QStringLiteral("f_qybm"), QStringLiteral("f_qymc"), QStringLiteral("f_qylx")},
         {QStringLiteral("f_qybm")}},
        {QStringLiteral("tbCCQyda"),
         {QStringLiteral("f_ccqybm"), QStringLiteral("f_ccqymc")},
         {QStringLiteral("f_ccqybm")}},
        {QStringLiteral("tbqydz"),
         {QStringLiteral("f_qylx"), QStringLiteral("f_qybm"), QStringLiteral("f_ccqybm")},
         {QStringLiteral("f_qylx"), QStringLiteral("f_ccqybm")}},
        {QStringLiteral("tbKjqj"), {QStringLiteral("f_dqny")}, {QStringLiteral("f_dqny")}},
    }};
    return recorded;
}

} // namespace

const TrailTable* TrailTable::find(const QString& name)
{
    for (const TrailTable& table : tables())
        if (table.name.compare(name, Qt::CaseInsensitive) == 0)
            return &table;
    return nullptr;
}

bool TrailTable::sameKey(const QJsonObject& a, const QJsonObject& b) const
{
    for (const QString& column : keyColumns)
        if (a.value(column) != b.value(column))
            return false;
    return true;
}

QString TrailTable::keyText(const QJsonObject& row) const
{
    QStringList parts;
    for (const QString& column : keyColumns)
        parts << row.value(column).toString();
    return parts.join(QLatin1Char('/'));
}

} // namespace server
