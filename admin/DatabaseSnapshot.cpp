#include "DatabaseSnapshot.h"

#include "ServerSession.h"
#include "area/AreaModel.h"

namespace admin {

namespace {

// The kind a stored value stands for in the area window (upper-cased key), or the value
// itself when it is none of the three.
QString kindOfStoredValue(const QString& stored)
{
    const std::optional<AreaType> type = areaTypeFromStoredValue(stored);
    return type ? areaTypeKey(*type) : stored;
}

} // namespace

bool DatabaseSnapshot::load(ServerSession& session, AdminTable table, QString& error)
{
    platform::ClientDataset rows;
    if (table != AdminTable::StorageAreas) {
        if (!session.query(QStringLiteral("select f_qybm, f_qylx from tbQyda"), rows, error))
            return false;
        for (rows.first(); !rows.eof(); rows.next())
            areaKinds.insert(rows.fieldText(QStringLiteral("f_qybm")),
                             kindOfStoredValue(rows.fieldValue(QStringLiteral("f_qylx")).isNull()
                                                   ? QString()
                                                   : rows.fieldText(QStringLiteral("f_qylx"))));
    }
    if (table != AdminTable::Areas) {
        if (!session.query(QStringLiteral("select f_ccqybm from tbCCQyda"), rows, error))
            return false;
        for (rows.first(); !rows.eof(); rows.next())
            storageAreas.insert(rows.fieldText(QStringLiteral("f_ccqybm")));
    }
    if (table == AdminTable::Mappings) {
        if (!session.query(QStringLiteral("select f_qylx, f_qybm, f_ccqybm from tbqydz"), rows,
                           error))
            return false;
        for (rows.first(); !rows.eof(); rows.next())
            mappedAreas.insert(
                mappingKey(kindOfStoredValue(rows.fieldText(QStringLiteral("f_qylx"))),
                           rows.fieldText(QStringLiteral("f_ccqybm"))),
                rows.fieldText(QStringLiteral("f_qybm")));
    }
    return true;
}

} // namespace admin
