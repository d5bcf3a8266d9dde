#pragma once

#include "platform/ClientDataset.h"
#include "platform/CoorDisp.h"
#include "server/DataServer.h"

// Runs one query on database through a data server of its own, as a second client would,
// into dataset; the failure, empty when the query ran.
inline QString queryDatabase(const QString& database, const QString& sql,
                             platform::ClientDataset& dataset)
{
    QString error;
    auto server = platform::DispatchRef<server::DataServer>::adopt(server::DataServer::open(
        database, {.operatorCode = {}, .sqlTraceFile = {}, .createSchema = true}, &error));
    if (!server)
        return error.isEmpty() ? QStringLiteral("<no server>") : error;
    platform::Variant data;
    platform::DispatchArguments call{platform::DispatchArgument::byValue(sql),
                                     platform::DispatchArgument::byRef(data)};
    if (!server->invoke(platform::CoorDisp::QueryData, call).toBool())
        return QStringLiteral("<query failed>");
    dataset.loadPacket(data);
    return {};
}
