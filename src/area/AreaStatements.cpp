#include "area/AreaStatements.h"

#include "area/AreaModel.h"

namespace AreaStatements {

QString areaTreeQuery()
{
    return QStringLiteral("Select * from tbQyda order by f_qybm ");
}

QString storageAreasQuery()
{
    return QStringLiteral("Select * from tbCCQyda ");
}

QString mappedStorageAreasQuery(const QString& kindKey, const QString& areaCode)
{
    return QStringLiteral(" select dz.*,ccqy.f_ccqymc from tbqydz dz left join tbccqyda ccqy "
                          "on dz.f_ccqybm=ccqy.f_ccqybm  where f_qylx='") +
           EscapeSqlLiteral(kindKey) + QStringLiteral("' and dz.f_qybm='") +
           EscapeSqlLiteral(areaCode) + QStringLiteral("' order by dz.f_ccqybm ");
}

QString kindMappingQuery(const QString& kindKey)
{
    return QStringLiteral("select f_qybm,f_ccqybm,f_qylx from tbqydz where f_qylx='") +
           EscapeSqlLiteral(kindKey) + u'\'';
}

QString mapSelectedStatement(const QString& kindKey, const QString& areaCode,
                             const QString& storageCode)
{
    return QStringLiteral("Insert into tbQydz(f_qylx,f_qybm,f_ccqybm) values('") +
           EscapeSqlLiteral(kindKey) + QStringLiteral("','") + EscapeSqlLiteral(areaCode) +
           QStringLiteral("','") + EscapeSqlLiteral(storageCode) + QStringLiteral("'); ");
}

QString unmapSelectedStatement(const QString& kindKey, const QString& areaCode,
                               const QString& storageCode)
{
    return QStringLiteral("delete from  tbqydz  where f_qylx='") + EscapeSqlLiteral(kindKey) +
           QStringLiteral("' and f_qybm='") + EscapeSqlLiteral(areaCode) +
           QStringLiteral("' and  f_ccqybm='") + EscapeSqlLiteral(storageCode) +
           QStringLiteral("'; ");
}

QString mapAllStatement(const QString& kindKey, const QString& areaCode, const QString& storageCode)
{
    return QStringLiteral("insert into  tbqydz(f_qylx,f_qybm,f_ccqybm) values('") +
           EscapeSqlLiteral(kindKey) + QStringLiteral("','") + EscapeSqlLiteral(areaCode) +
           QStringLiteral("','") + EscapeSqlLiteral(storageCode) + QStringLiteral("') ;");
}

QString unmapAllStatement(const QString& kindKey, const QString& areaCode)
{
    return QStringLiteral("Delete from tbqydz where f_qylx='") + EscapeSqlLiteral(kindKey) +
           QStringLiteral("' and f_qybm='") + EscapeSqlLiteral(areaCode) + u'\'';
}

QString areaCodeQuery(const QString& areaCode)
{
    return QStringLiteral("Select f_qybm from tbqyda where f_qybm='") + EscapeSqlLiteral(areaCode) +
           u'\'';
}

QString areaNameQuery(const QString& areaCode)
{
    return QStringLiteral("Select f_qymc from tbqyda where f_qybm='") + EscapeSqlLiteral(areaCode) +
           u'\'';
}

QString insertAreaStatement(const QString& areaCode, const QString& areaName,
                            const QString& kindKey)
{
    return QStringLiteral("Insert into tbqyda(f_qybm,f_qymc,f_qylx) values('") +
           EscapeSqlLiteral(areaCode) + QStringLiteral("','") + EscapeSqlLiteral(areaName) +
           QStringLiteral("','") + EscapeSqlLiteral(kindKey) + QStringLiteral("')");
}

QString updateAreaStatement(const QString& areaName, const QString& areaCode,
                            const QString& kindKey)
{
    return QStringLiteral("update tbqyda set f_qymc ='") + EscapeSqlLiteral(areaName) +
           QStringLiteral("' where f_qybm='") + EscapeSqlLiteral(areaCode) +
           QStringLiteral("' and f_qylx='") + EscapeSqlLiteral(kindKey) + u'\'';
}

QString areaMappingsQuery(const QString& kindKey, const QString& areaCode)
{
    return QStringLiteral("Select * from tbqydz where f_qylx='") + EscapeSqlLiteral(kindKey) +
           QStringLiteral("' and f_qybm='") + EscapeSqlLiteral(areaCode) + u'\'';
}

QString deleteAreaStatement(const QString& kindKey, const QString& areaCode)
{
    return QStringLiteral("Delete from tbqyda where f_qylx='") + EscapeSqlLiteral(kindKey) +
           QStringLiteral("' and f_qybm='") + EscapeSqlLiteral(areaCode) + u'\'';
}

} // namespace AreaStatements
