#include "shared/SysmsgLoader.h"

#include "platform/CoorDisp.h"
#include "platform/Error.h"
#include "shared/ParameterCatalogue.h"
#include "shared/ParameterRows.h"

#include <exception>

using platform::DispatchArgument;
using platform::DispatchArguments;
using platform::Variant;

namespace {

// Ends the load with a message of its own.
struct LoadFailure {
    QString message;
};

void failUnless(bool succeeded, const char* message)
{
    if (!succeeded)
        throw LoadFailure{QString::fromUtf8(message)};
}

platform::DispatchObject& serverOf(const SysmsgSession& session)
{
    if (!session.server)
        throw platform::Error(QStringLiteral("No data server is available"));
    return *session.server;
}

// A server call whose only argument is callData by reference; answers its boolean result.
bool callWithData(SysmsgSession& session, int32_t dispId)
{
    return serverOf(session).invoke(dispId, {DispatchArgument::byRef(session.callData)}).toBool();
}

bool onlyServerValuesSelected(const TsysmsgItems& items)
{
    const TsysmsgItems serverValues{TsysmsgItem::curYearMonth, TsysmsgItem::curDate,
                                    TsysmsgItem::operatorName};
    return (items - serverValues).isEmpty();
}

// Steps 1 to 9 of the load; a failure leaves by LoadFailure or by a raised error.
void load(SysmsgSession& session, TsysmsgInfo& info, const TsysmsgItems& items)
{
    info.dbType = session.dbType;

    if (items.contains(TsysmsgItem::curYearMonth)) {
        failUnless(callWithData(session, platform::CoorDisp::GetServerYearMonth),
                   "取得当前年月时出错！");
        info.curYearMonth = session.callData.toText();
    }
    if (items.contains(TsysmsgItem::curDateTime)) {
        failUnless(callWithData(session, platform::CoorDisp::GetServerDateTime),
                   "取得当前日期时间时出错！");
        info.curDateTime = session.callData.toText();
    }
    if (items.contains(TsysmsgItem::curDate)) {
        failUnless(callWithData(session, platform::CoorDisp::GetServerDate),
                   "取得当前日期时出错！");
        info.curDate = session.callData.toText().left(8);
    }
    if (items.contains(TsysmsgItem::operatorName) && !info.operatorCode.isEmpty()) {
        session.callData = Variant(info.operatorCode);
        DispatchArguments arguments{DispatchArgument::byValue(int32_t(1)),
                                    DispatchArgument::byRef(session.callData)};
        failUnless(
            serverOf(session).invoke(platform::CoorDisp::GetEmployeeName, arguments).toBool(),
            "取得制单人名称时出错！！");
        session.dataSet.loadPacket(session.callData);
        // No employee row: the operator is unknown, a failure of this step like a failed call.
        session.dataSet.first();
        failUnless(!session.dataSet.eof(), "取得制单人名称时出错！！");
        info.operatorName = session.dataSet.fieldText(QStringLiteral("f_zymc"));
    }
    if (onlyServerValuesSelected(items))
        return;

    failUnless(callWithData(session, platform::CoorDisp::GetSystemParameters),
               "取得系统参数时出错！");
    session.dataSet.loadPacket(session.callData);

    ParameterRows rows(session.dataSet);
    Variant unitType;
    failUnless(rows.find(QStringLiteral("dwlx"), false, unitType), "没有可利用的单位类型！");
    info.dwlx = unitType.toText();
    session.unitType = info.dwlx;

    QString parameterError;
    if (!ApplyParameterCatalogue(rows, items, info, parameterError))
        throw LoadFailure{parameterError};
}

} // namespace

bool GetSysmsgInfo(SysmsgSession& session, TsysmsgInfo& info, const TsysmsgItems& items,
                   QString& errorText)
{
    try {
        load(session, info, items);
        return true;
    } catch (const LoadFailure& failure) {
        errorText = failure.message;
    } catch (const platform::Error& error) {
        errorText = error.message();
    } catch (const std::exception& error) {
        errorText = QString::fromLocal8Bit(error.what());
    }
    return false;
}
