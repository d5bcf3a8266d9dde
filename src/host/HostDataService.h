#pragma once

#include "host/ServerErrorText.h"
#include "platform/Variant.h"
#include "platform/Window.h"

#include <QString>

// Calls of the host's data server (HostContext Server) as the area window makes them.
// Each shows the busy cursor while the server works. A failure of the dispatch mechanism
// raises platform::DispatchError; no server at all raises platform::Error.
namespace HostDataService {

// QueryData: true and data holds the packet, or false and data holds the error payload.
bool queryData(const QString& sql, platform::Variant& data);
// ExecuteBatch: batch is one text; on false it holds the error payload.
bool executeBatch(platform::Variant& batch);

} // namespace HostDataService

// Shows serverErrorText(payload) in a system message box owned by owner: caption "错误",
// stop icon, OK. Returns when the user has closed it.
void ShowServerErrors(platform::WindowHandle owner, const platform::Variant& payload);
