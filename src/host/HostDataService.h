#pragma once

#include "platform/ClientDataset.h"
#include "platform/Variant.h"
#include "platform/Window.h"

#include <QString>

// Calls of the host's data server (HostContext Server) as the area window makes them.
// Each shows the busy cursor while the server works. A failure of the dispatch mechanism
// raises platform::DispatchError.
namespace HostDataService {

// QueryData: true and data holds the packet, or false and data holds the error payload.
bool queryData(const QString& sql, platform::Variant& data);
// ExecuteBatch: batch is one text; on false it holds the error payload.
bool executeBatch(platform::Variant& batch);

} // namespace HostDataService

// Shows an error payload: every text element followed by CR LF; a payload that is no
// array, or a non-text element, ends the list with "未知错误！"; the last CR LF dropped.
// System message box owned by owner: caption "错误", stop icon, OK.
void ShowServerErrors(platform::WindowHandle owner, const platform::Variant& payload);
// The text ShowServerErrors shows.
QString serverErrorText(const platform::Variant& payload);
