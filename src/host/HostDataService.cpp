#include "host/HostDataService.h"

#include "host/HostContext.h"
#include "platform/BusyCursor.h"
#include "platform/CoorDisp.h"
#include "platform/Error.h"
#include "platform/MessageBox.h"

namespace {

platform::DispatchObject& server()
{
    platform::DispatchObject* object = hostContext().Server.get();
    if (!object)
        throw platform::Error(QStringLiteral("No data server"));
    return *object;
}

} // namespace

namespace HostDataService {

bool queryData(const QString& sql, platform::Variant& data)
{
    platform::DispatchObject& target = server();
    platform::BusyCursor busy;
    data = platform::Variant();
    platform::DispatchArguments arguments;
    arguments.push_back(platform::DispatchArgument::byValue(platform::Variant(sql)));
    arguments.push_back(platform::DispatchArgument::byRef(data));
    return target.invoke(platform::CoorDisp::QueryData, arguments).toBool();
}

bool executeBatch(platform::Variant& batch)
{
    platform::DispatchObject& target = server();
    platform::BusyCursor busy;
    platform::DispatchArguments arguments;
    arguments.push_back(platform::DispatchArgument::byRef(batch));
    return target.invoke(platform::CoorDisp::ExecuteBatch, arguments).toBool();
}

} // namespace HostDataService

void ShowServerErrors(platform::WindowHandle owner, const platform::Variant& payload)
{
    platform::showMessageBox(owner, serverErrorText(payload), QStringLiteral("错误"),
                             platform::MessageBoxButtons::Ok, platform::MessageBoxIcon::Stop);
}
