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
    return std::make_unique<ServerSession>(std::move(server), withoutPassword(database));
}

ServerSession::ServerSession(platform::DispatchRef<server::DataServer> server, QString shownName)
    : m_server(std::move(server)), m_shownName(std::move(shownName))
{
}

QString ServerSession::withoutPassword(const QString& database)
{
    if (!server::DataServer::isPostgresUri(database))
        return database;
    // scheme://[user[:password]@]host.../path?key=value&...
    QString shown = database;
    const qsizetype hostStart = shown.indexOf(QLatin1String("://")) + 3;
    qsizetype authorityEnd = shown.size();
    for (const QChar end : {u'/', u'?', u'#'}) {
        const qsizetype at = shown.indexOf(end, hostStart);
        if (at >= 0)
            authorityEnd = qMin(authorityEnd, at);
    }
    const qsizetype userEnd = shown.lastIndexOf(u'@', authorityEnd - 1);
    if (userEnd >= hostStart) {
        const qsizetype colon = shown.indexOf(u':', hostStart);
        if (colon >= 0 && colon < userEnd)
            shown.remove(colon, userEnd - colon);
    }
    const qsizetype query = shown.indexOf(u'?');
    if (query < 0)
        return shown;
    QStringList parameters = shown.mid(query + 1).split(u'&');
    parameters.removeIf([](const QString& parameter) {
        return parameter.section(u'=', 0, 0)
                   .compare(QLatin1String("password"), Qt::CaseInsensitive) == 0;
    });
    shown.truncate(query);
    return parameters.isEmpty() ? shown : shown + u'?' + parameters.join(u'&');
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
