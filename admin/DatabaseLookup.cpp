#include "DatabaseLookup.h"

#include "AdminTable.h"
#include "ImportKeys.h"
#include "area/AreaModel.h"
#include "server/WorkTransaction.h"

namespace admin::DatabaseLookup {

namespace {

// The kind a stored value stands for in the area window (upper-cased key), or the value
// itself when it is none of the three.
QString kindOfStoredValue(const platform::Variant& stored)
{
    const QString text = stored.isNull() ? QString() : stored.toText();
    const std::optional<AreaType> type = areaTypeFromStoredValue(text);
    return type ? areaTypeKey(*type) : text;
}

} // namespace

bool areaKinds(server::WorkTransaction& work, const QStringList& codes,
               QHash<QString, QString>& kinds, QString& error)
{
    kinds.clear();
    if (codes.isEmpty())
        return true;
    platform::DataTable rows;
    if (!work.query(QStringLiteral("select f_qybm, f_qylx from tbQyda where f_qybm in (%1)")
                        .arg(sqlLiteralList(codes)),
                    rows, &error))
        return false;
    for (const QList<platform::Variant>& row : std::as_const(rows.rows))
        kinds.insert(row[0].toText(), kindOfStoredValue(row[1]));
    return true;
}

bool storageAreas(server::WorkTransaction& work, const QStringList& codes, QSet<QString>& found,
                  QString& error)
{
    found.clear();
    if (codes.isEmpty())
        return true;
    platform::DataTable rows;
    if (!work.query(QStringLiteral("select f_ccqybm from tbCCQyda where f_ccqybm in (%1)")
                        .arg(sqlLiteralList(codes)),
                    rows, &error))
        return false;
    for (const QList<platform::Variant>& row : std::as_const(rows.rows))
        found.insert(row[0].toText());
    return true;
}

bool mappingKindSpellings(server::WorkTransaction& work, QStringList& spellings, QString& error)
{
    platform::DataTable rows;
    if (!work.query(QStringLiteral("select distinct f_qylx from tbqydz"), rows, &error))
        return false;
    spellings = areaKindKeys();
    for (const QList<platform::Variant>& row : std::as_const(rows.rows)) {
        if (!spellings.contains(row[0].toText()))
            spellings << row[0].toText();
    }
    return true;
}

bool mappedAreas(server::WorkTransaction& work, const QStringList& kindSpellings,
                 const QStringList& storageAreaCodes, QHash<QString, QString>& areas,
                 QString& error)
{
    areas.clear();
    if (storageAreaCodes.isEmpty())
        return true;
    platform::DataTable rows;
    if (!work.query(QStringLiteral("select f_qylx, f_qybm, f_ccqybm from tbqydz "
                                   "where f_qylx in (%1) and f_ccqybm in (%2)")
                        .arg(sqlLiteralList(kindSpellings), sqlLiteralList(storageAreaCodes)),
                    rows, &error))
        return false;
    for (const QList<platform::Variant>& row : std::as_const(rows.rows))
        areas.insert(mappingKey(kindOfStoredValue(row[0]), row[2].toText()), row[1].toText());
    return true;
}

} // namespace admin::DatabaseLookup
