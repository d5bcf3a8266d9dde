#include "MemoryDataServer.h"

#include <nelvo/platform/CoorDisp.h>
#include <nelvo/platform/DataPacket.h>
#include <nelvo/platform/Error.h>

#include <QDateTime>

using platform::DataTable;
using platform::Variant;
namespace CoorDisp = platform::CoorDisp;

namespace {

// Every parameter the module insists on, each with a value every rule accepts.
const char* const MandatoryParameters =
    "qyny rqssj dwmc ysjscdjdbm sjkbbh hykls ysqr sh dz fgckjb jsxtfs jjcbhsff sjcbhsff cbjzfs "
    "lxdh khh zh sljd lskz psysjscdjd cskz zrrkz dddyhs brddyhs brdhscfs bcddyhs tjddyhs "
    "bcdhscfs sgddyhs sgdhscfs ykddyhs ykdhscfs dbddyhs dbdhscfs jgddyhs jgdhscfs tbddyhs "
    "tbdhscfs syddyhs sydhscfs ysddyhs ysdhscfs pdbdyhs pdbhscfs thddyhs ptfpdyhs "
    "thcpbxxdythqd zjdyfs ddysfs hsdwh dpckbm dpjfs thjjclfs ddyszzfs ddyxrqqy ysfs khzqqy "
    "zkhwlqy xsfkz hyklwms yckqzj jhddyhs";

Variant packet(const DataTable& table)
{
    return Variant(platform::encodePacket(table));
}

DataTable areas()
{
    return {{"f_qybm", "f_qymc", "f_qylx"},
            {{"A01", "食品拣货区", "PICK"},
             {"P01", "东一补货区", "PUT"},
             {"M01", "整件拣货管理区", "MPICK"}}};
}

DataTable storageAreas()
{
    DataTable table{{"f_ccqybm", "f_ccqymc"}, {}};
    for (int i = 1; i <= MemoryDataServer::StorageAreaCount; ++i)
        table.rows.append({QStringLiteral("S%1").arg(i, 3, 10, QLatin1Char('0')),
                           QStringLiteral("一号库区%1排").arg(i)});
    return table;
}

DataTable parameters()
{
    DataTable table{{"f_Csmc", "f_csz"}, {{"dwlx", "00"}}};
    for (const QString& name : QString::fromLatin1(MandatoryParameters).split(u' '))
        table.rows.append({name, "1"});
    return table;
}

QString now(const char* format)
{
    return QDateTime::currentDateTime().toString(QLatin1String(format));
}

} // namespace

Variant MemoryDataServer::dispatch(int32_t dispId, platform::DispatchArguments& arguments)
{
    switch (dispId) {
    case CoorDisp::QueryData:
        return queryData(arguments.at(0).value().toText(), arguments.at(1));
    case CoorDisp::ExecuteBatch:
        return refuse(QStringLiteral("ExecuteBatch"), arguments.at(0));
    case CoorDisp::GetServerYearMonth:
        arguments.at(0).setValue(now("yyyyMM"));
        return true;
    case CoorDisp::GetServerDate:
        arguments.at(0).setValue(now("yyyyMMdd"));
        return true;
    case CoorDisp::GetServerDateTime:
        arguments.at(0).setValue(now("yyyy-MM-dd hh:mm:ss"));
        return true;
    case CoorDisp::GetEmployeeName:
        arguments.at(1).setValue(packet({{"f_zymc"}, {{"张明"}}}));
        return true;
    case CoorDisp::GetDatabaseType:
        return "SQLSERVER";
    case CoorDisp::GetSystemParameters:
        arguments.at(0).setValue(packet(parameters()));
        return true;
    }
    unanswered.append(QStringLiteral("dispatch id %1").arg(dispId));
    throw platform::DispatchError(QStringLiteral("Unknown dispatch id %1").arg(dispId));
}

bool MemoryDataServer::queryData(const QString& sql, platform::DispatchArgument& data)
{
    const QString query = sql.simplified().toLower();
    if (query == u"select * from tbqyda order by f_qybm") {
        data.setValue(packet(areas()));
        return true;
    }
    if (query == u"select * from tbccqyda") {
        data.setValue(packet(storageAreas()));
        return true;
    }
    return refuse(sql, data);
}

bool MemoryDataServer::refuse(const QString& call, platform::DispatchArgument& data)
{
    unanswered.append(call);
    data.setValue(Variant::array({Variant(QStringLiteral("not answered: ") + call)}));
    return false;
}
