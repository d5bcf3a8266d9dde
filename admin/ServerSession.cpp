#include "ServerSession.h"

#include "platform/CoorDisp.h"
#include "platform/Error.h"

namespace admin {

namespace {

QString payloadText(const platform::Variant& payload)
{
    if (!payload.isArray())
        return payload.isText() ? payload.text() : QStringLiteral("unknown server error");
    QStringList messages;
    for (const platform::Variant& element : payload.elements())
        messages << (element.isText() ? element.text() : QString());
    return messages.join(QLatin1Char('\n'));
}

} // namespace

std::unique_ptr<ServerSession> ServerSession::open(const QString& database,
                                                   const QString& operatorCode, QString& error)
{
    server::DataServerOptions options;
    options.operatorCode = operatorCode;
    return open(database, options, error);
}

std::unique_ptr<ServerSession>
ServerSession::open(const QString& database, server::DataServerOptions options, QString& error)
{
    options.ownerBatches = true;
    auto server = platform::DispatchRef<server::DataServer>::adopt(
        server::DataServer::open(database, options, &error));
    if (!server)
        return nullptr;
    return std::unique_ptr<ServerSession>(new ServerSession(std::move(server)));
}

ServerSession::ServerSession(platform::DispatchRef<server::DataServer> server)
    : m_server(std::move(server))
{
}

bool ServerSession::query(const QString& sql, platform::ClientDataset& rows, QString& error)
{
    try {
        platform::Variant data;
        platform::DispatchArguments arguments{platform::DispatchArgument::byValue(sql),
                                              platform::DispatchArgument::byRef(data)};
        if (!m_server->invoke(platform::CoorDisp::QueryData, arguments).toBool()) {
            error = payloadText(data);
            return false;
        }
        rows.loadPacket(data);
        return true;
    } catch (const platform::Error& failure) {
        error = failure.message();
        return false;
    }
}

bool ServerSession::execute(const QString& batch, QString& error)
{
    try {
        platform::Variant value(batch);
        platform::DispatchArguments arguments{platform::DispatchArgument::byRef(value)};
        if (!m_server->invoke(platform::CoorDisp::ExecuteBatch, arguments).toBool()) {
            error = payloadText(value);
            return false;
        }
        return true;
    } catch (const platform::Error& failure) {
        error = failure.message();
        return false;
    }
}

} // namespace admin
