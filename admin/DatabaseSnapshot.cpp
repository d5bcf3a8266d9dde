#include "DatabaseSnapshot.h"

#include "ServerSession.h"
#include "area/AreaModel.h"
#include "platform/Error.h"

namespace admin {

namespace {

// The kind a stored value stands for in the area window (upper-cased key), or the value
// itself when it is none of the three.
QString kindOfStoredValue(const QString& stored)
{
    const std::optional<AreaType> type = areaTypeFromStoredValue(stored);
    return type ? areaTypeKey(*type) : stored;
}

// Index of a column of rows, matched ignoring case as the dataset's field lookup does;
// raises the same error for a missing one, and like it only when there is a row to read.
int column(const platform::ClientDataset& rows, const QString& name)
{
    if (rows.isEmpty())
        return 0; // never used: there is no row to read
    const QStringList& columns = rows.table().columns;
    for (qsizetype index = 0; index < columns.size(); ++index) {
        if (columns[index].compare(name, Qt::CaseInsensitive) == 0)
            return int(index);
    }
    throw platform::Error(QStringLiteral("Field '%1' not found").arg(name));
}

} // namespace

bool DatabaseSnapshot::load(ServerSession& session, AdminTable table, QString& error)
{
    // The tables run to 100,000 rows: columns are looked up once per table, not per row.
    platform::ClientDataset rows;
    if (table != AdminTable::StorageAreas) {
        if (!session.query(QStringLiteral("select f_qybm, f_qylx from tbQyda"), rows, error))
            return false;
        const int code = column(rows, QStringLiteral("f_qybm"));
        const int kind = column(rows, QStringLiteral("f_qylx"));
        areaKinds.reserve(rows.recordCount());
        for (const QList<platform::Variant>& row : rows.table().rows)
            areaKinds.insert(
                row[code].toText(),
                kindOfStoredValue(row[kind].isNull() ? QString() : row[kind].toText()));
    }
    if (table != AdminTable::Areas) {
        if (!session.query(QStringLiteral("select f_ccqybm from tbCCQyda"), rows, error))
            return false;
        const int code = column(rows, QStringLiteral("f_ccqybm"));
        storageAreas.reserve(rows.recordCount());
        for (const QList<platform::Variant>& row : rows.table().rows)
            storageAreas.insert(row[code].toText());
    }
    if (table == AdminTable::Mappings) {
        if (!session.query(QStringLiteral("select f_qylx, f_qybm, f_ccqybm from tbqydz"), rows,
                           error))
            return false;
        const int kind = column(rows, QStringLiteral("f_qylx"));
        const int area = column(rows, QStringLiteral("f_qybm"));
        const int storageArea = column(rows, QStringLiteral("f_ccqybm"));
        mappedAreas.reserve(rows.recordCount());
        for (const QList<platform::Variant>& row : rows.table().rows)
            mappedAreas.insert(
                mappingKey(kindOfStoredValue(row[kind].toText()), row[storageArea].toText()),
                row[area].toText());
    }
    return true;
}

} // namespace admin
